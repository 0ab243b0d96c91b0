// lumivant-cli panel-setup, controller-setup and link-setup: configuring a screen's
// controller card and the way the PC reaches it.
#include "cli/cli_operation_ui.h"
#include "cli/cli_project.h"
#include "cli/command_link_options.h"

#include "base/last_error.h"
#include "base/string_table.h"
#include "comm/controller_link.h"
#include "comm/controller_setup.h"
#include "comm/link_setup.h"
#include "config/model_info.h"
#include "config/scan_mode_table.h"
#include "config/setup_failure.h"
#include "model/project_root.h"
#include "model/screen.h"

#include <QRegularExpression>

namespace {

using P = ControllerParams;

// The project, the screen with the link options applied, and the link settings as the file
// holds them.
struct ConfigContext
{
    std::optional<CliArguments> arguments;
    std::unique_ptr<CProjectRoot> root;
    CScreen* screen = nullptr;
    QString path;
    FileStamp readStamp;
    LinkSettings savedLink;
};

int Prepare(const QStringList& words, const QString& usage, QStringList values, QStringList flags,
            ConfigContext& context, bool applyLinkOptions = true)
{
    int status = CliOk;
    context.arguments =
        CliArguments::ParseCommand(words, values + LinkValueOptions(), flags, 1, usage, status);
    if (!context.arguments)
        return status;
    context.path = context.arguments->Positional().first();
    context.readStamp = FileStamp::Of(context.path);
    context.root = LoadProjectForCli(context.path);
    if (!context.root)
        return CliFailed;
    context.screen = ScreenForCli(*context.root, *context.arguments, status);
    if (!context.screen)
        return status;
    context.savedLink = context.screen->Link();
    QString error;
    if (applyLinkOptions && !ApplyLinkOptions(*context.arguments, *context.screen, error))
        return CliUsageError(error);
    return CliOk;
}

// Saves the project with the link settings of the file (the link options of this command
// line stay out of it).
int SaveWithFileLink(ConfigContext& context, const LinkSettings& link)
{
    LinkOf(*context.screen).CloseLink();
    context.screen->Link() = link;
    return SaveProjectForCli(*context.root, context.path, context.readStamp) ? CliOk : CliFailed;
}

// --- panel-setup -------------------------------------------------------------------------

// The changes panel-setup makes to the block, parsed and checked before anything is sent.
struct PanelChanges
{
    QString modelName;
    std::optional<int> width, height, colourType, dataPolarity, oePolarity, clockFreq, blanking,
        rowOrder, pixelOrder, scanRow;
    bool flagsGiven = false;
    std::uint8_t flags = 0;
};

const QStringList kPanelValues = {
    QStringLiteral("model"),     QStringLiteral("width"),         QStringLiteral("height"),
    QStringLiteral("colors"),    QStringLiteral("data-polarity"), QStringLiteral("oe-polarity"),
    QStringLiteral("freq"),      QStringLiteral("blanking"),      QStringLiteral("scan"),
    QStringLiteral("row-order"), QStringLiteral("pixels")};
const QStringList kPanelFlags = {QStringLiteral("no-138"), QStringLiteral("mirror-8bit"),
                                 QStringLiteral("mirror-updown"), QStringLiteral("save")};

bool IntOption(const CliArguments& arguments, const QString& name, int low, int high,
               std::optional<int>& target, QString& error)
{
    if (!arguments.Has(name))
        return true;
    int value = 0;
    if (!arguments.IntValue(name, low, high, value, error))
        return false;
    target = value;
    return true;
}

// An option whose value is one of the words; the word's index.
bool ChoiceOption(const CliArguments& arguments, const QString& name, const QStringList& words,
                  std::optional<int>& target, QString& error)
{
    if (!arguments.Has(name))
        return true;
    const qsizetype index = words.indexOf(arguments.Value(name).toLower());
    if (index < 0) {
        error = QStringLiteral("--%1 takes %2").arg(name, words.join(u'|'));
        return false;
    }
    target = int(index);
    return true;
}

// A row number or a code of the scan-mode table.
bool ScanOption(const CliArguments& arguments, std::optional<int>& row, QString& error)
{
    if (!arguments.Has(QStringLiteral("scan")))
        return true;
    const QString value = arguments.Value(QStringLiteral("scan"));
    bool isNumber = false;
    const int number = value.toInt(&isNumber);
    const int found = isNumber ? number : ScanModeTable::FindCode(value);
    if (found < 0 || found >= ScanModeTable::kRowCount || ScanModeTable::IsSeparator(found)) {
        error = QStringLiteral("--scan takes a row from 0 to 37 (not the separator) or a code of "
                               "the table (lumivant-cli panel-setup --list-scans)");
        return false;
    }
    row = found;
    return true;
}

bool ParsePanelChanges(const CliArguments& arguments, PanelChanges& changes, QString& error)
{
    if (arguments.Has(QStringLiteral("model"))) {
        changes.modelName = arguments.Value(QStringLiteral("model")).toUpper();
        CModelInfo probe;
        if (!probe.AssignFromName(changes.modelName)) {
            error = QStringLiteral("--model: '%1' is no controller model (%2)")
                        .arg(arguments.Value(QStringLiteral("model")),
                             CModelInfo::ListedModelNames().join(u' '));
            return false;
        }
    }
    const QStringList polarity = {QStringLiteral("-"), QStringLiteral("+")};
    if (!IntOption(arguments, QStringLiteral("width"), 32, 8192, changes.width, error) ||
        !IntOption(arguments, QStringLiteral("height"), 8, 512, changes.height, error) ||
        !ChoiceOption(arguments, QStringLiteral("colors"),
                      {QStringLiteral("r"), QStringLiteral("rg"), QStringLiteral("rgb")},
                      changes.colourType, error) ||
        !ChoiceOption(arguments, QStringLiteral("data-polarity"), polarity, changes.dataPolarity,
                      error) ||
        !ChoiceOption(arguments, QStringLiteral("oe-polarity"), polarity, changes.oePolarity,
                      error) ||
        !IntOption(arguments, QStringLiteral("freq"), 0, 6, changes.clockFreq, error) ||
        !IntOption(arguments, QStringLiteral("blanking"), 5, 63, changes.blanking, error) ||
        !IntOption(arguments, QStringLiteral("row-order"), -2, 2, changes.rowOrder, error) ||
        !ChoiceOption(arguments, QStringLiteral("pixels"),
                      {QStringLiteral("normal"), QStringLiteral("rg"), QStringLiteral("gb")},
                      changes.pixelOrder, error) ||
        !ScanOption(arguments, changes.scanRow, error))
        return false;
    if (changes.colourType)
        *changes.colourType += 1;
    const bool no138 = arguments.Has(QStringLiteral("no-138"));
    changes.flagsGiven = no138 || arguments.Has(QStringLiteral("mirror-8bit")) ||
                         arguments.Has(QStringLiteral("mirror-updown"));
    changes.flags = (no138 ? 1 : 0) | (arguments.Has(QStringLiteral("mirror-8bit")) ? 2 : 0) |
                    (arguments.Has(QStringLiteral("mirror-updown")) ? 4 : 0);
    if (no138 && changes.scanRow &&
        !ScanModeTable::Code(*changes.scanRow).endsWith(QStringLiteral("-A"))) {
        error = QStringLiteral("--no-138 contradicts the scan code %1")
                    .arg(ScanModeTable::Code(*changes.scanRow));
        return false;
    }
    return true;
}

void SetIf(ControllerParams& params, int offset, const std::optional<int>& value)
{
    if (value)
        params.SetU8(offset, static_cast<std::uint8_t>(*value));
}

// Applies the changes to the block and the model: the Panel Setup rules for its fields
// (sizes cut to whole modules, the scan code of a table row), the Advanced Setup rules for
// row order, pixel order and the decoder and mirror flags (rebuilt together).
void ApplyPanelChanges(CScreen& screen, const PanelChanges& changes)
{
    ControllerParams& params = screen.Params();
    SetIf(params, P::ColourType, changes.colourType);
    SetIf(params, P::DataPolarity, changes.dataPolarity);
    SetIf(params, P::OePolarity, changes.oePolarity);
    SetIf(params, P::Frequency, changes.clockFreq);
    SetIf(params, P::Blanking, changes.blanking);
    SetIf(params, P::RowOrder, changes.rowOrder);
    SetIf(params, P::PixelOrder, changes.pixelOrder);
    const int width = changes.width.value_or(params.PanelWidth());
    const int height = changes.height.value_or(params.PanelHeight());
    params.SetU16(P::Width, static_cast<std::uint16_t>(RoundPanelWidth(width)));
    params.SetU16(P::Height, static_cast<std::uint16_t>(RoundPanelHeight(height)));
    if (changes.flagsGiven)
        params.SetU8(P::PanelFlags, changes.flags);
    if (changes.scanRow) {
        ScanBytes scan{params.U8(P::ScanMode), params.U8(P::FoldMode), params.U8(P::PanelFlags)};
        ScanModeTable::ApplyRow(*changes.scanRow, scan);
        params.SetU8(P::ScanMode, scan.scanMode);
        params.SetU8(P::FoldMode, scan.foldMode);
        params.SetU8(P::PanelFlags, scan.panelFlags);
    }
    CModelInfo model;
    model.AssignFromIdentity(screen.Identity());
    if (!changes.modelName.isEmpty() && model.AssignFromName(changes.modelName))
        screen.SetIdentity(model.Identity());
}

int ListScans()
{
    for (int row = 0; row < ScanModeTable::kRowCount; ++row) {
        CliPrint(QStringLiteral("%1  %2  %3")
                     .arg(row, 2)
                     .arg(ScanModeTable::Code(row), -10)
                     .arg(ScanModeTable::Label(row)));
    }
    return CliOk;
}

// --- controller-setup --------------------------------------------------------------------

// --baud names the controller's new baud rate here, not the link's.
QStringList TakeControllerBaud(const QStringList& words, std::optional<QString>& baud)
{
    QStringList rest;
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (words[i] == QStringLiteral("--baud") && i + 1 < words.size()) {
            baud = words[++i];
        } else if (words[i].startsWith(QStringLiteral("--baud="))) {
            baud = words[i].mid(7);
        } else {
            rest.append(words[i]);
        }
    }
    return rest;
}

} // namespace

