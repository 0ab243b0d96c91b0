// lumivant-cli read-params: identify the controller and read its parameter block.
#include "cli/cli_project.h"
#include "cli/command_link_options.h"

#include "base/last_error.h"
#include "comm/controller_link.h"
#include "model/project_root.h"
#include "model/screen.h"

namespace {

void PrintParams(const ControllerParams& p)
{
    using P = ControllerParams;
    CliPrint(QStringLiteral("Baudrate: %1").arg(p.U32(P::BaudRate)));
    CliPrint(QStringLiteral("Panel ID: %1").arg(p.U16(P::PanelId)));
    CliPrint(QStringLiteral("Width: %1").arg(p.PanelWidth()));
    CliPrint(QStringLiteral("Height: %1").arg(p.PanelHeight()));
    CliPrint(QStringLiteral("Colour type: %1").arg(p.U8(P::ColourType)));
    CliPrint(QStringLiteral("Data polarity: %1").arg(p.U8(P::DataPolarity)));
    CliPrint(QStringLiteral("OE polarity: %1").arg(p.U8(P::OePolarity)));
    CliPrint(QStringLiteral("Row order: %1").arg(static_cast<std::int8_t>(p.U8(P::RowOrder))));
    CliPrint(QStringLiteral("Pixel order: %1").arg(p.U8(P::PixelOrder)));
    CliPrint(QStringLiteral("Frequency: %1").arg(p.U8(P::Frequency)));
    CliPrint(QStringLiteral("Blanking: %1").arg(p.U8(P::Blanking)));
    CliPrint(QStringLiteral("Scan mode: 0x%1").arg(p.U8(P::ScanMode), 2, 16, QLatin1Char('0')));
    CliPrint(QStringLiteral("Fold mode: 0x%1").arg(p.U8(P::FoldMode), 2, 16, QLatin1Char('0')));
    CliPrint(QStringLiteral("Panel flags: 0x%1").arg(p.U8(P::PanelFlags), 2, 16, QLatin1Char('0')));
    CliPrint(QStringLiteral("IP: %1.%2.%3.%4")
                 .arg(p.U8(P::Ip))
                 .arg(p.U8(P::Ip + 1))
                 .arg(p.U8(P::Ip + 2))
                 .arg(p.U8(P::Ip + 3)));
    CliPrint(QStringLiteral("UDP port: %1").arg(p.UdpPortNumber()));
    QStringList mac;
    for (int i = 0; i < 6; ++i)
        mac.append(QStringLiteral("%1").arg(p.U8(P::Mac + i), 2, 16, QLatin1Char('0')));
    CliPrint(QStringLiteral("MAC: %1").arg(mac.join(u':')));
    CliPrint(QStringLiteral("Power: %1, mode %2").arg(p.U8(P::PowerState)).arg(p.U8(P::PowerMode)));
    CliPrint(QStringLiteral("Brightness: %1, mode %2")
                 .arg(p.U8(P::Brightness))
                 .arg(p.U8(P::BrightnessMode)));
}

QString Hex(std::uint8_t value)
{
    return QStringLiteral("0x%1").arg(value, 2, 16, QLatin1Char('0'));
}

// The identify reply's bytes; the first two name the model as firmware packages do.
void PrintIdentity(const std::array<std::uint8_t, 5>& identity)
{
    QStringList bytes;
    for (std::uint8_t byte : identity)
        bytes << Hex(byte);
    CliPrint(QStringLiteral("Identity: %1 (lumivant-fwpack --model %2 --variant %3)")
                 .arg(bytes.join(u' '), Hex(identity[0]), Hex(identity[1])));
}

} // namespace

int RunReadParams(const QStringList& words)
{
    QString error;
    int usageStatus = CliOk;
    const auto arguments =
        CliArguments::ParseCommand(words, LinkValueOptions(), {QStringLiteral("save")}, 1,
                                   QStringLiteral("read-params takes one FILE"), usageStatus);
    if (!arguments)
        return usageStatus;
    const QString path = arguments->Positional().first();
    std::unique_ptr<CProjectRoot> root;
    int status = CliOk;
    const FileStamp readStamp = FileStamp::Of(path);
    CScreen* screen = LoadScreenForCli(path, *arguments, root, status);
    if (!screen)
        return status;
    const LinkSettings saved = screen->Link();
    if (!ApplyLinkOptions(*arguments, *screen, error))
        return CliUsageError(error);

    CControllerLink& link = LinkOf(*screen);
    if (!link.ReadParams())
        return CliCommandFailed(*screen);
    const CModelInfo model = link.ModelInfo();
    CliPrint(QStringLiteral("Controller: %1 V%2").arg(model.GetName(), model.GetVersionText()));
    PrintIdentity(screen->Identity());
    PrintParams(screen->Params());
    if (arguments->Has(QStringLiteral("save"))) {
        // The link options of this command line stay out of the file.
        link.CloseLink();
        screen->Link() = saved;
        if (!SaveProjectForCli(*root, path, readStamp))
            return CliFailed;
    }
    return CliOk;
}
