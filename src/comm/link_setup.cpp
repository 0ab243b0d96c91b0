#include "comm/link_setup.h"

#include "base/string_table.h"
#include "comm/controller_link.h"
#include "model/screen.h"

namespace {

constexpr int kNoDevice = 43035;

int PanelIdOrDefault(int panelId)
{
    return panelId >= 1 && panelId <= 65534 ? panelId : 1;
}

} // namespace

QString ComPortName(int number)
{
    return QStringLiteral("COM%1").arg(number);
}

LinkSetupValues LoadLinkSetup(const CScreen& screen)
{
    const LinkSettings& link = screen.Link();
    LinkSetupValues values;
    values.kind = link.Kind();
    values.comPort = link.comPort;
    values.baudRate = link.baudRate == 57600 ? 57600 : 9600;
    values.remoteIp = link.remoteIp;
    values.panelId = screen.Params().U16(ControllerParams::PanelId);
    values.remotePort = link.remotePort;
    values.timeoutMs = link.timeoutMs;
    return values;
}

void StoreLinkSetup(CScreen& screen, const LinkSetupValues& values)
{
    LinkOf(screen).SelectLink(values.kind == LinkKind::Network ? 1 : 0);
    LinkSettings& link = screen.Link();
    link.remoteIp = values.remoteIp.left(LinkSettings::kRemoteIpCapacity - 1);
    if (values.comPort > 0)
        link.comPort = values.comPort;
    link.baudRate = values.baudRate == 9600 ? 9600 : 57600;
    if (values.panelId) {
        const int panelId = PanelIdOrDefault(*values.panelId);
        link.panelId = panelId;
        screen.Params().SetU16(ControllerParams::PanelId, static_cast<std::uint16_t>(panelId));
    }
    // The project file keeps the remote port as the controller's UDP port of the block.
    if (values.remotePort && *values.remotePort >= 1 && *values.remotePort <= 65535) {
        link.remotePort = static_cast<std::uint16_t>(*values.remotePort);
        screen.Params().SetUdpPortNumber(link.remotePort);
    }
    if (values.timeoutMs && *values.timeoutMs > 0)
        link.timeoutMs = *values.timeoutMs;
}

bool TestLinkSetup(CScreen& screen)
{
    CControllerLink& link = LinkOf(screen);
    const bool ok = link.ReadParams();
    link.CloseLink();
    return ok;
}

QString NoDeviceQuestion(const CScreen& screen)
{
    const LinkSettings& link = screen.Link();
    const bool network = link.Kind() == LinkKind::Network;
    const QString where = network ? link.remoteIp : ComPortName(link.comPort);
    const int number = network ? int(link.remotePort) : link.baudRate;
    return QString::asprintf(LoadString(kNoDevice).toUtf8().constData(), where.toUtf8().constData(),
                             number);
}