int RunPanelSetup(const QStringList& words)
{
    if (words.contains(QStringLiteral("--list-scans"))) {
        if (words.size() != 1)
            return CliUsageError(QStringLiteral("--list-scans takes nothing else"));
        return ListScans();
    }
    ConfigContext context;
    if (const int status = Prepare(words, QStringLiteral("panel-setup takes one FILE"),
                                   kPanelValues, kPanelFlags, context);
        status != CliOk)
        return status;
    PanelChanges changes;
    QString error;
    if (!ParsePanelChanges(*context.arguments, changes, error))
        return CliUsageError(error);

    CScreen& screen = *context.screen;
    CControllerLink& link = LinkOf(screen);
    // A block that could not be read may hold stale addresses: it is kept, never sent.
    const bool answered = link.ReadParams();
    ApplyPanelChanges(screen, changes);
    const bool ok = answered && link.WriteParams();
    CModelInfo model;
    model.AssignFromIdentity(screen.Identity());
    const QString failure =
        SetupFailureText(model, SetupForm::PanelSetup, link.IsLinkConnected(), link.GetErrorText());
    link.CloseLink();
    if (context.arguments->Has(QStringLiteral("save"))) {
        if (const int status = SaveWithFileLink(context, context.savedLink); status != CliOk)
            return status;
    }
    if (!ok)
        return CliFail(failure);
    CliPrint(LoadString(43028));
    return CliOk;
}

