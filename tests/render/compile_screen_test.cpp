// The screen data as the compiler lays it out: header, program table, program records,
// window tables and zone records.
#include "compile_fixture.h"

#include "base/last_error.h"
#include "model/animate_zone.h"
#include "model/image_zone.h"
#include "model/table_zone.h"
#include "model/text_zone.h"

using layout::kProgramRecordSize;

class ScreenLayout : public CompileFixture
{};

TEST_F(ScreenLayout, OneTextPageOnA64x32RgbScreen)
{
    CPlayWindow* window = AddWindow({0, 0, 64, 32});
    CTextZone* zone = AddZone<CTextZone>(window);
    zone->SetAction(ActionDirect);
    zone->SetHold(250);
    zone->SetSpeed(7);
    QImage page = Filled(64, 32, qRgb(0, 0, 0));
    page.setPixel(0, 0, qRgb(255, 0, 0));   // red plane, row 0, column 0
    page.setPixel(9, 1, qRgb(0, 255, 0));   // green plane, row 1, column 9
    page.setPixel(63, 31, qRgb(0, 0, 255)); // blue plane, last row, last column
    SetPage(zone, 0, page);

    const QByteArray data = Compile();
    ASSERT_TRUE(lastResult);
    ASSERT_EQ(data.size(), 1368);
    // Header check bytes: one program.
    EXPECT_EQ((U8(data, 126) + U8(data, 127)) & 0xFF, 1);
    EXPECT_EQ((U8(data, 124) + U8(data, 125) + 1) & 0xFF, 0x55);
    EXPECT_GE(U8(data, 123), 55);
    EXPECT_LE(U8(data, 123), 104);
    // Program table and record.
    EXPECT_EQ(U32(data, 128), 132u);
    const int record = 132;
    EXPECT_EQ(U16(data, record + 408), 0x5A01);
    EXPECT_EQ(U16(data, record + 410), 1);
    EXPECT_EQ(U32(data, record + 216), 576u);
    EXPECT_EQ(U16(data, record + 216 + 4), 0);
    EXPECT_EQ(U16(data, record + 216 + 6), 0);
    EXPECT_EQ(U16(data, record + 216 + 8), 64);
    EXPECT_EQ(U16(data, record + 216 + 10), 32);
    EXPECT_EQ(U32(data, record + 216 + 12), 0u); // no second window
    // Zone record.
    EXPECT_EQ(U32(data, 576), 0u);
    EXPECT_EQ(U16(data, 576 + 4), 250);
    EXPECT_EQ(U8(data, 576 + 6), 1);
    EXPECT_EQ(U8(data, 576 + 7), 1);
    EXPECT_EQ(U8(data, 576 + 9), ActionDirect);
    EXPECT_EQ(U8(data, 576 + 10), 7);
    // Page: hold, two zero bytes, then red, green and blue planes of 256 bytes.
    EXPECT_EQ(U16(data, 596), 250);
    EXPECT_EQ(U16(data, 598), 0);
    EXPECT_EQ(U8(data, 600), 0x01);
    EXPECT_EQ(U8(data, 856 + 8 + 1), 0x02);
    EXPECT_EQ(U8(data, 1112 + 31 * 8 + 7), 0x80);
    int lit = 0;
    for (int i = 600; i < 1368; ++i)
        lit += __builtin_popcount(U8(data, i));
    EXPECT_EQ(lit, 3);
}

TEST_F(ScreenLayout, SameSeedSameBytesOtherSeedOtherHeader)
{
    AddZone<CTextZone>(AddWindow({0, 0, 64, 32}));
    const QByteArray a = Compile(5);
    EXPECT_EQ(a, Compile(5));
    const QByteArray b = Compile(6);
    EXPECT_NE(a.left(123), b.left(123));
    EXPECT_EQ(a.mid(128), b.mid(128));
}

