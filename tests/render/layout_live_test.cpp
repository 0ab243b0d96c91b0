#include "model/clock_zone.h"
#include "model/countdown_zone.h"
#include "model/datetime_zone.h"
#include "model/project_root.h"
#include "model/temperature_zone.h"
#include "render/led_paint.h"
#include "render/live_layout.h"
#include "render/renderer.h"
#include "render/zone_renderers.h"

#include <gtest/gtest.h>

namespace {

// Monday 21 June 2010, 13:25:55.
const QDateTime kMoment(QDate(2010, 6, 21), QTime(13, 25, 55));

struct FormatCase
{
    int item;
    int format;
    const char* text;
    int half;
    int full;
};

void PrintTo(const FormatCase& c, std::ostream* os)
{
    *os << "item " << c.item << " format " << c.format;
}

class DateTimeFormatterTest : public ::testing::TestWithParam<FormatCase>
{};

TEST_P(DateTimeFormatterTest, TextAndControllerWidths)
{
    const FormatCase& c = GetParam();
    DateTimeSettings settings;
    settings.text = QStringLiteral("Hello");
    const DateTimeItemText text = FormatDateTimeItem(settings, c.item, c.format, kMoment);
    EXPECT_EQ(text.text, QString::fromUtf8(c.text));
    EXPECT_EQ(text.halfChars, c.half);
    EXPECT_EQ(text.fullChars, c.full);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, DateTimeFormatterTest,
    ::testing::Values(FormatCase{0, 0, "Hello", 0, 0}, FormatCase{1, 0, "2010年06月21日", 8, 3},
                      FormatCase{1, 1, "2010-06-21", 10, 0}, FormatCase{1, 2, "06/21/2010", 10, 0},
                      FormatCase{1, 3, "2010/06/21", 10, 0}, FormatCase{1, 4, "10-06-21", 8, 0},
                      FormatCase{1, 5, "2010", 4, 0}, FormatCase{1, 6, "06", 2, 0},
                      FormatCase{1, 7, "21", 2, 0}, FormatCase{1, 8, "06月21日", 4, 2},
                      FormatCase{1, 9, "21/06/2010", 10, 0}, FormatCase{1, 15, "2010-06-21", 10, 0},
                      FormatCase{2, 0, "星期一", 0, 3}, FormatCase{2, 1, " Monday  ", 9, 0},
                      FormatCase{2, 2, "Mon", 3, 0}, FormatCase{2, 19, "Mon", 3, 0},
                      FormatCase{3, 0, "13:25:55", 8, 0}, FormatCase{3, 1, "13时25分55秒", 6, 3},
                      FormatCase{3, 2, "13:25", 5, 0}, FormatCase{3, 3, "13时25分", 4, 2},
                      FormatCase{3, 4, "下午", 0, 2}, FormatCase{3, 5, "PM", 2, 0},
                      FormatCase{3, 6, "下午 01时25分", 5, 4}, FormatCase{3, 7, "PM 01:25", 8, 0},
                      FormatCase{3, 8, "01:25PM", 8, 0}, FormatCase{3, 9, "13:25:55星期一", 8, 3},
                      FormatCase{3, 12, "13:25:55", 8, 0}));

TEST(DateTimeFormatter, DayPartsTwelveHourClockAndOffset)
{
    DateTimeSettings settings;
    const QDate day(2010, 6, 21);
    EXPECT_EQ(FormatDateTimeItem(settings, 3, 4, QDateTime(day, QTime(11, 59))).text,
              QStringLiteral("上午"));
    EXPECT_EQ(FormatDateTimeItem(settings, 3, 4, QDateTime(day, QTime(18, 59))).text,
              QStringLiteral("下午"));
    EXPECT_EQ(FormatDateTimeItem(settings, 3, 4, QDateTime(day, QTime(19, 0))).text,
              QStringLiteral("晚上"));
    EXPECT_EQ(FormatDateTimeItem(settings, 3, 7, QDateTime(day, QTime(0, 5))).text,
              QStringLiteral("AM 00:05"));
    EXPECT_EQ(FormatDateTimeItem(settings, 3, 7, QDateTime(day, QTime(12, 5))).text,
              QStringLiteral("PM 12:05"));
    settings.timeDifference = -90;
    EXPECT_EQ(FormatDateTimeItem(settings, 3, 0, QDateTime(day, QTime(1, 0))).text,
              QStringLiteral("23:30:00"));
    EXPECT_EQ(FormatDateTimeItem(settings, 2, 2, QDateTime(day, QTime(1, 0))).text,
              QStringLiteral("Sun"));
}

class DateTimeLayoutTest : public ::testing::Test
{
protected:
    DateTimeSettings TwoItems()
    {
        DateTimeSettings s;
        s.size = 2;
        s.enabled[0] = 0;
        s.enabled[1] = 1;
        s.enabled[2] = 0;
        s.enabled[3] = 1;
        s.format[1] = 1;
        s.format[3] = 0;
        return s;
    }
};

TEST_F(DateTimeLayoutTest, MultiLineCentresEachItemOnItsRow)
{
    DateTimeSettings s = TwoItems();
    LayoutDateTime(s, 128, 0, kMoment);
    EXPECT_EQ(s.row[1], 0);
    EXPECT_EQ(s.x[1], 24);
    EXPECT_EQ(s.row[3], 1);
    EXPECT_EQ(s.x[3], 32);
    LayoutDateTime(s, 600, 0, kMoment);
    EXPECT_EQ(s.x[1], 260);
    LayoutDateTime(s, 70, 0, kMoment);
    EXPECT_EQ(s.x[1], 0); // wider than the window
}

TEST_F(DateTimeLayoutTest, OneLineShiftsTheRunToTheMiddle)
{
    DateTimeSettings s = TwoItems();
    s.oneLine = 1;
    LayoutDateTime(s, 200, 0, kMoment);
    EXPECT_EQ(s.x[1], 24);
    EXPECT_EQ(s.x[3], 88 + 24);
    EXPECT_EQ(s.row[3], 0);
    LayoutDateTime(s, 100, 0, kMoment);
    EXPECT_EQ(s.x[1], 4);
    // Static text first, and the exchanged order puts the time before the weekday.
    s.enabled[0] = 1;
    s.enabled[2] = 1;
    s.format[2] = 2;
    s.order = 1;
    LayoutDateTime(s, 1000, 30, kMoment);
    const int shift = (1000 - (30 + 8 + 80 + 8 + 64 + 8 + 24)) / 2;
    EXPECT_EQ(s.x[0], shift);
    EXPECT_EQ(s.x[1], 38 + shift);
    EXPECT_EQ(s.x[3], 126 + shift);
    EXPECT_EQ(s.x[2], 198 + shift);
}

TEST_F(DateTimeLayoutTest, SizeIndexOutOfRangeCountsAsSmall)
{
    DateTimeSettings s = TwoItems();
    s.size = 7;
    LayoutDateTime(s, 128, 0, kMoment);
    EXPECT_EQ(s.x[1], 24);
    EXPECT_EQ(ControllerFontFor(7).lineHeight, 16);
}

TEST(ClockGeometry, DialNumbers)
{
    ClockSettings s; // hour marks 4, minute marks 0
    const ClockDial dial = ClockDialFor(s, 64, 32);
    EXPECT_EQ(dial.markSpace, 4);
    EXPECT_EQ(dial.radius, 13);
    EXPECT_EQ(dial.margin, 3);
    EXPECT_EQ(dial.shiftX, 16);
    EXPECT_EQ(dial.shiftY, 0);
    s.hourMarkStyle = 2;
    s.size[ClockMinuteMarks] = 5;
    const ClockDial numbers = ClockDialFor(s, 32, 64);
    EXPECT_EQ(numbers.markSpace, 8);
    EXPECT_EQ(numbers.shiftY, 16);
    // Sine-table positions at radius 13: top, right, bottom, left and one in between.
    EXPECT_EQ(DialPoint(0, 13), QPoint(13, 0));
    EXPECT_EQ(DialPoint(15, 13), QPoint(26, 13));
    EXPECT_EQ(DialPoint(30, 13), QPoint(13, 26));
    EXPECT_EQ(DialPoint(45, 13), QPoint(0, 13));
    EXPECT_EQ(DialPoint(5, 13), QPoint(20, 2)); // (13*1500+500)/1000, ((1000-866)*13+400)/1000
    EXPECT_EQ(DialPoint(40, 13),
              QPoint(2, 19)); // (13*(1000-866)+500)/1000, ((1000+500)*13+400)/1000
}

TEST(ClockGeometry, HandDotPatterns)
{
    EXPECT_EQ(HandDotPattern(1).size(), 1u);
    EXPECT_EQ(HandDotPattern(2).size(), 4u);
    EXPECT_EQ(HandDotPattern(3).size(), 9u);
    EXPECT_EQ(HandDotPattern(4).size(), 13u);
    EXPECT_EQ(HandDotPattern(9).size(), 21u);
}

class TemperatureLayoutTest : public ::testing::Test
{
protected:
    TemperatureMeasures Measures() const { return {40, 12, 50, 8, 16}; }
};

TEST_F(TemperatureLayoutTest, OneLineBothParts)
{
    TemperatureSettings s;
    s.sensor = 1;
    s.showHumidity = 1;
    s.oneLine = 1;
    s.digitSize = 2; // h 8, k 16
    LayoutTemperature(s, 256, 32, Measures());
    // total = 40 + 24 + 12 + 50 + 16 + 8 = 150
    EXPECT_EQ(s.temperatureLabelLeft, 53);
    EXPECT_EQ(TemperatureValueLeft(s), 93);
    EXPECT_EQ(s.temperatureUnitLeft, 117);
    EXPECT_EQ(s.humidityLabelLeft, 129);
    EXPECT_EQ(s.humidityNumberLeft, 179);
    EXPECT_EQ(s.humidityUnitLeft, 195);
    EXPECT_EQ(s.temperatureTop, 8);
    EXPECT_EQ(s.temperatureNumberTop, 8);
    EXPECT_EQ(s.humidityNumberTop, 8);
    LayoutTemperature(s, 256, 10, Measures());
    EXPECT_EQ(s.temperatureTop, 0);
    EXPECT_EQ(s.humidityNumberTop, 0);
}

TEST_F(TemperatureLayoutTest, TwoLinesStackTheParts)
{
    TemperatureSettings s;
    s.sensor = 1;
    s.showHumidity = 1;
    s.digitSize = 1; // h 6, k 12
    TemperatureMeasures m = Measures();
    m.labelHeight = 14; // labels taller than the digits
    LayoutTemperature(s, 128, 40, m);
    // L = 14, D = 28; temperature label top (40-28)/2 + 0 = 6, value top 6 + 1 = 7.
    EXPECT_EQ(s.temperatureLabelLeft, (128 - (40 + 18 + 12)) / 2);
    EXPECT_EQ(s.temperatureTop, 6);
    EXPECT_EQ(s.temperatureNumberTop, 7);
    EXPECT_EQ(s.humidityLabelLeft, (128 - (50 + 12 + 8)) / 2);
    EXPECT_EQ(s.humidityTop, 20);
    EXPECT_EQ(s.humidityNumberTop, 21);
    // Humidity alone with digits taller than labels.
    s.showTemperature = 0;
    m.labelHeight = 10;
    LayoutTemperature(s, 128, 40, m);
    EXPECT_EQ(s.humidityNumberTop, 14);
    EXPECT_EQ(s.humidityTop, 15);
    // Humidity needs sensor B.
    s.sensor = 0;
    EXPECT_FALSE(HumidityShown(s));
}

TEST(CountdownLayout, FirstShownUnitAbsorbsTheLargerOnes)
{
    CountdownSettings s;
    s.target = 1000000 + 3725;
    s.show[0] = s.show[1] = 0;
    const CountdownLine line = BuildCountdownLine(s, 1000000);
    ASSERT_EQ(line.parts.size(), 2u);
    EXPECT_EQ(line.parts[0].digits, QStringLiteral("62"));
    EXPECT_EQ(line.parts[0].label, QStringLiteral("分"));
    EXPECT_EQ(line.parts[1].digits, QStringLiteral("5"));
    EXPECT_FALSE(line.over);
    // Small size: 2 digits x 8 + 16, 1 digit x 8 + 16.
    EXPECT_EQ(line.width, 56);
    EXPECT_EQ(line.parts[1].x, 32);
    s.format = 2;
    EXPECT_EQ(BuildCountdownLine(s, 1000000).width, 2 * 8 + 24 + 8 + 24);
}

TEST(CountdownLayout, OverTimeAndTimer)
{
    CountdownSettings s;
    s.target = 500;
    EXPECT_TRUE(BuildCountdownLine(s, 501).over);
    EXPECT_FALSE(BuildCountdownLine(s, 500).over);
    s.type = 1;
    EXPECT_TRUE(BuildCountdownLine(s, 499).over);
    const CountdownLine timer = BuildCountdownLine(s, 500 + 90061);
    EXPECT_EQ(timer.parts[0].digits, QStringLiteral("1"));
    EXPECT_EQ(timer.parts[1].digits, QStringLiteral("1"));
    EXPECT_EQ(timer.parts[2].digits, QStringLiteral("1"));
    EXPECT_EQ(timer.parts[3].digits, QStringLiteral("1"));
}

TEST(CountdownLayout, TitleAndNumberLinePlaces)
{
    CountdownSettings s;
    s.title = QStringLiteral("T");
    CountdownLine line;
    line.width = 100;
    LayoutCountdown(s, 128, 64, 40, 12, line);
    EXPECT_EQ(s.titleLeft, 44);
    EXPECT_EQ(s.numberTop, (64 - 16 - 12) / 2 + 12);
    EXPECT_EQ(s.numberLeft, 14);
    s.title.clear();
    line.width = 200;
    LayoutCountdown(s, 128, 64, 0, 0, line);
    EXPECT_EQ(s.numberTop, 24);
    EXPECT_EQ(s.numberLeft, 0);
}

class LiveZoneRenderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InstallRenderer();
        SetRenderTime(kMoment);
    }
    void TearDown() override { SetRenderTime(QDateTime()); }
    CProjectRoot root;
};

