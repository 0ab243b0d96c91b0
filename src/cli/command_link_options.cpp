#include "cli/command_link_options.h"

#include "base/string_table.h"
#include "comm/controller_link.h"
#include "comm/link_target.h"
#include "model/screen.h"

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
        switch (PointLinkAtUdp(screen, arguments.Value(QStringLiteral("udp")))) {
        case LinkTargetProblem::None:
            break;
        case LinkTargetProblem::Port:
            error = QStringLiteral("--udp takes HOST[:PORT] with a port from 1 to 65535");
            return false;
        default:
            error = QStringLiteral("--udp takes HOST[:PORT]");
            return false;
        }
    }
    if (arguments.Has(QStringLiteral("serial")) &&
        PointLinkAtSerial(screen, arguments.Value(QStringLiteral("serial"))) !=
            LinkTargetProblem::None) {
        error = QStringLiteral("--serial takes a device path or COMn");
        return false;
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