TEST_F(ScreenLayout, NothingToPlayIsEmpty)
{
    EXPECT_EQ(GetDataSize(*screen), 0);
    EXPECT_TRUE(Compile().isEmpty());
    EXPECT_FALSE(lastResult);
    // A zone without pages counts for nothing either.
    CTextZone* zone = AddZone<CTextZone>(AddWindow({0, 0, 64, 32}));
    zone->ClearPages();
    EXPECT_TRUE(Compile().isEmpty());
}

TEST_F(ScreenLayout, EmptyProgramsAndWindowsTakeNoSlot)
{
    AddZone<CTextZone>(AddWindow({0, 0, 32, 16}), 0); // program 1: nothing to play
    CProgram* second = AddProgram();
    AddWindow({0, 0, 16, 8}, second); // empty window
    CPlayWindow* full = AddWindow({16, 8, 48, 24}, second);
    AddZone<CTextZone>(full);
    const QByteArray data = Compile();
    ASSERT_TRUE(lastResult);
    const int zoneSize = 20 + 4 + 3 * (16 * 32 / 8);
    EXPECT_EQ(data.size(), 128 + 4 + 444 + zoneSize);
    EXPECT_EQ((U8(data, 126) + U8(data, 127)) & 0xFF, 1);
    EXPECT_EQ(U32(data, 128), 132u);
    EXPECT_EQ(U32(data, 132 + 216), 576u);
    EXPECT_EQ(U16(data, 132 + 216 + 4), 16);
    EXPECT_EQ(U16(data, 132 + 216 + 6), 8);
    EXPECT_EQ(U16(data, 132 + 216 + 8), 32);
    EXPECT_EQ(U16(data, 132 + 216 + 10), 16);
}

TEST_F(ScreenLayout, OffsetsChainAcrossProgramsWindowsAndZones)
{
    SetScreen(64, 32, 1, 1);
    CPlayWindow* w1 = AddWindow({0, 0, 32, 16});
    AddZone<CTextZone>(w1, 2);
    AddZone<CTextZone>(w1, 1);
    CPlayWindow* w2 = AddWindow({32, 0, 64, 16});
    AddZone<CTextZone>(w2, 1);
    CProgram* second = AddProgram();
    AddZone<CTextZone>(AddWindow({0, 0, 64, 32}, second), 3);

    const int page32x16 = 4 + 16 * 4;
    const int page64x32 = 4 + 32 * 8;
    const int z1 = 20 + 2 * page32x16, z2 = 20 + page32x16, z3 = 20 + page32x16;
    const int z4 = 20 + 3 * page64x32;
    EXPECT_EQ(GetDataSize(*program), z1 + z2 + z3);
    EXPECT_EQ(GetDataSize(*screen), z1 + z2 + z3 + z4 + 8 + 128);

    const QByteArray data = Compile();
    ASSERT_TRUE(lastResult);
    ASSERT_EQ(data.size(), 128 + 8 + 2 * 444 + z1 + z2 + z3 + z4);
    const int p1 = 136, w1Data = p1 + 444;
    EXPECT_EQ(U32(data, 128), static_cast<std::uint32_t>(p1));
    EXPECT_EQ(U32(data, p1 + 216), static_cast<std::uint32_t>(w1Data));
    EXPECT_EQ(U32(data, p1 + 228), static_cast<std::uint32_t>(w1Data + z1 + z2));
    EXPECT_EQ(U32(data, w1Data), static_cast<std::uint32_t>(w1Data + z1));
    EXPECT_EQ(U32(data, w1Data + z1), 0u);
    EXPECT_EQ(U32(data, w1Data + z1 + z2), 0u);
    const int p2 = w1Data + z1 + z2 + z3;
    EXPECT_EQ(U32(data, 132), static_cast<std::uint32_t>(p2));
    EXPECT_EQ(U32(data, p2 + 216), static_cast<std::uint32_t>(p2 + 444));
    EXPECT_EQ(U8(data, p2 + 444 + 6), 3);
}

