// lumivant-cli search, sync-time, reset, clear, brightness, power and firmware: the
// controller maintenance commands on one screen of a project.
#include "cli/cli_operation_ui.h"
#include "cli/cli_project.h"
#include "cli/command_link_options.h"

#include "base/app_paths.h"
#include "base/app_settings.h"
#include "base/last_error.h"
#include "base/string_table.h"
#include "comm/controller_link.h"
#include "comm/firmware_update_link.h"
#include "comm/maintenance_ops.h"
#include "comm/schedule_text.h"
#include "comm/search_panel.h"
#include "model/project_root.h"
#include "model/screen.h"

#include <algorithm>
#include <functional>

namespace {

// The project, its screen with the link options applied, and the parsed arguments of one
// maintenance command.
struct MaintenanceContext
{
    std::optional<CliArguments> arguments;
    std::unique_ptr<CProjectRoot> root;
    CScreen* screen = nullptr;
    QString path;
    FileStamp readStamp;
    LinkSettings savedLink;
};

// Parses the words; positional is how many words follow FILE. Returns a status other than
// CliOk when the command cannot start.
int Prepare(const QStringList& words, const char* name, int positional, QStringList values,
            QStringList flags, MaintenanceContext& context)
{
    QString error;
    values += LinkValueOptions();
    context.arguments = CliArguments::Parse(words, values, flags, error);
    if (!context.arguments)
        return CliUsageError(error);
    if (context.arguments->Positional().size() != 1 + positional)
        return CliUsageError(QStringLiteral("%1 takes FILE%2")
                                 .arg(QLatin1String(name),
                                      positional ? QStringLiteral(" and one value") : QString()));
    context.path = context.arguments->Positional().first();
    context.readStamp = FileStamp::Of(context.path);
    context.root = LoadProjectForCli(context.path);
    if (!context.root)
        return CliFailed;
    int status = CliOk;
    context.screen = ScreenForCli(*context.root, *context.arguments, status);
    if (!context.screen)
        return status;
    context.savedLink = context.screen->Link();
    if (!ApplyLinkOptions(*context.arguments, *context.screen, error))
        return CliUsageError(error);
    return CliOk;
}

int StatusOf(CCliOperationUi& ui, bool ok)
{
    ui.Finish();
    if (CCliOperationUi::Interrupted())
        return ui.Canceled();
    return ok ? CliOk : CliFailed;
}

// Runs a command that only needs the screen and the interface.
int RunSimple(const QStringList& words, const char* name,
              const std::function<bool(CScreen&, IOperationUi&)>& operation)
{
    MaintenanceContext context;
    if (const int status = Prepare(words, name, 0, {}, {}, context); status != CliOk)
        return status;
    CCliOperationUi ui(CCliOperationUi::Answers::AlwaysNo);
    return StatusOf(ui, operation(*context.screen, ui));
}

} // namespace

int RunSearch(const QStringList& words)
{
    MaintenanceContext context;
    if (const int status = Prepare(words, "search", 0, {}, {QStringLiteral("save")}, context);
        status != CliOk)
        return status;
    const SearchSettings settings = SearchSettings::Load(SettingsFilePath());
    CCliOperationUi ui(CCliOperationUi::Answers::AlwaysNo);
    const SearchOutcome outcome = SearchPanel(*context.screen, ui, settings);
    ui.Finish();
    if (CCliOperationUi::Interrupted())
        return ui.Canceled();
    if (!outcome.text.isEmpty())
        CliPrint(outcome.text);
    if (!outcome.found)
        return CliFailed;
    if (context.arguments->Has(QStringLiteral("save")) &&
        !SaveProjectForCli(*context.root, context.path, context.readStamp))
        return CliFailed;
    return CliOk;
}

int RunSyncTime(const QStringList& words)
{
    return RunSimple(words, "sync-time", SyncPanelTime);
}

int RunClear(const QStringList& words)
{
    return RunSimple(words, "clear", ClearPanel);
}