TEST_F(LiveZoneRenderTest, CountdownShowsOverTimeOnlyInTheDisplayForm)
{
    CCountdownZone zone(&root);
    zone.Settings().target = static_cast<std::int32_t>(LocalSeconds(kMoment) - 10);
    zone.Settings().title.clear();
    zone.Prepare(RenderForm::Controller);
    ASSERT_EQ(zone.GetPageCount(), 1);
    EXPECT_FALSE(FindInkRows(*zone.GetPage(0)).HasInk());
    zone.Prepare(RenderForm::Display);
    ASSERT_EQ(zone.GetPageCount(), 1);
    EXPECT_TRUE(FindInkRows(*zone.GetPage(0)).HasInk());
}

TEST_F(LiveZoneRenderTest, ClockDrawsMarksAndOnlyTheDisplayFormHasHands)
{
    CClockZone zone(&root); // a 64 x 32 window without a screen
    zone.Prepare(RenderForm::Controller);
    ASSERT_EQ(zone.GetPageCount(), 1);
    const QImage marks = zone.GetPage(0)->Image();
    // The 12 o'clock mark sits around (16 + 13 + 3, 3).
    EXPECT_NE(marks.pixel(32, 3) & 0xFFFFFF, 0u);
    EXPECT_EQ(marks.pixel(29 + 3 + 16 - 13, 16) & 0xFFFFFF, 0u); // inside the dial, no hand
    zone.Prepare(RenderForm::Display);
    const QImage hands = zone.GetPage(0)->Image();
    EXPECT_NE(hands.pixel(32, 16) & 0xFFFFFF, 0u); // hands start at the centre
}

