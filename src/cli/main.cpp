// lumivant-cli: the project and controller operations of Lumivant from a shell.
#include "cli/cli_command.h"
#include "cli/cli_operation_ui.h"

#include "base/app_paths.h"
#include "base/app_settings.h"
#include "base/string_table.h"
#include "render/renderer.h"

#include "base/headless.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

int RunNew(const QStringList& words);
int RunInfo(const QStringList& words);
int RunCheck(const QStringList& words);
int RunRender(const QStringList& words);
int RunCompile(const QStringList& words);
int RunExport(const QStringList& words);
int RunDrives(const QStringList& words);
int RunPorts(const QStringList& words);
int RunDecode(const QStringList& words);
int RunReadParams(const QStringList& words);
int RunSend(const QStringList& words);
int RunDeliveries(const QStringList& words);
int RunSearch(const QStringList& words);
int RunSyncTime(const QStringList& words);
int RunReset(const QStringList& words);
int RunClear(const QStringList& words);
int RunBrightness(const QStringList& words);
int RunPower(const QStringList& words);
int RunFirmware(const QStringList& words);
int RunSetText(const QStringList& words);
int RunSetImage(const QStringList& words);
int RunSchedule(const QStringList& words);
int RunPlay(const QStringList& words);
int RunPanelSetup(const QStringList& words);
int RunControllerSetup(const QStringList& words);
int RunLinkSetup(const QStringList& words);

namespace {

const CliCommand kCommands[] = {
    {"new", "new FILE [--width W] [--height H] [--colors 1|2|3] [--force]", RunNew},
    {"info", "info FILE [--json]", RunInfo},
    {"check", "check FILE [--json]", RunCheck},
    {"render", "render FILE [--screen N] [--form display|controller] --out DIR", RunRender},
    {"compile", "compile FILE [--screen N] [--seed S] --out DATA", RunCompile},
    {"export", "export FILE [--screen N] --drive DIR [--params] [--sync-clock SECONDS] [--seed S]",
     RunExport},
    {"drives", "drives", RunDrives},
    {"ports", "ports", RunPorts},
    {"decode", "decode DATA|LED.RZU --colors 1|2|3 [--polarity 0|1] [--png DIR]", RunDecode},
    {"read-params", "read-params FILE [--screen N] [LINK] [--save]", RunReadParams},
    {"send",
     "send FILE [--screen N | --all [--parallel N]] [LINK] [--pkg 64|128|256] [--yes | --no]\n"
     "      [--ignore-overlap]",
     RunSend},
    {"deliveries", "deliveries [FILE] [--screen N] [--json]", RunDeliveries},
    {"search", "search FILE [--screen N] [LINK] [--save]", RunSearch},
    {"sync-time", "sync-time FILE [--screen N] [LINK]", RunSyncTime},
    {"reset", "reset FILE [--screen N] [LINK] [--yes|--no]", RunReset},
    {"clear", "clear FILE [--screen N] [LINK]", RunClear},
    {"brightness",
     "brightness FILE VALUE | brightness FILE --schedule HH:MM-HH:MM=V[,...] [--screen N] [LINK]",
     RunBrightness},
    {"power",
     "power FILE on|off | power FILE --schedule HH:MM-HH:MM=on|off[,...] [--screen N] [LINK]",
     RunPower},
    {"firmware", "firmware FILE PACKAGE --password P [--screen N] [LINK]", RunFirmware},
    {"set-text",
     "set-text FILE ZONE (--text TEXT | --text-file PATH | --rtf PATH) [--keep-format] "
     "[--out FILE2]",
     RunSetText},
    {"set-image", "set-image FILE ZONE PATH [--out FILE2]", RunSetImage},
    {"schedule",
     "schedule FILE [--screen N] (--at \"YYYY-MM-DD HH:MM\" | --day YYYY-MM-DD | --week "
     "YYYY-MM-DD [--png OUT])",
     RunSchedule},
    {"play",
     "play FILE [--screen N] [--program N] [--ticks T] [--seed S] "
     "(--gif OUT.gif [--zoom Z] [--dots] | --frames DIR)",
     RunPlay},
    {"panel-setup",
     "panel-setup FILE [--screen N] [LINK] [--model NAME] [--width W] [--height H]\n"
     "      [--colors R|RG|RGB] [--data-polarity -|+] [--oe-polarity -|+] [--freq 0..6]\n"
     "      [--blanking 5..63] [--scan ROW|S-L-F-D[-A]] [--row-order -2..2]\n"
     "      [--pixels normal|rg|gb] [--no-138] [--mirror-8bit] [--mirror-updown] [--save]\n"
     "  lumivant-cli panel-setup --list-scans",
     RunPanelSetup},
    {"controller-setup",
     "controller-setup FILE [--screen N] [LINK] [--baud 9600|57600] [--id N] [--ip A.B.C.D]\n"
     "      [--mac XX-XX-XX-XX-XX-XX] [--assign-ip-to-pc yes|no] [--save]\n"
     "      (--baud here is the card's new rate; the link keeps the file's)",
     RunControllerSetup},
    {"link-setup",
     "link-setup FILE [--screen N] (--serial COMn [--baud B] | --udp IP[:PORT]) [--panel-id N]\n"
     "      [--timeout MS]",
     RunLinkSetup},
};

void PrintHelp()
{
    std::printf("Usage: lumivant-cli COMMAND [ARGUMENTS]\n\nCommands:\n");
    for (const CliCommand& command : kCommands)
        std::printf("  lumivant-cli %s\n", command.synopsis);
    std::printf("\nLINK: --udp HOST[:PORT] | --serial DEVICE [--baud 9600|57600], --timeout MS,\n"
                "      --panel-id N; without them the screen's saved settings are used.\n");
    std::printf("\nZONE: Screen/Program/Window/Zone, Screen/Program/Zone (a zone directly in its\n"
                "      program) or s1/p1/w1/z1; write a / inside a name as \\/.\n");
    std::printf("\nExit status: 0 success, 1 failure (the reason on stderr), 2 usage error.\n");
}

} // namespace

int main(int argc, char** argv)
{
    // Rendering needs a GUI application but never a display.
    PrepareHeadlessEnvironment();
    QGuiApplication app(argc, argv);
    QStringList words = QCoreApplication::arguments().mid(1);

    Settings() = AppSettings::Load(SettingsFilePath());
    SetLanguage(LanguageFromSetting(3));
    InstallCancelExit();
    InstallRenderer();

    if (words.isEmpty() || words.first() == QStringLiteral("--help") ||
        words.first() == QStringLiteral("-h") || words.first() == QStringLiteral("help")) {
        PrintHelp();
        return words.isEmpty() ? CliUsage : CliOk;
    }
    const QString name = words.takeFirst();
    for (const CliCommand& command : kCommands) {
        if (name != QLatin1String(command.name))
            continue;
        if (words.contains(QStringLiteral("--help")) || words.contains(QStringLiteral("-h"))) {
            std::printf("Usage: lumivant-cli %s\n", command.synopsis);
            return CliOk;
        }
        return command.run(words);
    }
    return CliUsageError(QStringLiteral("unknown command '%1'").arg(name));
}
