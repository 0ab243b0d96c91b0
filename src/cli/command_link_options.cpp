#include "cli/command_link_options.h"

#include "base/string_table.h"
#include "comm/controller_link.h"
#include "model/screen.h"
#include "platform/serial_devices.h"

#include <QRegularExpression>

QStringList LinkValueOptions()
{
    return {QStringLiteral("udp"),     QStringLiteral("serial"),   QStringLiteral("baud"),
            QStringLiteral("timeout"), QStringLiteral("panel-id"), QStringLiteral("screen")};
}

bool ApplyLinkOptions(const CliArguments& arguments, CScreen& screen, QString& error)
{
    LinkSettings& link = screen.Link();
    if (arguments.Has(QStringLiteral("udp")) && arguments.Has(QStringLiteral("serial"))) {
        error = QStringLiteral("--udp and --serial exclude each other");
        return false;
    }
    if (arguments.Has(QStringLiteral("udp"))) {
        const QString value = arguments.Value(QStringLiteral("udp"));
        QString host = value;
        int port = link.remotePort;
        const qsizetype colon = value.lastIndexOf(u':');
        if (colon >= 0) {
            bool ok = false;
            host = value.left(colon);
            port = value.mid(colon + 1).toInt(&ok);
            if (!ok || port < 1 || port > 65535) {
                error = QStringLiteral("--udp takes HOST[:PORT] with a port from 1 to 65535");
                return false;
            }
        }
        if (host.isEmpty() || host.size() > LinkSettings::kRemoteIpCapacity - 1) {
            error = QStringLiteral("--udp takes HOST[:PORT]");
            return false;
        }
        LinkOf(screen).SelectLink(1);
        link.remoteIp = host;
        link.remotePort = static_cast<std::uint16_t>(port);
    }
    if (arguments.Has(QStringLiteral("serial"))) {
        const QString device = arguments.Value(QStringLiteral("serial"));
        static const QRegularExpression kCom(QStringLiteral("^(?:COM)?(\\d+)$"),
                                             QRegularExpression::CaseInsensitiveOption);
        const auto match = kCom.match(device);
        int number =
            match.hasMatch() ? match.captured(1).toInt() : BindSerialDeviceAnywhere(device);
        if (number < 1) {
            error = QStringLiteral("--serial takes a device path or COMn");
            return false;
        }
        LinkOf(screen).SelectLink(0);
        link.comPort = number;
    }
    if (arguments.Has(QStringLiteral("baud"))) {
        const QString baud = arguments.Value(QStringLiteral("baud"));
        if (baud != QStringLiteral("9600") && baud != QStringLiteral("57600")) {
            error = QStringLiteral("--baud takes 9600 or 57600");
            return false;
        }
        link.baudRate = baud.toInt();
    }
    int timeout = link.timeoutMs;
    if (!arguments.IntValue(QStringLiteral("timeout"), 1, 600000, timeout, error))
        return false;
    link.timeoutMs = timeout;
    if (arguments.Has(QStringLiteral("panel-id"))) {
        int panelId = 1;
        if (!arguments.IntValue(QStringLiteral("panel-id"), 0, 65535, panelId, error))
            return false;
        link.panelId = panelId;
        screen.Params().SetU16(ControllerParams::PanelId, static_cast<std::uint16_t>(panelId));
    }
    return true;
}

int CliCommandFailed(CScreen& screen)
{
    return CliFail(LoadString(43027) + LinkOf(screen).GetErrorText());
}
