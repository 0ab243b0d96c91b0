#include "model/page_rules.h"

#include "model/effect_zone.h"
#include "model/program.h"
#include "model/table_zone.h"

#include <algorithm>
#include <cstdlib>

namespace PageRules {
namespace {

constexpr std::uint32_t kOffBit = ProgramSchedule::kNoLimit;
constexpr std::uint8_t kWeekOffBit = 0x80;
const QDate kEpoch(1970, 1, 1);
const QDate kFirstPickable(2000, 1, 1);
const QDate kLastPickable(2099, 12, 31);

} // namespace

int ClampPlayTime(int seconds)
{
    return std::clamp(seconds, kMinPlayTime, kMaxPlayTime);
}

bool IsDateRangeOn(const ProgramSchedule& schedule)
{
    return (schedule.firstDay & kOffBit) == 0;
}

bool IsTimeRangeOn(const ProgramSchedule& schedule)
{
    return (schedule.startTime & kOffBit) == 0;
}

bool IsWeekFilterOn(const ProgramSchedule& schedule)
{
    return (schedule.weekdays & kWeekOffBit) == 0;
}

void SetDateRangeOn(ProgramSchedule& schedule, bool on)
{
    schedule.firstDay = on ? schedule.firstDay & ~kOffBit : schedule.firstDay | kOffBit;
}

void SetTimeRangeOn(ProgramSchedule& schedule, bool on)
{
    schedule.startTime = on ? schedule.startTime & ~kOffBit : schedule.startTime | kOffBit;
}

void SetWeekFilterOn(ProgramSchedule& schedule, bool on)
{
    schedule.weekdays = static_cast<std::uint8_t>(on ? schedule.weekdays & ~kWeekOffBit
                                                     : schedule.weekdays | kWeekOffBit);
}

void ApplyBasicModelSchedule(ProgramSchedule& schedule)
{
    SetDateRangeOn(schedule, false);
    SetTimeRangeOn(schedule, false);
    SetWeekFilterOn(schedule, false);
}

QDate DateFromDays(std::uint32_t days)
{
    const QDate date = kEpoch.addDays(days & ~kOffBit);
    return std::clamp(date, kFirstPickable, kLastPickable);
}

std::uint32_t DaysFromDate(const QDate& date)
{
    const QDate valid =
        date.isValid() ? std::clamp(date, kFirstPickable, kLastPickable) : kFirstPickable;
    return static_cast<std::uint32_t>(kEpoch.daysTo(valid));
}

QTime TimeFromSeconds(std::uint32_t seconds)
{
    return QTime(0, 0).addSecs(static_cast<int>((seconds & ~kOffBit) % 86400));
}

std::uint32_t SecondsFromTime(const QTime& time)
{
    return time.isValid() ? static_cast<std::uint32_t>(QTime(0, 0).secsTo(time)) : 0;
}

void SetFirstDay(ProgramSchedule& schedule, const QDate& date)
{
    schedule.firstDay = DaysFromDate(date) | (schedule.firstDay & kOffBit);
}

void SetLastDay(ProgramSchedule& schedule, const QDate& date)
{
    schedule.lastDay = DaysFromDate(date);
}

void SetStartTime(ProgramSchedule& schedule, const QTime& time)
{
    schedule.startTime = SecondsFromTime(time) | (schedule.startTime & kOffBit);
}

void SetEndTime(ProgramSchedule& schedule, const QTime& time)
{
    schedule.endTime = SecondsFromTime(time);
}

int WeekdayBit(int qtDayOfWeek)
{
    return qtDayOfWeek % 7; // Sunday (7) is bit 0, Monday bit 1 ...
}

bool IsWeekdayOn(const ProgramSchedule& schedule, int qtDayOfWeek)
{
    return (schedule.weekdays >> WeekdayBit(qtDayOfWeek)) & 1;
}

void SetWeekdayOn(ProgramSchedule& schedule, int qtDayOfWeek, bool on)
{
    const auto bit = static_cast<std::uint8_t>(1u << WeekdayBit(qtDayOfWeek));
    schedule.weekdays =
        static_cast<std::uint8_t>(on ? schedule.weekdays | bit : schedule.weekdays & ~bit);
}

std::optional<LedRect> WindowRectFromControls(int x, int y, int width, int height, int screenWidth,
                                              int screenHeight)
{
    const LedRect rect{x, y, x + std::max(width, kMinWindowWidth),
                       y + std::max(height, kMinWindowHeight)};
    if (rect.left < 0 || rect.top < 0 || rect.right > screenWidth || rect.bottom > screenHeight)
        return std::nullopt;
    return rect;
}

int StoredHold(int seconds)
{
    return std::clamp(seconds, 0, kMaxHoldSeconds) * 100;
}

int HoldSeconds(int storedHold)
{
    return std::clamp(storedHold / 100, 0, kMaxHoldSeconds);
}

bool HasHoldTime(int action)
{
    return action != ActionAlwaysHold && action != ActionContinuousMoveLeft;
}

int ImageSpeed(int direction, int magnitude)
{
    magnitude = std::clamp(magnitude, 0, kMaxImageSpeed);
    return direction == 1 ? magnitude : -magnitude;
}

int ImageSpeedDirection(int speed)
{
    return speed > 0 ? 1 : 0;
}

int ImageSpeedMagnitude(int speed)
{
    return std::min(std::abs(speed), kMaxImageSpeed);
}

int SignedMinutes(bool negative, int hours, int minutes)
{
    const int total = std::clamp(hours, 0, kMaxDiffHours) * 60 + std::clamp(minutes, 0, 59);
    return negative ? -total : total;
}

int DiffHours(int signedMinutes)
{
    return std::min(std::abs(signedMinutes) / 60, kMaxDiffHours);
}

int DiffMinutes(int signedMinutes)
{
    return std::abs(signedMinutes) % 60;
}

bool IsNegative16(std::int16_t minutes)
{
    return (static_cast<std::uint16_t>(minutes) & 0x8000u) != 0;
}

std::int32_t LocalSecondsFromDateTime(const QDateTime& local)
{
    const QDateTime wall(local.date(), local.time(), Qt::UTC);
    const qint64 seconds = QDateTime(kEpoch, QTime(0, 0), Qt::UTC).secsTo(wall);
    return static_cast<std::int32_t>(std::clamp<qint64>(seconds, 0, INT32_MAX));
}

QDateTime DateTimeFromLocalSeconds(std::int32_t seconds)
{
    const QDateTime wall = QDateTime(kEpoch, QTime(0, 0), Qt::UTC).addSecs(std::max(seconds, 0));
    return QDateTime(wall.date(), wall.time(), Qt::LocalTime);
}

int ColourCount(int colourDepth)
{
    return 1 << std::clamp(colourDepth, 1, 3);
}

int ShowableColourIndex(int index, int colourDepth)
{
    const int count = ColourCount(colourDepth);
    if (index >= 0 && index < count)
        return index;
    const int masked = (index & 7) & (count - 1);
    return masked != 0 || index == 0 ? masked : 1;
}

std::uint32_t ColorRefOfIndex(int index)
{
    std::uint32_t ref = 0;
    if (index & 1)
        ref |= 0x0000FF;
    if (index & 2)
        ref |= 0x00FF00;
    if (index & 4)
        ref |= 0xFF0000;
    return ref;
}

int ColourIndexOfColorRef(std::uint32_t colorRef, int colourDepth)
{
    int index = 0;
    if ((colorRef & 0xFF) >= 0x80)
        index |= 1;
    if (((colorRef >> 8) & 0xFF) >= 0x80)
        index |= 2;
    if (((colorRef >> 16) & 0xFF) >= 0x80)
        index |= 4;
    return ShowableColourIndex(index, colourDepth);
}

namespace {

void MarkNewCells(CTableZone& table, int firstRow, int firstColumn)
{
    for (int r = 0; r < table.RowCount(); ++r) {
        for (int c = 0; c < table.ColumnCount(); ++c) {
            if (r < firstRow && c < firstColumn)
                continue;
            TableCell& cell = table.Cell(r, c);
            cell.foreColour = kNewCellFore;
            cell.alignment = kNewCellAlignment;
        }
    }
}

} // namespace

bool AddTableColumn(CTableZone& table)
{
    const int rows = table.RowCount();
    const int columns = table.ColumnCount();
    if (rows < 1 || columns >= CTableZone::kMaxColumns ||
        rows * (columns + 1) > CTableZone::kMaxCells)
        return false;
    table.SetSize(rows, columns + 1);
    table.ColumnWidths().back() = kNewColumnWidth;
    MarkNewCells(table, rows, columns);
    return true;
}

bool AddTableRow(CTableZone& table)
{
    const int rows = table.RowCount();
    const int columns = table.ColumnCount();
    if (columns < 1 || rows >= CTableZone::kMaxRows || (rows + 1) * columns > CTableZone::kMaxCells)
        return false;
    const int height = rows > 0 ? table.Rows().back().height : TableRow{}.height;
    table.SetSize(rows + 1, columns);
    table.Rows().back() = TableRow{};
    table.Rows().back().height = height;
    MarkNewCells(table, rows, columns);
    return true;
}

bool DeleteTableColumn(CTableZone& table)
{
    if (table.ColumnCount() <= 1)
        return false;
    table.SetSize(table.RowCount(), table.ColumnCount() - 1);
    return true;
}

bool DeleteTableRow(CTableZone& table)
{
    if (table.RowCount() <= 1)
        return false;
    table.SetSize(table.RowCount() - 1, table.ColumnCount());
    return true;
}

} // namespace PageRules
