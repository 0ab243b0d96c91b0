#include "comm/search_panel.h"

#include "base/operation_ui.h"
#include "base/string_table.h"
#include "comm/comm_port.h"
#include "comm/controller_link.h"
#include "model/screen.h"

#include <algorithm>
#include <array>

namespace {

constexpr int kDetecting = 43000;
constexpr int kFoundIn = 43001;
constexpr int kNotDetected = 43002;
constexpr int kVersionTooOld = 41087;
constexpr int kControllerTooOld = 41083;

constexpr std::array<int, 2> kBaudRates = {57600, 9600};
constexpr int kLegacyFrameSize = 52;

// The probe a previous-generation controller answers (not built by the packet codec).
std::array<std::uint8_t, kLegacyFrameSize> LegacyProbeFrame()
{
    std::array<std::uint8_t, kLegacyFrameSize> frame{};
    frame[0] = 0xA0;
    frame[1] = 0x34;
    frame[3] = 0x01;
    frame[5] = 0x05;
    frame[13] = 0x35;
    frame[48] = 0x0F;
    frame[49] = 0x01;
    frame[51] = 0x50;
    return frame;
}

bool IsLegacyReply(const CCommPort& port)
{
    if (port.GetReplyCount() != kLegacyFrameSize)
        return false;
    const std::uint8_t* reply = port.GetReplyBytes();
    const std::uint8_t kind = reply[16];
    const std::uint8_t generation = reply[20];
    if (kind == 0x34 && generation == 14)
        return true;
    return generation == 15 &&
           (kind == 0x23 || kind == 0x33 || kind == 0x43 || kind == 0x52 || kind == 0x92);
}

// Restores the screen's time-out however the search ends.
class TimeoutGuard
{
public:
    explicit TimeoutGuard(LinkSettings& link) : m_link(link), m_saved(link.timeoutMs)
    {
        link.timeoutMs = SearchTimeout(m_saved);
    }
    ~TimeoutGuard() { Restore(); }
    void Restore() { m_link.timeoutMs = m_saved; }

private:
    LinkSettings& m_link;
    int m_saved;
};

QString FoundText(CControllerLink& link, const LinkSettings& settings)
{
    const CModelInfo model = link.ModelInfo();
    const bool network = settings.linkKind == 1;
    const QString where =
        network ? settings.remoteIp : QStringLiteral("COM%1").arg(settings.comPort);
    const int number = network ? settings.remotePort : settings.baudRate;
    return QString::asprintf(LoadString(kFoundIn).toUtf8().constData(), where.toUtf8().constData(),
                             number, model.GetName().toUtf8().constData(),
                             model.GetVersionText().toUtf8().constData());
}

} // namespace

int SearchProbePosition(int portCount, int baudIndex, int portIndex)
{
    return 20 + 20 * portCount * baudIndex + 20 * portIndex;
}

int SearchRange(int portCount)
{
    return 40 * portCount + 20;
}

int SearchTimeout(int timeoutMs)
{
    return std::clamp(timeoutMs / 4, 500, 1000);
}

SearchOutcome SearchPanel(CScreen& screen, IOperationUi& ui, const SearchSettings& settings)
{
    SearchOutcome outcome;
    CControllerLink& link = LinkOf(screen);
    LinkSettings& linkSettings = screen.Link();
    ui.SetRange(600);

    const std::vector<int> ports = settings.PortsToProbe();
    const int portCount = static_cast<int>(ports.size());
    const int resultPosition = SearchRange(portCount);
    ui.SetRange(resultPosition);

    TimeoutGuard timeout(linkSettings);

    // The settings the screen has now.
    if (link.ReadParams(false)) {
        timeout.Restore();
        link.CloseLink();
        outcome.found = true;
        outcome.text = FoundText(link, linkSettings);
        ui.Update(resultPosition, outcome.text);
        outcome.linkStatus = link.GetLinkStatusText();
        return outcome;
    }

    const int savedKind = linkSettings.linkKind;
    const int savedPort = linkSettings.comPort;
    const int savedBaud = linkSettings.baudRate;
    link.SelectLink(0);

    bool found = false;
    bool cancelled = false;
    for (int baudIndex = 0; baudIndex < int(kBaudRates.size()) && !found && !cancelled;
         ++baudIndex) {
        for (int portIndex = 0; portIndex < portCount; ++portIndex) {
            if (ui.Update(SearchProbePosition(portCount, baudIndex, portIndex),
                          LoadString(kDetecting))) {
                cancelled = true;
                break;
            }
            linkSettings.comPort = ports[size_t(portIndex)];
            linkSettings.baudRate = kBaudRates[size_t(baudIndex)];
            if (link.ReadParams(false)) {
                found = true;
                break;
            }
            PumpedWait(20);
        }
        if (!found && !cancelled)
            PumpedWait(100);
    }

    if (!found && !cancelled) {
        // The network: the factory address first, then the broadcast address, whose
        // replying controller teaches the link its own address.
        linkSettings.comPort = savedPort;
        linkSettings.baudRate = savedBaud;
        link.SelectLink(1);
        PumpedWait(200);
        linkSettings.remoteIp = settings.factoryAddress;
        found = link.ReadParams(false);
        if (!found) {
            PumpedWait(200);
            linkSettings.remoteIp = settings.broadcastAddress;
            found = link.ReadParams(false);
        }
    }

    if (found && screen.Identity()[2] != 0) {
        ui.Warn(LoadString(kVersionTooOld));
        found = false;
    }

    if (!found && !cancelled && !ports.empty()) {
        link.SelectLink(0);
        linkSettings.comPort = ports.front();
        linkSettings.baudRate = 57600;
        if (link.OpenLink()) {
            const auto frame = LegacyProbeFrame();
            link.Exchange(frame.data(), kLegacyFrameSize, kLegacyFrameSize);
            if (IsLegacyReply(link.Port()))
                ui.Warn(LoadString(kControllerTooOld));
        }
    }

    link.CloseLink();
    timeout.Restore();
    if (found) {
        outcome.found = true;
        outcome.text = FoundText(link, linkSettings);
        ui.Update(resultPosition, outcome.text);
    } else {
        linkSettings.comPort = savedPort;
        linkSettings.baudRate = savedBaud;
        link.SelectLink(savedKind);
        if (!cancelled) {
            outcome.text = LoadString(kNotDetected);
            ui.Update(resultPosition, outcome.text);
        }
    }
    outcome.linkStatus = link.GetLinkStatusText();
    return outcome;
}
