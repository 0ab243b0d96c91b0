// The play schedule: each kind of limit, their combinations, timing programs taking over,
// midnight and week boundaries, and the programs that never play.
#include "config/model_info.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "render/compiled_schedule.h"
#include "render/play_schedule.h"

#include <gtest/gtest.h>

namespace {

constexpr int kHour = 3600;
const QDate kMonday(2026, 12, 7);
const QDate kSunday(2026, 12, 13);

std::uint32_t DayNumber(const QDate& date)
{
    return static_cast<std::uint32_t>(QDate(1970, 1, 1).daysTo(date));
}

// A program as the program page stores it: every limit off unless set below.
struct Stored
{
    ProgramSchedule schedule;
    Stored() { schedule.weekdays = 0x80 | 0x7F; }
    Stored& Timing()
    {
        schedule.playMode = 1;
        return *this;
    }
    Stored& Hours(int start, int endInclusive)
    {
        schedule.startTime = static_cast<std::uint32_t>(start);
        schedule.endTime = static_cast<std::uint32_t>(endInclusive);
        return *this;
    }
    Stored& Days(const QDate& first, const QDate& last)
    {
        schedule.firstDay = DayNumber(first);
        schedule.lastDay = DayNumber(last);
        return *this;
    }
    Stored& Weekdays(std::uint8_t bits)
    {
        schedule.weekdays = bits;
        return *this;
    }
};

CPlaySchedule Make(std::initializer_list<Stored> programs)
{
    std::vector<CPlaySchedule::Program> list;
    int n = 0;
    for (const Stored& stored : programs)
        list.push_back({QStringLiteral("P%1").arg(++n), CompileSchedule(stored.schedule)});
    return CPlaySchedule(std::move(list));
}

// The day as "start-end:programs" texts.
QStringList Bands(const CPlaySchedule& schedule, const QDate& date)
{
    QStringList texts;
    for (const CPlaySchedule::Band& band : schedule.Day(date)) {
        QStringList names;
        for (int program : band.programs)
            names << schedule.Programs()[static_cast<size_t>(program)].name;
        texts << QStringLiteral("%1-%2:%3")
                     .arg(CPlaySchedule::TimeText(band.start), CPlaySchedule::TimeText(band.end),
                          names.join(u','));
    }
    return texts;
}

} // namespace

TEST(CompiledScheduleTest, NoLimitMarksBecomeTheWidestLimits)
{
    ProgramSchedule stored;
    stored.playTime = 1;
    stored.weekdays = 0x85;
    const CompiledSchedule open = CompileSchedule(stored);
    EXPECT_EQ(open.playTime, 3);
    EXPECT_EQ(open.weekdays, 0xFF);
    EXPECT_EQ(open.firstDay, 0u);
    EXPECT_EQ(open.lastDay, 0xFFFFFFFFu);
    EXPECT_EQ(open.startTime, 0u);
    EXPECT_EQ(open.endTime, 0xFFFFFFFFu);

    stored.weekdays = 0x05;
    stored.firstDay = 20000;
    stored.startTime = 60;
    const CompiledSchedule limited = CompileSchedule(stored);
    EXPECT_EQ(limited.weekdays, 0x05);
    EXPECT_EQ(limited.firstDay, 20000u);
    EXPECT_EQ(limited.lastDay, 17974u);
    EXPECT_EQ(limited.startTime, 60u);
    EXPECT_EQ(limited.endTime, 86399u);
}

TEST(CompiledScheduleTest, ABasicModelPlaysWithoutLimitsWhateverTheProjectHolds)
{
    auto root = CProjectRoot::NewProject();
    auto& screen = static_cast<CScreen&>(*root->GetChild(0));
    auto& program = static_cast<CProgram&>(*screen.GetChild(0));
    program.Schedule().weekdays = 0x05;
    program.Schedule().firstDay = 20000;
    program.Schedule().lastDay = 20010;
    program.Schedule().startTime = 60;
    program.Schedule().endTime = 120;
    EXPECT_EQ(CompileSchedule(program).firstDay, 20000u);

    CModelInfo basic;
    ASSERT_TRUE(basic.AssignFromName(QStringLiteral("RZ-S1")));
    screen.SetIdentity(basic.Identity());
    const CompiledSchedule compiled = CompileSchedule(program);
    EXPECT_EQ(compiled.weekdays, 0xFF);
    EXPECT_EQ(compiled.firstDay, 0u);
    EXPECT_EQ(compiled.lastDay, 0xFFFFFFFFu);
    EXPECT_EQ(compiled.startTime, 0u);
    EXPECT_EQ(compiled.endTime, 0xFFFFFFFFu);
    // The project keeps what it holds.
    EXPECT_EQ(program.Schedule().firstDay, 20000u);
}

