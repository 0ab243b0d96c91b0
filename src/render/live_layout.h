#pragma once

#include "model/clock_zone.h"
#include "model/countdown_zone.h"
#include "model/datetime_zone.h"
#include "model/temperature_zone.h"

#include <QDateTime>
#include <QPoint>
#include <QString>

#include <cstdint>
#include <vector>

// The controller's built-in fonts, by size index 0 to 4 (any other index counts as 2).
struct ControllerFont
{
    int lineHeight;
    int halfWidth;
    int fullWidth;
    int previewPoints;
};
ControllerFont ControllerFontFor(int sizeIndex);
// The face that stands in for the controller's fonts on the PC.
QString PreviewFontFace();

// Date-time items.
struct DateTimeItemText
{
    QString text;
    int halfChars = 0; // characters the controller draws half-width
    int fullChars = 0; // and full-width
};
// The text of item (0 static text, 1 date, 2 weekday, 3 time) with its format for the
// moment (local time, before the zone's time difference is added).
DateTimeItemText FormatDateTimeItem(const DateTimeSettings& settings, int item, int format,
                                    const QDateTime& localNow);
// Width of the item on the controller.
int DateTimeItemWidth(const DateTimeSettings& settings, int item, const QDateTime& localNow);
// Lays out the items in a window of the width; staticTextWidth is the static text measured
// in the preview font. Writes the items' x and row.
void LayoutDateTime(DateTimeSettings& settings, int windowWidth, int staticTextWidth,
                    const QDateTime& localNow);

// Clock dial geometry.
struct ClockDial
{
    int markSpace = 0; // s
    int radius = 0;    // r
    int margin = 0;    // e
    int shiftX = 0;    // centring of the square dial
    int shiftY = 0;
};
ClockDial ClockDialFor(const ClockSettings& settings, int width, int height);
// A point of the dial at position p (0 to 59, minutes, clockwise from the top) and radius
// q, in the box of side 2q at the origin (before the margin and the centring).
QPoint DialPoint(int position, int radius);
// The pixels of one dot of a hand of the width, relative to the dot.
std::vector<QPoint> HandDotPattern(int width);

// Temperature layout, from the measured label widths (before/after the temperature,
// before/after the humidity) and the label height.
struct TemperatureMeasures
{
    int temperatureLabel = 0;
    int temperatureUnit = 0;
    int humidityLabel = 0;
    int humidityUnit = 0;
    int labelHeight = 0;
};
bool TemperatureShown(const TemperatureSettings& settings);
bool HumidityShown(const TemperatureSettings& settings);
void LayoutTemperature(TemperatureSettings& settings, int width, int height,
                       const TemperatureMeasures& measures);
// Left of the temperature value (the unit's left less the value's three cells).
int TemperatureValueLeft(const TemperatureSettings& settings);

// Countdown number line.
struct CountdownPart
{
    int unit = 0; // 0 days, 1 hours, 2 minutes, 3 seconds
    QString digits;
    QString label;
    bool fullWidthLabel = false;
    int x = 0; // left of the digits, relative to the line's left
    int labelX = 0;
};
struct CountdownLine
{
    bool over = false;
    std::vector<CountdownPart> parts;
    int width = 0;
};
// Local seconds since 1970-01-01 00:00 of the moment.
std::int64_t LocalSeconds(const QDateTime& moment);
CountdownLine BuildCountdownLine(const CountdownSettings& settings, std::int64_t localNow);
// Stores the title's and the number line's places; titleWidth/Height 0 without title.
void LayoutCountdown(CountdownSettings& settings, int width, int height, int titleWidth,
                     int titleHeight, const CountdownLine& line);
