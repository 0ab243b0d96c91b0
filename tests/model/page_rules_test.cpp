#include "model/page_rules.h"
#include "model/program.h"
#include "model/table_zone.h"
#include "model_fixtures.h"

#include <gtest/gtest.h>

using namespace PageRules;

TEST(PageRulesTest, WindowGeometryKeepsTheMinimumSizeAndStaysOnTheScreen)
{
    EXPECT_EQ(WindowRectFromControls(8, 0, 10, 2, 256, 32), (LedRect{8, 0, 24, 4}));
    EXPECT_EQ(WindowRectFromControls(0, 0, 256, 32, 256, 32), (LedRect{0, 0, 256, 32}));
    EXPECT_FALSE(WindowRectFromControls(250, 0, 16, 16, 256, 32));
    EXPECT_FALSE(WindowRectFromControls(0, 30, 16, 4, 256, 32));
    EXPECT_FALSE(WindowRectFromControls(-1, 0, 16, 4, 256, 32));
}

TEST(PageRulesTest, ScheduleFlagsAndDaysRoundTripAndTheBasicModelTurnsAllOff)
{
    ProgramSchedule schedule;
    SetDateRangeOn(schedule, true);
    SetTimeRangeOn(schedule, true);
    SetWeekFilterOn(schedule, true);
    SetFirstDay(schedule, QDate(2024, 2, 29));
    SetStartTime(schedule, QTime(13, 25, 55));
    SetWeekdayOn(schedule, Qt::Sunday, false);
    SetWeekdayOn(schedule, Qt::Saturday, false);
    EXPECT_EQ(schedule.firstDay, 19782u);
    EXPECT_EQ(schedule.startTime, 13u * 3600 + 25 * 60 + 55);
    EXPECT_EQ(schedule.weekdays, 0x3Eu);
    EXPECT_EQ(DateFromDays(schedule.firstDay), QDate(2024, 2, 29));
    EXPECT_EQ(TimeFromSeconds(schedule.startTime), QTime(13, 25, 55));

    ApplyBasicModelSchedule(schedule);
    EXPECT_EQ(schedule.firstDay & 0x80000000u, 0x80000000u);
    EXPECT_EQ(schedule.startTime & 0x80000000u, 0x80000000u);
    EXPECT_EQ(schedule.weekdays, 0xBEu);
    // The values behind the off bits survive for when the filter is turned on again.
    EXPECT_EQ(DateFromDays(schedule.firstDay), QDate(2024, 2, 29));
    // Dates outside the pickers' years are brought into them.
    EXPECT_EQ(DateFromDays(0), QDate(2000, 1, 1));
    EXPECT_EQ(DaysFromDate(QDate()), DaysFromDate(QDate(2000, 1, 1)));
}

TEST(PageRulesTest, ValuesStoredAsOneNumberRoundTrip)
{
    EXPECT_EQ(StoredHold(3), 300);
    EXPECT_EQ(StoredHold(999), 25500);
    EXPECT_EQ(HoldSeconds(0xFFFF), 255);
    EXPECT_FALSE(HasHoldTime(ActionAlwaysHold));
    EXPECT_FALSE(HasHoldTime(ActionContinuousMoveLeft));
    EXPECT_TRUE(HasHoldTime(ActionMoveLeft));

    EXPECT_EQ(ImageSpeed(1, 4), 4);
    EXPECT_EQ(ImageSpeed(0, 4), -4);
    EXPECT_EQ(ImageSpeedDirection(-4), 0);
    EXPECT_EQ(ImageSpeedMagnitude(-4), 4);
    EXPECT_EQ(ImageSpeedMagnitude(1000), 9);

    EXPECT_EQ(SignedMinutes(true, 5, 30), -330);
    EXPECT_EQ(DiffHours(-330), 5);
    EXPECT_EQ(DiffMinutes(-330), 30);
    EXPECT_TRUE(IsNegative16(static_cast<std::int16_t>(-330)));
    EXPECT_EQ(ClampPlayTime(1), 5);
    EXPECT_EQ(ClampPlayTime(70000), 60000);

    const QDateTime target(QDate(2030, 6, 21), QTime(23, 59, 59), Qt::LocalTime);
    const std::int32_t seconds = LocalSecondsFromDateTime(target);
    EXPECT_EQ(seconds,
              QDateTime(QDate(2030, 6, 21), QTime(23, 59, 59), Qt::UTC).toSecsSinceEpoch());
    EXPECT_EQ(DateTimeFromLocalSeconds(seconds), target);
}

TEST(PageRulesTest, ColoursAShowCannotShowBecomeTheNearestItCan)
{
    EXPECT_EQ(ColourCount(1), 2);
    EXPECT_EQ(ColourCount(3), 8);
    EXPECT_EQ(ShowableColourIndex(5, 1), 1); // purple keeps its red
    EXPECT_EQ(ShowableColourIndex(6, 1), 1); // cyan has nothing red: red all the same
    EXPECT_EQ(ShowableColourIndex(6, 2), 2);
    EXPECT_EQ(ShowableColourIndex(0, 1), 0);
    EXPECT_EQ(ShowableColourIndex(-3, 3), 5);
    EXPECT_EQ(ColourIndexOfColorRef(0xFF0000, 3), 4); // blue
    EXPECT_EQ(ColourIndexOfColorRef(0xFF0000, 1), 1);
    EXPECT_EQ(ColorRefOfIndex(3), 0x00FFFFu);
}

TEST(PageRulesTest, TableCommandsKeepTheShapeRulesAndGiveNewCellsTheirDefaults)
{
    OneProgram project;
    auto* table = project.AddZone<CTableZone>(project.AddWindow({0, 0, 64, 32}), KindTable);
    table->Cell(0, 0).foreColour = 0x00FF00;
    table->Cell(1, 1).alignment = 0;
    table->Rows().back().height = 20;

    ASSERT_TRUE(AddTableColumn(*table));
    ASSERT_EQ(table->ColumnCount(), 3);
    EXPECT_EQ(table->ColumnWidths().back(), 60);
    EXPECT_EQ(table->Cell(0, 0).foreColour, 0x00FF00u); // old cells keep what they had
    EXPECT_EQ(table->Cell(1, 1).alignment, 0);
    EXPECT_EQ(table->Cell(1, 2).foreColour, 255u);
    EXPECT_EQ(table->Cell(1, 2).alignment, 4);
    EXPECT_TRUE(table->Cell(1, 2).text.isEmpty());

    ASSERT_TRUE(AddTableRow(*table));
    ASSERT_EQ(table->RowCount(), 3);
    EXPECT_EQ(table->Rows().back().height, 20);
    EXPECT_EQ(table->Cell(2, 0).foreColour, 255u);
    EXPECT_EQ(table->Cells().size(), 9u);

    while (DeleteTableRow(*table)) {
    }
    while (DeleteTableColumn(*table)) {
    }
    EXPECT_EQ(table->RowCount(), 1);
    EXPECT_EQ(table->ColumnCount(), 1);
    EXPECT_EQ(table->Cell(0, 0).foreColour, 0x00FF00u);
    EXPECT_FALSE(DeleteTableRow(*table));
    EXPECT_FALSE(DeleteTableColumn(*table));
    EXPECT_EQ(table->Cells().size(), 1u);
}
