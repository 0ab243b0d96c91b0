#include "comm/link_target.h"

#include "comm/controller_link.h"
#include "model/screen.h"
#include "platform/serial_devices.h"

#include <QRegularExpression>

LinkTargetProblem PointLinkAtUdp(CScreen& screen, const QString& target)
{
    LinkSettings& link = screen.Link();
    QString host = target;
    int port = link.remotePort;
    const qsizetype colon = target.lastIndexOf(u':');
    if (colon >= 0) {
        bool ok = false;
        host = target.left(colon);
        port = target.mid(colon + 1).toInt(&ok);
        if (!ok || port < 1 || port > 65535)
            return LinkTargetProblem::Port;
    }
    if (host.isEmpty() || host.size() > LinkSettings::kRemoteIpCapacity - 1)
        return LinkTargetProblem::Host;
    LinkOf(screen).SelectLink(1);
    link.remoteIp = host;
    link.remotePort = static_cast<std::uint16_t>(port);
    return LinkTargetProblem::None;
}

LinkTargetProblem PointLinkAtSerial(CScreen& screen, const QString& device)
{
    static const QRegularExpression kCom(QStringLiteral("^(?:COM)?(\\d+)$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto match = kCom.match(device);
    const int number =
        match.hasMatch() ? match.captured(1).toInt() : BindSerialDeviceAnywhere(device);
    if (number < 1)
        return LinkTargetProblem::Device;
    LinkOf(screen).SelectLink(0);
    screen.Link().comPort = number;
    return LinkTargetProblem::None;
}
