#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

class CScreen;
class IOperationUi;
class ControllerParams;

// The controller's own communication settings (baud rate, panel ID, IP and MAC address),
// changed in its parameter block and written with command 32 to the panel ID the link
// uses now. Every text is parsed before anything is sent: a parse failure sends nothing
// and changes nothing.

// The panel ID the controller takes: 1..255, anything else becomes 1.
int ControllerIdOrDefault(int panelId);
// "A.B.C.D": four decimal numbers from 0 to 255.
bool ParseControllerIp(const QString& text, std::array<std::uint8_t, 4>& ip);
// "XX-XX-XX-XX-XX-XX": six hexadecimal numbers, each at most FF.
bool ParseControllerMac(const QString& text, std::array<std::uint8_t, 6>& mac);
// The block's MAC address as "%.2X-%.2X-%.2X-%.2X-%.2X-%.2X".
QString ControllerMacText(const ControllerParams& params);
// The block's IP address as "A.B.C.D".
QString ControllerIpText(const ControllerParams& params);
// The warning for a MAC address that does not parse.
QString MacErrorText();

// What to change; a field left empty keeps the controller's value.
struct SerialControllerSetup
{
    std::optional<int> baudRate; // anything but 9600 is 57600
    std::optional<int> panelId;
};

struct NetworkControllerSetup
{
    std::optional<int> panelId;
    std::optional<bool> assignIpToPc;
    std::optional<QString> ipText;
    std::optional<QString> macText;
    bool macChanged = false; // the MAC field was unlocked and edited
};

enum class ControllerSetupResult { Succeeded, Failed, BadIp, BadMac };

// What the forms show for the screen.
SerialControllerSetup LoadSerialControllerSetup(const CScreen& screen);
NetworkControllerSetup LoadNetworkControllerSetup(const CScreen& screen);

// Reads the block, sets the baud rate and panel ID and writes it; on success the link
// follows the controller (its baud rate and panel ID). Reports the result. When the read
// or the write fails the block keeps what the controller holds.
bool RunSerialControllerSetup(CScreen& screen, const SerialControllerSetup& setup,
                              IOperationUi& ui);
// The same for the network settings. BadIp: nothing happened and nothing is shown (the form
// stays open); BadMac: nothing was sent and MacErrorText() was shown. On success the link's
// panel ID and (when an address was given) remote address follow the controller, and a changed MAC
// address makes the machine forget its neighbours' link-layer addresses.
ControllerSetupResult
RunNetworkControllerSetup(CScreen& screen, const NetworkControllerSetup& setup, IOperationUi& ui);
