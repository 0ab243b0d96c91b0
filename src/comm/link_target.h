#pragma once

#include <QString>

class CScreen;

// Pointing a screen's link somewhere else for one operation, in memory (what the project
// file keeps is not changed): a controller on the network as "HOST[:PORT]", or a serial
// device given by its path or as COMn.
enum class LinkTargetProblem {
    None,
    Host,   // no host, or a longer one than the settings hold
    Port,   // a port that is not a number from 1 to 65535
    Device, // neither a device path nor COMn
};

[[nodiscard]] LinkTargetProblem PointLinkAtUdp(CScreen& screen, const QString& target);
[[nodiscard]] LinkTargetProblem PointLinkAtSerial(CScreen& screen, const QString& device);
