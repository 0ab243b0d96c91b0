#pragma once

#include "model/led_rect.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <cstdint>
#include <optional>

struct ProgramSchedule;
class CTableZone;

// The rules the property pages apply when they turn control values into stored fields,
// kept here so that the command line and the tests use the same ones.
namespace PageRules {

// Program play time in seconds.
constexpr int kMinPlayTime = 5;
constexpr int kMaxPlayTime = 60000;
int ClampPlayTime(int seconds);

// Schedule record: a date range, a daily time range and a weekday filter, each with an
// "off" bit.
bool IsDateRangeOn(const ProgramSchedule& schedule);
bool IsTimeRangeOn(const ProgramSchedule& schedule);
bool IsWeekFilterOn(const ProgramSchedule& schedule);
void SetDateRangeOn(ProgramSchedule& schedule, bool on);
void SetTimeRangeOn(ProgramSchedule& schedule, bool on);
void SetWeekFilterOn(ProgramSchedule& schedule, bool on);
// A basic model plays every program at all times: all three filters off.
void ApplyBasicModelSchedule(ProgramSchedule& schedule);
// Days since 1970-01-01 (the off bit ignored), limited to the years 2000 to 2099.
QDate DateFromDays(std::uint32_t days);
std::uint32_t DaysFromDate(const QDate& date);
QTime TimeFromSeconds(std::uint32_t seconds);
std::uint32_t SecondsFromTime(const QTime& time);
// Stores the day as start or end date, keeping the start date's off bit.
void SetFirstDay(ProgramSchedule& schedule, const QDate& date);
void SetLastDay(ProgramSchedule& schedule, const QDate& date);
void SetStartTime(ProgramSchedule& schedule, const QTime& time);
void SetEndTime(ProgramSchedule& schedule, const QTime& time);
// Weekdays as Qt numbers them (1 Monday ... 7 Sunday); Sunday is bit 0 of the record.
int WeekdayBit(int qtDayOfWeek);
bool IsWeekdayOn(const ProgramSchedule& schedule, int qtDayOfWeek);
void SetWeekdayOn(ProgramSchedule& schedule, int qtDayOfWeek, bool on);

// Window geometry: at least 16 x 4; the rectangle must lie inside the screen, else
// nothing is applied (an empty result).
constexpr int kMinWindowWidth = 16;
constexpr int kMinWindowHeight = 4;
std::optional<LedRect> WindowRectFromControls(int x, int y, int width, int height, int screenWidth,
                                              int screenHeight);

// Zone hold: whole seconds on the page, hundredths in the zone.
constexpr int kMaxHoldSeconds = 255;
int StoredHold(int seconds);
int HoldSeconds(int storedHold);
// "Always hold" and "Continuous move left" have no hold time of their own.
bool HasHoldTime(int action);

// Image speed: one signed number, positive for "Slower", else "Acc"; the page shows the
// direction (0 Acc, 1 Slower) and the magnitude 0 to 9.
constexpr int kMaxImageSpeed = 9;
int ImageSpeed(int direction, int magnitude);
int ImageSpeedDirection(int speed);
int ImageSpeedMagnitude(int speed);

// Time difference of the clock and date-time zones: one signed number of minutes.
constexpr int kMaxDiffHours = 23;
int SignedMinutes(bool negative, int hours, int minutes);
int DiffHours(int signedMinutes);
int DiffMinutes(int signedMinutes);
// The date-time zone keeps it in 16 bits; the sign is bit 15.
bool IsNegative16(std::int16_t minutes);

// Countdown target: local wall-clock time as seconds since 1970-01-01 00:00.
std::int32_t LocalSecondsFromDateTime(const QDateTime& local);
QDateTime DateTimeFromLocalSeconds(std::int32_t seconds);

// Colour lists: a screen of colour depth 1, 2 or 3 shows 2, 4 or 8 colours (indexes with
// bit 0 red, bit 1 green, bit 2 blue).
int ColourCount(int colourDepth);
// A stored index the screen cannot show (a hand-edited file) as the nearest one it can:
// its channels the screen has, red when none of them is left.
int ShowableColourIndex(int index, int colourDepth);
// Table colours are stored as 0x00BBGGRR values.
std::uint32_t ColorRefOfIndex(int index);
int ColourIndexOfColorRef(std::uint32_t colorRef, int colourDepth);

// Table shape commands. Columns are added at the right, 60 pixels wide; rows at the
// bottom with the height of the last row; each new cell is red and centred. Deleting
// removes the last column or row and does nothing when one is left.
constexpr int kNewColumnWidth = 60;
constexpr std::uint32_t kNewCellFore = 255;
constexpr int kNewCellAlignment = 4;
bool AddTableColumn(CTableZone& table);
bool AddTableRow(CTableZone& table);
bool DeleteTableColumn(CTableZone& table);
bool DeleteTableRow(CTableZone& table);

} // namespace PageRules