int RunControllerSetup(const QStringList& words)
{
    std::optional<QString> baudText;
    const QStringList rest = TakeControllerBaud(words, baudText);
    ConfigContext context;
    const QStringList values = {QStringLiteral("id"), QStringLiteral("ip"), QStringLiteral("mac"),
                                QStringLiteral("assign-ip-to-pc")};
    if (const int status = Prepare(rest, QStringLiteral("controller-setup takes one FILE"), values,
                                   {QStringLiteral("save")}, context);
        status != CliOk)
        return status;
    const CliArguments& arguments = *context.arguments;
    CScreen& screen = *context.screen;
    const bool network = screen.Link().Kind() == LinkKind::Network;

    std::optional<int> panelId;
    if (arguments.Has(QStringLiteral("id"))) {
        bool isNumber = false;
        panelId = arguments.Value(QStringLiteral("id")).toInt(&isNumber);
        if (!isNumber)
            return CliUsageError(QStringLiteral("--id takes a panel ID from 1 to 255"));
    }
    CCliOperationUi ui(CCliOperationUi::Answers::AlwaysNo);
    bool ok = false;
    if (!network) {
        for (const char* name : {"ip", "mac", "assign-ip-to-pc"}) {
            if (arguments.Has(QLatin1String(name)))
                return CliUsageError(
                    QStringLiteral("--%1 needs a network link").arg(QLatin1String(name)));
        }
        SerialControllerSetup setup;
        setup.panelId = panelId;
        if (baudText) {
            if (*baudText != QStringLiteral("9600") && *baudText != QStringLiteral("57600"))
                return CliUsageError(QStringLiteral("--baud takes 9600 or 57600"));
            setup.baudRate = baudText->toInt();
        }
        ok = RunSerialControllerSetup(screen, setup, ui);
    } else {
        if (baudText)
            return CliUsageError(QStringLiteral("--baud needs a serial link"));
        NetworkControllerSetup setup;
        setup.panelId = panelId;
        if (arguments.Has(QStringLiteral("assign-ip-to-pc"))) {
            const QString answer = arguments.Value(QStringLiteral("assign-ip-to-pc")).toLower();
            if (answer != QStringLiteral("yes") && answer != QStringLiteral("no"))
                return CliUsageError(QStringLiteral("--assign-ip-to-pc takes yes or no"));
            setup.assignIpToPc = answer == QStringLiteral("yes");
        }
        if (arguments.Has(QStringLiteral("ip")))
            setup.ipText = arguments.Value(QStringLiteral("ip"));
        if (arguments.Has(QStringLiteral("mac"))) {
            setup.macText = arguments.Value(QStringLiteral("mac"));
            setup.macChanged = true;
        }
        switch (RunNetworkControllerSetup(screen, setup, ui)) {
        case ControllerSetupResult::BadIp:
            return CliUsageError(QStringLiteral("--ip takes A.B.C.D, four numbers from 0 to 255"));
        case ControllerSetupResult::BadMac:
            return CliUsage;
        case ControllerSetupResult::Succeeded:
            ok = true;
            break;
        case ControllerSetupResult::Failed:
            break;
        }
    }
    if (arguments.Has(QStringLiteral("save"))) {
        // The file's link follows what the controller took.
        LinkSettings link = context.savedLink;
        link.panelId = screen.Link().panelId;
        if (network)
            link.remoteIp = screen.Link().remoteIp;
        else
            link.baudRate = screen.Link().baudRate;
        if (const int status = SaveWithFileLink(context, link); status != CliOk)
            return status;
    }
    return ok ? CliOk : CliFailed;
}

