// lumivant-cli schedule: which programs a screen's controller plays when.
#include "cli/cli_command.h"
#include "cli/cli_project.h"

#include "model/project_root.h"
#include "model/screen.h"
#include "render/play_schedule.h"
#include "render/schedule_chart.h"

#include <QLocale>

#include <cstdio>

namespace {

constexpr int kWeekDays = 7;

bool ParseDate(const QString& text, QDate& date)
{
    date = QDate::fromString(text.trimmed(), QStringLiteral("yyyy-MM-dd"));
    return date.isValid();
}

QString Names(const CPlaySchedule& schedule, const std::vector<int>& programs)
{
    if (programs.empty())
        return QStringLiteral("(nothing)");
    QStringList names;
    for (int program : programs)
        names << schedule.Programs()[static_cast<size_t>(program)].name;
    return names.join(QStringLiteral(", "));
}

void PrintBands(const CPlaySchedule& schedule, const QDate& date, const QString& indent)
{
    for (const CPlaySchedule::Band& band : schedule.Day(date))
        CliPrint(QStringLiteral("%1%2-%3 %4")
                     .arg(indent, CPlaySchedule::TimeText(band.start),
                          CPlaySchedule::TimeText(band.end), Names(schedule, band.programs)));
}

void Warn(const QString& text)
{
    std::fprintf(stderr, "warning: %s\n", text.toUtf8().constData());
}

void WarnSilent(const CPlaySchedule& schedule, const QDate& first, int days,
                const QStringList& alreadyNamed)
{
    for (int program : schedule.SilentDuring(first, days)) {
        const QString& name = schedule.Programs()[static_cast<size_t>(program)].name;
        if (alreadyNamed.filter(QStringLiteral("'%1' ").arg(name)).isEmpty())
            Warn(QStringLiteral("'%1' does not play %2.")
                     .arg(name, days == 1 ? QStringLiteral("on this day")
                                          : QStringLiteral("in this week")));
    }
}

QString DayLabel(const QDate& date)
{
    return QLocale(QLocale::English).toString(date, QStringLiteral("ddd yyyy-MM-dd"));
}

} // namespace

int RunSchedule(const QStringList& words)
{
    int status = CliOk;
    const auto arguments = CliArguments::ParseCommand(
        words,
        {QStringLiteral("screen"), QStringLiteral("at"), QStringLiteral("day"),
         QStringLiteral("week"), QStringLiteral("png")},
        {}, 1, QStringLiteral("schedule takes one FILE"), status);
    if (!arguments)
        return status;
    const int asked = int(arguments->Has(QStringLiteral("at"))) +
                      int(arguments->Has(QStringLiteral("day"))) +
                      int(arguments->Has(QStringLiteral("week")));
    if (asked != 1)
        return CliUsageError(QStringLiteral("schedule takes one of --at, --day, --week"));
    if (arguments->Has(QStringLiteral("png")) && !arguments->Has(QStringLiteral("week")))
        return CliUsageError(QStringLiteral("--png draws a week: it goes with --week"));

    QDateTime moment;
    QDate date;
    if (arguments->Has(QStringLiteral("at"))) {
        if (!CPlaySchedule::ParseMoment(arguments->Value(QStringLiteral("at")), moment))
            return CliUsageError(QStringLiteral("--at takes an existing moment as "
                                                "\"YYYY-MM-DD HH:MM\", not '%1'")
                                     .arg(arguments->Value(QStringLiteral("at"))));
    } else {
        const QString name =
            arguments->Has(QStringLiteral("day")) ? QStringLiteral("day") : QStringLiteral("week");
        if (!ParseDate(arguments->Value(name), date))
            return CliUsageError(QStringLiteral("--%1 takes an existing date as YYYY-MM-DD, "
                                                "not '%2'")
                                     .arg(name, arguments->Value(name)));
    }

    std::unique_ptr<CProjectRoot> root;
    CScreen* screen = LoadScreenForCli(arguments->Positional().first(), *arguments, root, status);
    if (!screen)
        return status;
    const CPlaySchedule schedule = CPlaySchedule::FromScreen(*screen);
    const QStringList never = schedule.NeverPlaying(QDate::currentDate());
    for (const QString& reason : never)
        Warn(reason);

    if (moment.isValid()) {
        const std::vector<int> playing = schedule.PlayingAt(moment);
        if (playing.empty())
            CliPrint(QStringLiteral("Nothing plays."));
        for (int program : playing) {
            const CPlaySchedule::Program& entry = schedule.Programs()[static_cast<size_t>(program)];
            CliPrint(QStringLiteral("%1 %2 s").arg(entry.name).arg(entry.schedule.playTime));
        }
        return CliOk;
    }
    if (arguments->Has(QStringLiteral("day"))) {
        PrintBands(schedule, date, QString());
        WarnSilent(schedule, date, 1, never);
        return CliOk;
    }
    for (int d = 0; d < kWeekDays; ++d) {
        CliPrint(DayLabel(date.addDays(d)));
        PrintBands(schedule, date.addDays(d), QStringLiteral("  "));
    }
    WarnSilent(schedule, date, kWeekDays, never);
    if (arguments->Has(QStringLiteral("png"))) {
        const QString out = arguments->Value(QStringLiteral("png"));
        if (!DrawWeekChart(schedule, date).save(out, "PNG"))
            return CliFail(QStringLiteral("Cannot write the chart to '%1'.").arg(out));
    }
    return CliOk;
}