TEST_F(ScreenLayout, LastEmittedZoneEndsTheChainEvenWhenLaterZonesAreEmpty)
{
    CPlayWindow* window = AddWindow({0, 0, 32, 8});
    AddZone<CTextZone>(window);
    AddZone<CTextZone>(window, 0); // last in the list, no pages
    const QByteArray data = Compile();
    ASSERT_TRUE(lastResult);
    EXPECT_EQ(U32(data, 576), 0u);
}

TEST_F(ScreenLayout, ScheduleIsNormalised)
{
    AddZone<CTextZone>(AddWindow({0, 0, 32, 8}));
    ProgramSchedule& s = program->Schedule();
    for (int time : {0, 1, 2, 3, 60}) {
        s.playTime = static_cast<std::uint16_t>(time);
        EXPECT_EQ(U16(Compile(), 132), std::max(time, 3));
    }
    // Defaults: no date, time or weekday limit.
    QByteArray data = Compile();
    EXPECT_EQ(U8(data, 132 + 3), 0xFF);
    EXPECT_EQ(U32(data, 132 + 4), 0u);
    EXPECT_EQ(U32(data, 132 + 8), 0xFFFFFFFFu);
    EXPECT_EQ(U32(data, 132 + 12), 0u);
    EXPECT_EQ(U32(data, 132 + 16), 0xFFFFFFFFu);
    // Enabled limits are copied unchanged.
    s.playMode = 1;
    s.weekdays = 0x05;
    s.firstDay = 15000;
    s.lastDay = 15010;
    s.startTime = 3600;
    s.endTime = 7200;
    data = Compile();
    EXPECT_EQ(U8(data, 132 + 2), 1);
    EXPECT_EQ(U8(data, 132 + 3), 0x05);
    EXPECT_EQ(U32(data, 132 + 4), 15000u);
    EXPECT_EQ(U32(data, 132 + 8), 15010u);
    EXPECT_EQ(U32(data, 132 + 12), 3600u);
    EXPECT_EQ(U32(data, 132 + 16), 7200u);
    s.weekdays = 0x85;
    EXPECT_EQ(U8(Compile(), 132 + 3), 0xFF);
}

TEST_F(ScreenLayout, WindowFrameCodes)
{
    CPlayWindow* plain = AddWindow({0, 0, 32, 8});
    CPlayWindow* framed = AddWindow({32, 0, 64, 8});
    AddZone<CTextZone>(plain);
    AddZone<CTextZone>(framed);
    plain->Frame().enabled = 0;
    plain->Frame().type = 4;
    framed->Frame() = WindowFrame{1, 0, 3, 1, 2};
    QByteArray data = Compile();
    EXPECT_EQ(U16(data, 132 + 412), 0);
    EXPECT_EQ(U16(data, 132 + 414), 0x2350);
    framed->Frame() = WindowFrame{1, 20, 0x1F, 9, 15};
    data = Compile();
    EXPECT_EQ(U16(data, 132 + 414), 0x13 | 0x10 | (7 << 5) | (0xF << 8) | (1 << 13));
    EXPECT_EQ(U16(data, 132 + 416), 0);
}

TEST_F(ScreenLayout, OnlyTheFirst16WindowsAnd200ZonesAreCompiled)
{
    SetScreen(512, 16, 1, 1);
    for (int i = 0; i < 17; ++i)
        AddZone<CTextZone>(AddWindow({i * 16, 0, i * 16 + 16, 8}));
    const std::int64_t perZone = 20 + 4 + 8 * 4;
    EXPECT_EQ(GetDataSize(*program), 16 * perZone);
    QByteArray data = Compile();
    ASSERT_TRUE(lastResult);
    EXPECT_EQ(data.size(), 128 + 4 + 444 + 16 * perZone);
    EXPECT_EQ(U16(data, 132 + 216 + 15 * 12 + 4), 240);

    CProgram* second = AddProgram();
    CPlayWindow* crowded = AddWindow({0, 0, 8, 1}, second);
    for (int i = 0; i < 201; ++i)
        AddZone<CTextZone>(crowded);
    const std::int64_t small = 20 + 4 + 4;
    EXPECT_EQ(GetDataSize(*crowded), 200 * small);
    data = Compile();
    ASSERT_TRUE(lastResult);
    EXPECT_EQ(data.size(), 128 + 8 + 2 * 444 + 16 * perZone + 200 * small);
    // The 200th record ends the chain.
    EXPECT_EQ(U32(data, data.size() - small), 0u);
}

