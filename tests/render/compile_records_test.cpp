// The bytes of each zone kind's record and the program border block.
#include "compile_fixture.h"

#include "model/clock_zone.h"
#include "model/countdown_zone.h"
#include "model/datetime_zone.h"
#include "model/temperature_zone.h"
#include "model/text_zone.h"

#include <algorithm>

#include <array>

class LiveZoneBytes : public CompileFixture
{
protected:
    template <typename Zone> Zone* LiveZone(int pages = 1)
    {
        Zone* zone = AddZone<Zone>(AddWindow({0, 0, 64, 32}), pages);
        // The live kinds hold each page for their stay time whatever the effect says.
        zone->SetAction(ActionContinuousMoveLeft);
        zone->SetHold(0x1234);
        return zone;
    }
    // Bytes 8 to 19 of the only zone record, after checking its first eight bytes.
    std::array<int, 12> RecordBytes(int kind, int pages = 1)
    {
        const QByteArray data = Compile();
        EXPECT_EQ(U32(data, 576), 0u);
        EXPECT_EQ(U16(data, 580), 0x1234);
        EXPECT_EQ(U8(data, 582), pages);
        EXPECT_EQ(U8(data, 583), kind);
        for (int j = 0; j < pages; ++j)
            EXPECT_EQ(U16(data, 596 + j * (4 + 3 * 256)), 0x1234);
        std::array<int, 12> bytes{};
        for (int i = 0; i < 12; ++i)
            bytes[static_cast<size_t>(i)] = U8(data, 584 + i);
        return bytes;
    }
};

TEST_F(LiveZoneBytes, DateTime)
{
    DateTimeSettings& s = LiveZone<CDateTimeZone>(2)->Settings();
    s.size = 2;
    const std::uint8_t enabled[] = {1, 1, 0, 1};
    const std::uint16_t x[] = {5, 300, 0x4105, 24};
    const std::uint8_t row[] = {0, 0, 2, 1};
    const std::uint8_t format[] = {0, 1, 0x13, 0};
    const std::uint8_t colour[] = {7, 2, 1, 3};
    for (int i = 0; i < 4; ++i) {
        s.enabled[i] = enabled[i];
        s.x[i] = x[i];
        s.row[i] = row[i];
        s.format[i] = format[i];
        s.colour[i] = colour[i];
    }
    s.timeDifference = -60;
    const std::array<int, 12> expected = {0x2A, 0x2C, 0x05, 24,   0x01, 0x81,
                                          0x40, 0x21, 0x13, 0x30, 0xC4, 0xFF};
    EXPECT_EQ(RecordBytes(11, 2), expected);
}

TEST_F(LiveZoneBytes, Countdown)
{
    CountdownSettings& s = LiveZone<CCountdownZone>()->Settings();
    s.digitSize = 3;
    s.type = 1;
    s.format = 2;
    s.show[0] = 1, s.show[1] = 0, s.show[2] = 1, s.show[3] = 1;
    s.numberTop = 9;
    s.target = 0x12345678;
    const int colours[] = {1, 2, 3, 4, 5, 6, 7, 1, 0};
    for (int i = 0; i < 9; ++i)
        s.colour[i] = colours[i];
    const std::array<int, 12> expected = {1,    3,    0xAD, 9,    0x78, 0x56,
                                          0x34, 0x12, 0x51, 0x62, 0x73, 0x14};
    EXPECT_EQ(RecordBytes(13), expected);
}

TEST_F(LiveZoneBytes, TemperatureAndHumidity)
{
    TemperatureSettings& s = LiveZone<CTemperatureZone>()->Settings();
    s.showTemperature = 1;
    s.showHumidity = 1;
    s.sensor = 1;
    s.digitSize = 1;            // half-width characters of 6 pixels
    s.temperatureUnitLeft = 40; // the value starts 3 characters earlier, at 22
    s.humidityNumberLeft = 300;
    s.temperatureNumberTop = 9;
    s.humidityNumberTop = 20;
    s.temperatureDigitColour = 2;
    s.humidityDigitColour = 4;
    std::array<int, 12> expected = {1, 0, 22, 0, 0x2C, 0x01, 4, 10, 0x82, 0x84, 1, 1};
    EXPECT_EQ(RecordBytes(12), expected);
    // A sensor without humidity leaves the humidity fields empty.
    s.sensor = 0;
    expected = {1, 0, 22, 0, 0, 0, 4, 0, 0x82, 0, 1, 0};
    EXPECT_EQ(RecordBytes(12), expected);
    // Neither part shown.
    s.showTemperature = 0;
    expected = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0};
    EXPECT_EQ(RecordBytes(12), expected);
}

TEST_F(LiveZoneBytes, Clock)
{
    ClockSettings& s = LiveZone<CClockZone>()->Settings();
    s.size[ClockHourMarks] = 4;
    s.size[ClockMinuteMarks] = 6;
    s.hourMarkStyle = 2;
    s.size[ClockHourHand] = 2, s.size[ClockMinuteHand] = 1, s.size[ClockSecondHand] = 0x101;
    s.colour[ClockHourHand] = 3, s.colour[ClockMinuteHand] = 5, s.colour[ClockSecondHand] = 7;
    s.offsetMinutes = 90;
    s.offsetSign = 1;
    std::array<int, 12> expected = {0, 0, 0, 4, 2, 1, 1, 3, 5, 7, 0xA6, 0xFF};
    EXPECT_EQ(RecordBytes(10), expected);
    s.hourMarkStyle = 0;
    s.offsetSign = 0;
    expected = {0, 0, 0, 3, 2, 1, 1, 3, 5, 7, 90, 0};
    EXPECT_EQ(RecordBytes(10), expected);
}

