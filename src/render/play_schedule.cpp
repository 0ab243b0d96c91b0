#include "render/play_schedule.h"

#include "model/program.h"
#include "model/screen.h"
#include "render/compile_screen.h"

#include <algorithm>
#include <set>

namespace {

constexpr int kTimingMode = 1;
const QDate kEpoch(1970, 1, 1);

// Bit of the weekday in the compiled byte: bit 0 Sunday ... bit 6 Saturday.
int WeekdayBit(const QDate& date)
{
    return 1 << (date.dayOfWeek() % 7);
}

bool InTimeRange(const CompiledSchedule& schedule, int secondOfDay)
{
    const auto second = static_cast<std::uint32_t>(secondOfDay);
    if (schedule.startTime <= schedule.endTime)
        return second >= schedule.startTime && second <= schedule.endTime;
    return second >= schedule.startTime || second <= schedule.endTime;
}

QString DayText(std::uint32_t day)
{
    return kEpoch.addDays(day).toString(Qt::ISODate);
}

} // namespace

CPlaySchedule CPlaySchedule::FromScreen(CScreen& screen)
{
    CPlaySchedule result;
    screen.Prepare(RenderForm::Controller);
    for (int i = 0; i < screen.GetChildCount(); ++i) {
        const CProjectObject* child = screen.GetChild(i);
        if (!child || child->GetKind() != KindProgram)
            continue;
        const auto& program = static_cast<const CProgram&>(*child);
        if (GetDataSize(program) == 0) {
            result.m_omitted << program.GetName();
            continue;
        }
        result.m_programs.push_back({program.GetName(), CompileSchedule(program)});
    }
    screen.Prepare(RenderForm::Display);
    return result;
}

bool CPlaySchedule::IsEligible(int program, const QDate& date, int secondOfDay) const
{
    const CompiledSchedule& schedule = m_programs[static_cast<size_t>(program)].schedule;
    if (schedule.weekdays != 0xFF && (schedule.weekdays & WeekdayBit(date)) == 0)
        return false;
    const qint64 day = kEpoch.daysTo(date);
    if (day < schedule.firstDay || day > schedule.lastDay)
        return false;
    return InTimeRange(schedule, secondOfDay);
}

std::vector<int> CPlaySchedule::PlayingAt(const QDate& date, int secondOfDay) const
{
    std::vector<int> timing;
    std::vector<int> inOrder;
    for (int i = 0; i < static_cast<int>(m_programs.size()); ++i) {
        if (!IsEligible(i, date, secondOfDay))
            continue;
        (m_programs[static_cast<size_t>(i)].schedule.playMode == kTimingMode ? timing : inOrder)
            .push_back(i);
    }
    return timing.empty() ? inOrder : timing;
}

std::vector<int> CPlaySchedule::PlayingAt(const QDateTime& moment) const
{
    return PlayingAt(moment.date(), moment.time().msecsSinceStartOfDay() / 1000);
}

std::vector<CPlaySchedule::Band> CPlaySchedule::Day(const QDate& date) const
{
    // What plays changes only where a time range begins or ends.
    std::set<int> changes{0, kSecondsPerDay};
    for (const Program& program : m_programs) {
        const std::int64_t start = program.schedule.startTime;
        const std::int64_t afterEnd = static_cast<std::int64_t>(program.schedule.endTime) + 1;
        if (start < kSecondsPerDay)
            changes.insert(static_cast<int>(start));
        if (afterEnd < kSecondsPerDay)
            changes.insert(static_cast<int>(afterEnd));
    }
    std::vector<Band> bands;
    for (auto it = changes.begin(); std::next(it) != changes.end(); ++it) {
        std::vector<int> playing = PlayingAt(date, *it);
        if (!bands.empty() && bands.back().programs == playing) {
            bands.back().end = *std::next(it);
            continue;
        }
        bands.push_back({*it, *std::next(it), std::move(playing)});
    }
    return bands;
}

QStringList CPlaySchedule::NeverPlaying(const QDate& today) const
{
    QStringList reasons;
    const qint64 todayNumber = kEpoch.daysTo(today);
    for (const Program& program : m_programs) {
        const CompiledSchedule& schedule = program.schedule;
        QString reason;
        if ((schedule.weekdays & 0x7F) == 0)
            reason = QStringLiteral("no weekday is chosen");
        else if (schedule.firstDay > schedule.lastDay)
            reason = QStringLiteral("its date range ends (%1) before it begins (%2)")
                         .arg(DayText(schedule.lastDay), DayText(schedule.firstDay));
        else if (schedule.lastDay < todayNumber)
            reason = QStringLiteral("its date range ended on %1").arg(DayText(schedule.lastDay));
        else if (schedule.startTime <= schedule.endTime && schedule.startTime >= kSecondsPerDay)
            reason = QStringLiteral("its time range begins after the end of the day");
        if (!reason.isEmpty())
            reasons << QStringLiteral("'%1' never plays: %2.").arg(program.name, reason);
    }
    for (const QString& name : m_omitted)
        reasons << QStringLiteral("'%1' never plays: it has nothing to show and is not sent.")
                       .arg(name);
    return reasons;
}

std::vector<int> CPlaySchedule::SilentDuring(const QDate& first, int days) const
{
    std::vector<bool> plays(m_programs.size(), false);
    for (int d = 0; d < days; ++d) {
        for (const Band& band : Day(first.addDays(d))) {
            for (int program : band.programs)
                plays[static_cast<size_t>(program)] = true;
        }
    }
    std::vector<int> silent;
    for (size_t i = 0; i < plays.size(); ++i) {
        if (!plays[i])
            silent.push_back(static_cast<int>(i));
    }
    return silent;
}

QString CPlaySchedule::TimeText(int secondOfDay)
{
    const int hours = secondOfDay / 3600;
    const int minutes = secondOfDay / 60 % 60;
    const int seconds = secondOfDay % 60;
    QString text = QStringLiteral("%1:%2")
                       .arg(hours, 2, 10, QLatin1Char('0'))
                       .arg(minutes, 2, 10, QLatin1Char('0'));
    if (seconds != 0)
        text += QStringLiteral(":%1").arg(seconds, 2, 10, QLatin1Char('0'));
    return text;
}

bool CPlaySchedule::ParseMoment(const QString& text, QDateTime& moment)
{
    const QString trimmed = text.trimmed();
    for (const char* format : {"yyyy-MM-dd HH:mm", "yyyy-MM-dd HH:mm:ss"}) {
        moment = QDateTime::fromString(trimmed, QLatin1String(format));
        if (moment.isValid())
            return true;
    }
    // A local time that daylight saving skips still names a moment of the controller's
    // clock, which knows no time zones.
    const QStringList parts = trimmed.split(u' ', Qt::SkipEmptyParts);
    if (parts.size() != 2)
        return false;
    const QDate date = QDate::fromString(parts[0], QStringLiteral("yyyy-MM-dd"));
    QTime time = QTime::fromString(parts[1], QStringLiteral("HH:mm"));
    if (!time.isValid())
        time = QTime::fromString(parts[1], QStringLiteral("HH:mm:ss"));
    if (!date.isValid() || !time.isValid())
        return false;
    moment = QDateTime(date, time, Qt::UTC);
    return true;
}
