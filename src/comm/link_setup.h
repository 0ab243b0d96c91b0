#pragma once

#include "model/link_settings.h"

#include <QString>

#include <optional>

class CScreen;

// The PC side of a screen's link as the Communication Setup form edits it.
struct LinkSetupValues
{
    LinkKind kind = LinkKind::Serial;
    int comPort = 0; // 0: no port chosen, the screen's stays
    int baudRate = 57600;
    QString remoteIp;
    // Only where the panel ID may be edited; a number outside 1..65534 becomes 1.
    std::optional<int> panelId;
    // The form shows these without storing them; the command line stores them (the remote
    // port also as the controller's UDP port of the block, where the project file keeps it).
    std::optional<int> remotePort;
    std::optional<int> timeoutMs;
};

// What the form shows for the screen: the panel ID is the controller's (block bytes 4-5).
LinkSetupValues LoadLinkSetup(const CScreen& screen);
// Selects the link kind (closing the transport in use) and stores the values into the
// screen's link settings, and the panel ID also into the block.
void StoreLinkSetup(CScreen& screen, const LinkSetupValues& values);
// The connection test after a store: reads the parameter block once. The link is closed
// afterwards; its error text says why the test failed.
bool TestLinkSetup(CScreen& screen);
// The question 43035 after a failed test, naming the address and port, or the serial port
// and baud rate.
QString NoDeviceQuestion(const CScreen& screen);
// "COMn" of a port number.
QString ComPortName(int number);