TEST_F(ScreenLayout, MoreThan255PagesKeepThePageCountTrue)
{
    SetScreen(64, 32, 1, 1);
    CTextZone* zone = AddZone<CTextZone>(AddWindow({0, 0, 8, 2}), 300);
    (void)zone;
    const QByteArray data = Compile();
    ASSERT_TRUE(lastResult);
    EXPECT_EQ(U8(data, 576 + 6), 255);
    EXPECT_EQ(data.size(), 576 + 20 + 255 * (4 + 8));
}

TEST_F(ScreenLayout, WindowsTheTableCannotHoldAreSkipped)
{
    AddZone<CTextZone>(AddWindow({0, 0, 70000, 2}));
    EXPECT_EQ(GetDataSize(*screen), 0);
    EXPECT_TRUE(Compile().isEmpty());
}

TEST_F(ScreenLayout, DataTooLargeForTheBufferIsRefusedWithAReason)
{
    SetScreen(64, 32, 3, 1);
    // Two pages that are not drawn: their size still counts.
    CTextZone* zone = AddZone<CTextZone>(AddWindow({0, 0, 65535, 65535}), 0);
    zone->Pages().push_back(nullptr);
    zone->Pages().push_back(nullptr);
    ClearLastError();
    EXPECT_GT(GetScreenDataLength(*screen), 0x7FFFFFFF);
    EXPECT_TRUE(Compile().isEmpty());
    EXPECT_FALSE(LastError().isEmpty());
}

TEST_F(ScreenLayout, ZeroSizedPagesAndMissingBitmapsStillGiveConsistentData)
{
    CTextZone* zone = AddZone<CTextZone>(AddWindow({0, 0, 40, 4}), 3);
    zone->Pages()[0].reset(); // missing page
    zone->Pages()[1] = std::make_unique<CLedBitmap>(Filled(8, 2, qRgb(255, 255, 255))); // small
    zone->Pages()[2] = std::make_unique<CLedBitmap>(Filled(100, 100, qRgb(255, 0, 0))); // large
    const QByteArray data = Compile();
    ASSERT_TRUE(lastResult);
    const int plane = 4 * 8;
    const int page = 4 + 3 * plane;
    ASSERT_EQ(data.size(), 576 + 20 + 3 * page);
    const int first = 596 + 4;
    for (int i = 0; i < 3 * plane; ++i)
        EXPECT_EQ(U8(data, first + i), 0) << "missing page byte " << i;
    const int second = 596 + page + 4;
    EXPECT_EQ(U8(data, second), 0xFF);         // row 0 columns 0-7 lit
    EXPECT_EQ(U8(data, second + 1), 0x00);     // column 8 on is outside the small bitmap
    EXPECT_EQ(U8(data, second + 2 * 8), 0x00); // row 2 is outside it
    const int third = 596 + 2 * page + 4;
    EXPECT_EQ(U32(data, third), 0xFFFFFFFFu);
    EXPECT_EQ(U32(data, third + 4), 0xFFu);  // columns 32-39 lit, filler dark
    EXPECT_EQ(U32(data, third + plane), 0u); // green dark
}