TEST_F(LiveZoneRenderTest, DateTimeStoresItsLayoutAndDrawsOnlyStaticTextForTheController)
{
    CDateTimeZone zone(&root);
    zone.Settings().enabled[0] = 0;
    zone.Prepare(RenderForm::Controller);
    EXPECT_FALSE(FindInkRows(*zone.GetPage(0)).HasInk());
    zone.Prepare(RenderForm::Display);
    EXPECT_TRUE(FindInkRows(*zone.GetPage(0)).HasInk());
    EXPECT_EQ(zone.Settings().x[1], 0);       // "10-06-21" is 64 pixels: as wide as the window
    EXPECT_EQ(zone.Settings().enabled[2], 0); // no weekday in a window 32 pixels high
    EXPECT_EQ(zone.Settings().row[3], 1);
}

TEST_F(LiveZoneRenderTest, DamagedSettingsStillGiveOnePage)
{
    CClockZone clock(&root);
    for (int& size : clock.Settings().size)
        size = 2147483647;
    clock.Settings().hourMarkStyle = 2;
    clock.Settings().offsetMinutes = -2147483647;
    clock.Prepare(RenderForm::Display);
    EXPECT_EQ(clock.GetPageCount(), 1);
    CCountdownZone countdown(&root);
    countdown.Settings().digitSize = -5;
    countdown.Settings().format = 99;
    countdown.Settings().titleFontSize = -1;
    countdown.Settings().title = QStringLiteral("T");
    countdown.Prepare(RenderForm::Display);
    EXPECT_EQ(countdown.GetPageCount(), 1);
    CDateTimeZone datetime(&root);
    datetime.Settings().format[3] = 255;
    datetime.Settings().row[3] = 200;
    datetime.Prepare(RenderForm::Display);
    EXPECT_EQ(datetime.GetPageCount(), 1);
}

TEST_F(LiveZoneRenderTest, TemperatureStoresItsLayout)
{
    CTemperatureZone zone(&root);
    zone.Settings().temperatureLabel = QStringLiteral("T");
    zone.Settings().temperatureUnit.clear();
    zone.Prepare(RenderForm::Controller);
    const TemperatureSettings& s = zone.Settings();
    EXPECT_GT(s.temperatureUnitLeft - s.temperatureLabelLeft, 24);
    EXPECT_NEAR(s.temperatureNumberTop, 8, 1); // the label font is a little taller than 16
    EXPECT_EQ(s.temperatureLabelLeft, (64 - (s.temperatureUnitLeft - s.temperatureLabelLeft)) / 2);
}

} // namespace