class BorderBlock : public CompileFixture
{
protected:
    void SetUp() override
    {
        CompileFixture::SetUp();
        AddZone<CTextZone>(AddWindow({2, 2, 62, 30}));
        ProgramBorder& b = program->Border();
        b.enabled = 1;
        b.action = 3;
        b.step = 2;
        b.flat = 1;
        b.speed = 4;
        program->SetBorderWidth(2);
        QImage pattern(16, 2, QImage::Format_RGB32);
        pattern.fill(qRgb(0, 0, 0));
        pattern.setPixel(0, 0, qRgb(255, 0, 0));
        pattern.setPixel(1, 0, qRgb(0, 10, 0));
        pattern.setPixel(2, 0, qRgb(0, 0, 9)); // under the threshold of 10
        pattern.setPixel(3, 0, qRgb(255, 255, 255));
        program->BorderPattern() = pattern;
        QImage strip(2, 16, QImage::Format_RGB32);
        strip.fill(qRgb(0, 0, 0));
        strip.setPixel(0, 0, qRgb(255, 0, 0));
        strip.setPixel(1, 5, qRgb(0, 0, 255));
        program->BorderStrip() = strip;
    }
    std::array<std::uint8_t, 196> Block()
    {
        std::array<std::uint8_t, 196> block{};
        FillBorderBlock(*program, block.data());
        return block;
    }
    static int Horizontal(const std::array<std::uint8_t, 196>& b, int plane, int row)
    {
        return layout::GetU16(b.data() + 4 + 32 * plane + 2 * row);
    }
    static int Vertical(const std::array<std::uint8_t, 196>& b, int plane, int row)
    {
        return layout::GetU16(b.data() + 100 + 32 * plane + 2 * row);
    }
};

TEST_F(BorderBlock, FullColourLitIsOne)
{
    const QByteArray data = Compile();
    const auto b = Block();
    for (int i = 0; i < 196; ++i)
        ASSERT_EQ(U8(data, 132 + 20 + i), b[static_cast<size_t>(i)]) << "byte " << i;
    EXPECT_EQ(b[0], 3);
    EXPECT_EQ(b[1], 0x82);
    EXPECT_EQ(b[2], 4);
    EXPECT_EQ(b[3], 2);
    EXPECT_EQ(Horizontal(b, 0, 0), 0x0009);
    EXPECT_EQ(Horizontal(b, 1, 0), 0x000A);
    EXPECT_EQ(Horizontal(b, 2, 0), 0x0008);
    EXPECT_EQ(Horizontal(b, 0, 1), 0);
    EXPECT_EQ(Vertical(b, 0, 0), 1);
    EXPECT_EQ(Vertical(b, 2, 5), 2);
    EXPECT_EQ(Vertical(b, 1, 5), 0);
}

TEST_F(BorderBlock, TwoColoursFoldBlueIntoGreen)
{
    SetScreen(64, 32, 2, 1);
    const auto b = Block();
    EXPECT_EQ(Horizontal(b, 0, 0), 0x0009);
    EXPECT_EQ(Horizontal(b, 1, 0), 0x000A);
    EXPECT_EQ(Horizontal(b, 2, 0), 0);
    EXPECT_EQ(Vertical(b, 1, 5), 2);
    EXPECT_EQ(Vertical(b, 2, 5), 0);
}

TEST_F(BorderBlock, SingleColourTakesAnyComponent)
{
    SetScreen(64, 32, 7, 1); // an unknown colour type counts as single colour
    const auto b = Block();
    EXPECT_EQ(Horizontal(b, 0, 0), 0x000B);
    EXPECT_EQ(Horizontal(b, 1, 0), 0);
    EXPECT_EQ(Vertical(b, 0, 5), 2);
}

TEST_F(BorderBlock, InvertedPolarityInvertsWholeMasks)
{
    SetScreen(64, 32, 3, 0);
    auto b = Block();
    EXPECT_EQ(Horizontal(b, 0, 0), 0xFFF6);
    EXPECT_EQ(Horizontal(b, 2, 0), 0xFFF7);
    EXPECT_EQ(Horizontal(b, 1, 1), 0xFFFF);
    EXPECT_EQ(Horizontal(b, 0, 2), 0); // rows past the thickness stay empty
    EXPECT_EQ(Vertical(b, 0, 0), 2);   // inverted, then cut to the thickness
    EXPECT_EQ(Vertical(b, 1, 0), 3);
    EXPECT_EQ(Vertical(b, 2, 5), 1);
    SetScreen(64, 32, 1, 0);
    b = Block();
    EXPECT_EQ(Horizontal(b, 1, 0), 0xFFFF);
    EXPECT_EQ(Horizontal(b, 2, 1), 0xFFFF);
}

TEST_F(BorderBlock, PixelsOutsideThePatternReadWhite)
{
    QImage narrow(8, 2, QImage::Format_RGB32);
    narrow.fill(qRgb(0, 0, 0));
    program->BorderPattern() = narrow;
    program->BorderStrip() = QImage();
    const auto b = Block();
    EXPECT_EQ(Horizontal(b, 0, 0), 0xFF00);
    EXPECT_EQ(Horizontal(b, 2, 1), 0xFF00);
    EXPECT_EQ(Vertical(b, 0, 15), 3);
}

TEST_F(BorderBlock, OffOrThinIsAllZero)
{
    program->Border().enabled = 0;
    auto b = Block();
    EXPECT_EQ(std::count(b.begin(), b.end(), 0), 196);
    program->Border().enabled = 1;
    program->SetBorderWidth(0);
    b = Block();
    EXPECT_EQ(std::count(b.begin(), b.end(), 0), 196);
}