TEST(PlayScheduleTest, InOrderProgramsShareTheDayAndTimingProgramsTakeOver)
{
    const CPlaySchedule schedule =
        Make({Stored(), Stored().Timing().Hours(8 * kHour, 12 * kHour - 1), Stored()});
    EXPECT_EQ(Bands(schedule, kMonday),
              (QStringList{QStringLiteral("00:00-08:00:P1,P3"), QStringLiteral("08:00-12:00:P2"),
                           QStringLiteral("12:00-24:00:P1,P3")}));
    // Both ends of a time range count.
    EXPECT_EQ(schedule.PlayingAt(kMonday, 12 * kHour - 1), std::vector<int>{1});
    EXPECT_EQ(schedule.PlayingAt(kMonday, 12 * kHour), (std::vector<int>{0, 2}));
    EXPECT_EQ(schedule.PlayingAt(QDateTime(kMonday, QTime(8, 0))), std::vector<int>{1});
}

TEST(PlayScheduleTest, EachLimitAloneAndCombined)
{
    const CPlaySchedule schedule =
        Make({Stored().Weekdays(1 << 1),                                       // Mondays
              Stored().Days(kMonday.addDays(1), kMonday.addDays(2)),           // Tue, Wed
              Stored().Hours(10 * kHour, 10 * kHour + 1799),                   // 10:00-10:30
              Stored().Weekdays(1 << 3).Days(kMonday, kSunday).Hours(0, 59)}); // Wed 00:00
    EXPECT_EQ(Bands(schedule, kMonday),
              (QStringList{QStringLiteral("00:00-10:00:P1"), QStringLiteral("10:00-10:30:P1,P3"),
                           QStringLiteral("10:30-24:00:P1")}));
    EXPECT_EQ(Bands(schedule, kMonday.addDays(1)),
              (QStringList{QStringLiteral("00:00-10:00:P2"), QStringLiteral("10:00-10:30:P2,P3"),
                           QStringLiteral("10:30-24:00:P2")}));
    EXPECT_EQ(Bands(schedule, kMonday.addDays(2)).first(), QStringLiteral("00:00-00:01:P2,P4"));
    // A week later the date range has ended: only P1 on Monday, and nothing else outside
    // 10:00-10:30 on the other days.
    EXPECT_EQ(Bands(schedule, kMonday.addDays(8)),
              (QStringList{QStringLiteral("00:00-10:00:"), QStringLiteral("10:00-10:30:P3"),
                           QStringLiteral("10:30-24:00:")}));
    EXPECT_EQ(schedule.SilentDuring(kMonday.addDays(7), 7), (std::vector<int>{1, 3}));
}

TEST(PlayScheduleTest, MidnightAndWeekBoundaries)
{
    // 22:00 to 02:00 on Sundays: each limit is checked at the moment itself, so Sunday
    // night plays until midnight and the small hours of Sunday too, not of Monday.
    const CPlaySchedule schedule =
        Make({Stored(), Stored().Timing().Weekdays(1 << 0).Hours(22 * kHour, 2 * kHour - 1)});
    EXPECT_EQ(Bands(schedule, kSunday),
              (QStringList{QStringLiteral("00:00-02:00:P2"), QStringLiteral("02:00-22:00:P1"),
                           QStringLiteral("22:00-24:00:P2")}));
    EXPECT_EQ(Bands(schedule, kSunday.addDays(1)), QStringList{QStringLiteral("00:00-24:00:P1")});
    EXPECT_EQ(schedule.PlayingAt(QDateTime(kSunday, QTime(23, 59, 59))), std::vector<int>{1});
    EXPECT_EQ(schedule.PlayingAt(QDateTime(kSunday.addDays(1), QTime(0, 0))), std::vector<int>{0});

    // A date range that ends on Sunday: Monday of the next week has nothing.
    const CPlaySchedule ending = Make({Stored().Days(kMonday, kSunday)});
    EXPECT_EQ(ending.PlayingAt(kSunday, 86399), std::vector<int>{0});
    EXPECT_TRUE(ending.PlayingAt(kSunday.addDays(1), 0).empty());
    EXPECT_TRUE(ending.PlayingAt(kMonday.addDays(-1), 86399).empty());
}

TEST(PlayScheduleTest, ProgramsThatNeverPlayAreNamed)
{
    const CPlaySchedule schedule =
        Make({Stored(), Stored().Weekdays(0), Stored().Days(QDate(2019, 1, 1), QDate(2019, 3, 19)),
              Stored().Days(kSunday, kMonday), Stored().Hours(90000, 90001)});
    const QStringList reasons = schedule.NeverPlaying(kMonday);
    ASSERT_EQ(reasons.size(), 4) << reasons.join(u'\n').toStdString();
    EXPECT_EQ(reasons[0], QStringLiteral("'P2' never plays: no weekday is chosen."));
    EXPECT_EQ(reasons[1], QStringLiteral("'P3' never plays: its date range ended on 2019-03-19."));
    EXPECT_TRUE(reasons[2].startsWith(QStringLiteral("'P4' never plays: its date range ends")));
    EXPECT_TRUE(reasons[3].startsWith(QStringLiteral("'P5' never plays: its time range")));
    EXPECT_EQ(Bands(schedule, kMonday), QStringList{QStringLiteral("00:00-24:00:P1")});
    EXPECT_TRUE(Make({}).Day(kMonday).front().programs.empty());
    EXPECT_EQ(CPlaySchedule::TimeText(8 * kHour + 30), QStringLiteral("08:00:30"));
}