class PageOrderAndHolds : public CompileFixture
{
protected:
    // The red bit of row 0 column `marker` identifies the page.
    template <typename Zone> Zone* MarkedZone(int pages)
    {
        Zone* zone = AddZone<Zone>(AddWindow({0, 0, 8, 1}), pages);
        for (int i = 0; i < pages; ++i) {
            QImage image = Filled(8, 1, qRgb(0, 0, 0));
            image.setPixel(i, 0, qRgb(255, 0, 0));
            SetPage(zone, i, image);
        }
        return zone;
    }
    static int PageMarker(const QByteArray& data, int index)
    {
        return __builtin_ctz(U8(data, 596 + index * (4 + 4) + 4));
    }
    static int PageHold(const QByteArray& data, int index) { return U16(data, 596 + index * 8); }
};

TEST_F(PageOrderAndHolds, MoveRightWithoutStayPlaysLastPageFirst)
{
    SetScreen(64, 32, 1, 1);
    CTextZone* zone = MarkedZone<CTextZone>(3);
    zone->SetAction(ActionMoveRight);
    zone->SetHold(0);
    QByteArray data = Compile();
    EXPECT_EQ(PageMarker(data, 0), 2);
    EXPECT_EQ(PageMarker(data, 1), 1);
    EXPECT_EQ(PageMarker(data, 2), 0);
    zone->SetHold(5);
    data = Compile();
    EXPECT_EQ(PageMarker(data, 0), 0);
    EXPECT_EQ(PageHold(data, 0), 5);
}

TEST_F(PageOrderAndHolds, TableReverses)
{
    SetScreen(64, 32, 1, 1);
    CTableZone* table = MarkedZone<CTableZone>(2);
    table->SetAction(ActionMoveRight);
    table->SetHold(0);
    const QByteArray data = Compile();
    EXPECT_EQ(U8(data, 576 + 7), 4);
    EXPECT_EQ(PageMarker(data, 0), 1);
}

TEST_F(PageOrderAndHolds, ImageKeepsItsOrderAndAnimateCompilesAsImage)
{
    SetScreen(64, 32, 1, 1);
    CImageZone* image = MarkedZone<CImageZone>(2);
    image->SetAction(ActionMoveRight);
    image->SetHold(0);
    EXPECT_EQ(PageMarker(Compile(), 0), 0);
    program->DeleteChild(image->Parent());
    CAnimateZone* animate = MarkedZone<CAnimateZone>(3);
    animate->PageHolds() = {11, 12};
    animate->SetHold1(40);
    const QByteArray data = Compile();
    EXPECT_EQ(U8(data, 576 + 7), 2);
    EXPECT_EQ(PageHold(data, 0), 11);
    EXPECT_EQ(PageHold(data, 1), 12);
    EXPECT_EQ(PageHold(data, 2), 40);
}

TEST_F(PageOrderAndHolds, EffectDecidesTheHold)
{
    SetScreen(64, 32, 1, 1);
    CTextZone* zone = MarkedZone<CTextZone>(2);
    zone->SetHold(321);
    zone->SetAction(ActionAlwaysHold);
    QByteArray data = Compile();
    EXPECT_EQ(U16(data, 576 + 4), 0xFFFF);
    EXPECT_EQ(PageHold(data, 1), 0xFFFF);
    zone->SetAction(ActionContinuousMoveLeft);
    data = Compile();
    EXPECT_EQ(PageHold(data, 0), 0);
    zone->SetAction(ActionMoveLeft);
    EXPECT_EQ(PageHold(Compile(), 1), 321);
}

TEST_F(PageOrderAndHolds, AnimatedImageHolds)
{
    SetScreen(64, 32, 1, 1);
    CImageZone* zone = MarkedZone<CImageZone>(5);
    zone->FrameDelays() = {7, 8, 9};
    zone->Key().extra = 2;
    const QByteArray data = Compile();
    EXPECT_EQ(U8(data, 576 + 7), 2);
    EXPECT_EQ(PageHold(data, 0), 27);
    EXPECT_EQ(PageHold(data, 2), 29);
    EXPECT_EQ(PageHold(data, 3), 10);
    EXPECT_EQ(PageHold(data, 4), 10);
    zone->Key().extra = -1;
    EXPECT_EQ(PageHold(Compile(), 0), 0);
}