int RunLinkSetup(const QStringList& words)
{
    ConfigContext context;
    if (const int status =
            Prepare(words, QStringLiteral("link-setup takes one FILE"), {}, {}, context, false);
        status != CliOk)
        return status;
    const CliArguments& arguments = *context.arguments;
    CScreen& screen = *context.screen;
    const bool serial = arguments.Has(QStringLiteral("serial"));
    const bool udp = arguments.Has(QStringLiteral("udp"));
    if (serial == udp)
        return CliUsageError(QStringLiteral("link-setup takes --serial COMn or --udp IP[:PORT]"));

    LinkSetupValues values = LoadLinkSetup(screen);
    values.panelId.reset();
    QString error;
    if (serial) {
        static const QRegularExpression kCom(QStringLiteral("^COM(\\d+)$"),
                                             QRegularExpression::CaseInsensitiveOption);
        const auto match = kCom.match(arguments.Value(QStringLiteral("serial")));
        const int number = match.hasMatch() ? match.captured(1).toInt() : 0;
        if (number < 1 || number > 255)
            return CliUsageError(QStringLiteral("--serial takes COMn (n from 1 to 255)"));
        values.kind = LinkKind::Serial;
        values.comPort = number;
        if (arguments.Has(QStringLiteral("baud"))) {
            const QString baud = arguments.Value(QStringLiteral("baud"));
            if (baud != QStringLiteral("9600") && baud != QStringLiteral("57600"))
                return CliUsageError(QStringLiteral("--baud takes 9600 or 57600"));
            values.baudRate = baud.toInt();
        }
    } else {
        if (arguments.Has(QStringLiteral("baud")))
            return CliUsageError(QStringLiteral("--baud goes with --serial"));
        const QString value = arguments.Value(QStringLiteral("udp"));
        const qsizetype colon = value.lastIndexOf(u':');
        const QString host = colon >= 0 ? value.left(colon) : value;
        std::array<std::uint8_t, 4> ip{};
        if (!ParseControllerIp(host, ip))
            return CliUsageError(QStringLiteral("--udp takes IP[:PORT] with an IP of A.B.C.D"));
        if (colon >= 0) {
            bool isNumber = false;
            const int port = value.mid(colon + 1).toInt(&isNumber);
            if (!isNumber || port < 1 || port > 65535)
                return CliUsageError(QStringLiteral("--udp takes a port from 1 to 65535"));
            values.remotePort = port;
        }
        values.kind = LinkKind::Network;
        values.remoteIp = host.trimmed();
    }
    if (arguments.Has(QStringLiteral("panel-id"))) {
        bool isNumber = false;
        values.panelId = arguments.Value(QStringLiteral("panel-id")).toInt(&isNumber);
        if (!isNumber)
            return CliUsageError(QStringLiteral("--panel-id takes a number from 1 to 65534"));
    }
    std::optional<int> timeout;
    if (!IntOption(arguments, QStringLiteral("timeout"), 1, 600000, timeout, error))
        return CliUsageError(error);
    values.timeoutMs = timeout;

    StoreLinkSetup(screen, values);
    if (!SaveProjectForCli(*context.root, context.path, context.readStamp))
        return CliFailed;
    if (!TestLinkSetup(screen)) {
        // The question of the form, without asking: the settings are kept.
        QString text = NoDeviceQuestion(screen);
        const qsizetype cut = std::max(text.lastIndexOf(u','), text.lastIndexOf(u'，'));
        if (cut > 0)
            text = text.left(cut) + u'.';
        return CliFail(text + QStringLiteral(" (%1)").arg(LinkOf(screen).GetErrorText()));
    }
    CliPrint(LoadString(43028));
    return CliOk;
}