int RunReset(const QStringList& words)
{
    MaintenanceContext context;
    if (const int status =
            Prepare(words, "reset", 0, {}, {QStringLiteral("yes"), QStringLiteral("no")}, context);
        status != CliOk)
        return status;
    const bool yes = context.arguments->Has(QStringLiteral("yes"));
    const bool no = context.arguments->Has(QStringLiteral("no"));
    if (yes && no)
        return CliUsageError(QStringLiteral("--yes and --no exclude each other"));
    CCliOperationUi ui(yes  ? CCliOperationUi::Answers::AlwaysYes
                       : no ? CCliOperationUi::Answers::AlwaysNo
                            : CCliOperationUi::Answers::Ask);
    // Declining the question sends nothing; the command did not run.
    return StatusOf(ui, ResetPanelParams(*context.screen, ui));
}

int RunBrightness(const QStringList& words)
{
    const bool schedule = words.contains(QStringLiteral("--schedule"));
    MaintenanceContext context;
    if (const int status = Prepare(words, "brightness", schedule ? 0 : 1,
                                   {QStringLiteral("schedule")}, {}, context);
        status != CliOk)
        return status;
    CCliOperationUi ui(CCliOperationUi::Answers::AlwaysNo);
    if (schedule) {
        std::vector<ScheduleEntry> entries;
        QString error;
        if (!ParseScheduleText(context.arguments->Value(QStringLiteral("schedule")),
                               ScheduleKind::Brightness, entries, error))
            return CliUsageError(QStringLiteral("--schedule: ") + error);
        return StatusOf(ui, SetBrightnessTimetable(*context.screen, ui, entries));
    }
    bool ok = false;
    const int value = context.arguments->Positional().at(1).toInt(&ok);
    if (!ok || value < 0 || value > 15)
        return CliUsageError(QStringLiteral("brightness takes a VALUE from 0 to 15"));
    return StatusOf(ui, SetManualBrightness(*context.screen, ui, value));
}

int RunPower(const QStringList& words)
{
    const bool schedule = words.contains(QStringLiteral("--schedule"));
    MaintenanceContext context;
    if (const int status =
            Prepare(words, "power", schedule ? 0 : 1, {QStringLiteral("schedule")}, {}, context);
        status != CliOk)
        return status;
    CCliOperationUi ui(CCliOperationUi::Answers::AlwaysNo);
    if (schedule) {
        std::vector<ScheduleEntry> entries;
        QString error;
        if (!ParseScheduleText(context.arguments->Value(QStringLiteral("schedule")),
                               ScheduleKind::Power, entries, error))
            return CliUsageError(QStringLiteral("--schedule: ") + error);
        return StatusOf(ui, SetPowerTimetable(*context.screen, ui, entries));
    }
    const QString state = context.arguments->Positional().at(1).toLower();
    if (state != QStringLiteral("on") && state != QStringLiteral("off"))
        return CliUsageError(QStringLiteral("power takes on or off"));
    return StatusOf(ui, SetPanelPower(*context.screen, ui, state == QStringLiteral("on")));
}

int RunFirmware(const QStringList& words)
{
    const bool password = std::any_of(words.begin(), words.end(), [](const QString& word) {
        return word == QStringLiteral("--password") ||
               word.startsWith(QStringLiteral("--password="));
    });
    if (!password)
        return CliUsageError(QStringLiteral("firmware needs --password P"));
    MaintenanceContext context;
    if (const int status = Prepare(words, "firmware", 1, {QStringLiteral("password")}, {}, context);
        status != CliOk)
        return status;
    CCliOperationUi ui(CCliOperationUi::Answers::AlwaysNo);
    // The failure comes back as the result; printing its warning as well would say it twice.
    ui.HoldWarnings();
    QString failure;
    const bool ok = UpdateFirmware(*context.screen, ui, context.arguments->Positional().at(1),
                                   context.arguments->Value(QStringLiteral("password")),
                                   Settings().pkg, &failure);
    ui.Finish();
    for (const QString& warning : ui.TakeHeldWarnings()) {
        if (ok || warning != failure)
            CliFail(warning);
    }
    if (CCliOperationUi::Interrupted())
        return ui.Canceled();
    if (!ok)
        return CliFail(LoadString(43027) + failure);
    CliPrint(LoadString(43028));
    return CliOk;
}
