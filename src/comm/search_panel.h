#pragma once

#include "comm/search_settings.h"

#include <QString>

class CScreen;
class IOperationUi;

// What a controller search ended with.
struct SearchOutcome
{
    bool found = false;
    // "Found in: ..." or "No Panel be detected." (or empty when cancelled).
    QString text;
    // The link status text after the search ("Connected..." or "Disconnected").
    QString linkStatus;
};

// The bar position of the probe of port portIndex at baud rate baudIndex (0: 57600,
// 1: 9600) among portCount ports, and the bar range and result position.
int SearchProbePosition(int portCount, int baudIndex, int portIndex);
int SearchRange(int portCount);
// The screen's time-out during a search: a quarter of it, kept within 500..1000 ms.
int SearchTimeout(int timeoutMs);

// Looks for the screen's controller: the current settings, every serial port at 57600 and
// 9600 baud, the factory address, the broadcast address; rejects a controller whose
// firmware is of another generation, probes for a previous-generation controller, and
// reports through the interface. A found controller leaves its link settings and
// parameter block in the screen; otherwise the link kind, port and baud rate are put back.
// The screen's time-out is always restored. A cancel from the interface ends the search
// as not found.
SearchOutcome SearchPanel(CScreen& screen, IOperationUi& ui, const SearchSettings& settings);
