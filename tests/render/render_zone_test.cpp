#include "model/animate_zone.h"
#include "model/image_zone.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/table_zone.h"
#include "model/text_zone.h"
#include "render/led_paint.h"
#include "render/renderer.h"
#include "render/zone_renderers.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A minimal animated GIF: frames of one colour each (red, green alternating), each with the
// delay in hundredths; the LZW stream restarts every two pixels to keep codes 3 bits wide.
QByteArray AnimatedGif(int width, int height, int frames, int delay)
{
    QByteArray gif("GIF89a");
    const auto u16 = [&gif](int v) {
        gif.append(static_cast<char>(v & 0xFF));
        gif.append(static_cast<char>((v >> 8) & 0xFF));
    };
    u16(width);
    u16(height);
    gif.append(static_cast<char>(0xF1)); // global table of 4 colours
    gif.append('\0');
    gif.append('\0');
    const unsigned char palette[12] = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
    gif.append(reinterpret_cast<const char*>(palette), 12);
    gif.append("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
    for (int f = 0; f < frames; ++f) {
        gif.append("\x21\xF9\x04\x00", 4);
        u16(delay);
        gif.append("\x00\x00", 2);
        gif.append(',');
        u16(0);
        u16(0);
        u16(width);
        u16(height);
        gif.append('\0');
        gif.append('\x02'); // minimum code size
        const int colour = 1 + f % 2;
        QByteArray data;
        quint32 bits = 0;
        int count = 0;
        const auto put = [&](int code) {
            bits |= static_cast<quint32>(code) << count;
            count += 3;
            while (count >= 8) {
                data.append(static_cast<char>(bits & 0xFF));
                bits >>= 8;
                count -= 8;
            }
        };
        const int pixels = width * height;
        for (int p = 0; p < pixels; ++p) {
            if (p % 2 == 0)
                put(4); // clear
            put(colour);
        }
        put(5); // end
        if (count > 0)
            data.append(static_cast<char>(bits & 0xFF));
        for (qsizetype at = 0; at < data.size(); at += 255) {
            const QByteArray block = data.mid(at, 255);
            gif.append(static_cast<char>(block.size()));
            gif.append(block);
        }
        gif.append('\0');
    }
    gif.append(';');
    return gif;
}

class ZoneRenderTest : public ::testing::Test
{
protected:
    void SetUp() override { InstallRenderer(); }
    QString WriteFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QString WritePng(const QString& name, const QImage& image)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, "PNG"));
        return path;
    }
    QTemporaryDir dir;
    CProjectRoot root;
};

TEST_F(ZoneRenderTest, ImageZoneReducesColoursOnlyForTheController)
{
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(qRgb(200, 30, 5));
    picture.setPixel(0, 0, qRgb(250, 250, 250));
    CImageZone zone(&root);
    zone.Key().sourcePath = WritePng(QStringLiteral("p.png"), picture.scaled(64, 32));
    zone.Prepare(RenderForm::Display);
    ASSERT_EQ(zone.GetPageCount(), 1);
    EXPECT_EQ(zone.GetPage(0)->Image().pixel(40, 20), qRgb(200, 30, 5));
    zone.Prepare(RenderForm::Controller);
    ASSERT_EQ(zone.GetPageCount(), 1);
    EXPECT_EQ(zone.GetPage(0)->Image().pixel(40, 20), qRgb(255, 255, 0));
    EXPECT_EQ(zone.GetPage(0)->Image().pixel(2, 2), qRgb(0, 0, 0));
    EXPECT_TRUE(zone.FrameDelays().empty());
}

TEST_F(ZoneRenderTest, ImageZoneWithoutFileKeepsItsPagesAndBadFilesGiveNone)
{
    CImageZone zone(&root);
    zone.Prepare(RenderForm::Display);
    ASSERT_EQ(zone.GetPageCount(), 1); // the name page
    EXPECT_TRUE(FindInkRows(*zone.GetPage(0)).HasInk());
    zone.Prepare(RenderForm::Controller);
    EXPECT_EQ(zone.GetPageCount(), 1);
    zone.Key().sourcePath = dir.filePath(QStringLiteral("missing.png"));
    zone.Prepare(RenderForm::Controller);
    EXPECT_EQ(zone.GetPageCount(), 0);
    zone.Key().sourcePath =
        WriteFile(QStringLiteral("bad.png"), QByteArray("\x89PNG\r\n\x1a\n garbage", 17));
    zone.Prepare(RenderForm::Controller);
    EXPECT_EQ(zone.GetPageCount(), 0);
}

TEST_F(ZoneRenderTest, ImageZoneOfHugeDeclaredSizeDoesNotHang)
{
    // A PNG header claiming 20000 x 20000 pixels, with no data behind it.
    QImage small(2, 2, QImage::Format_RGB32);
    small.fill(Qt::red);
    QByteArray png;
    {
        QFile file(WritePng(QStringLiteral("s.png"), small));
        file.open(QIODevice::ReadOnly);
        png = file.readAll();
    }
    png[16] = 0;
    png[17] = 0;
    png[18] = 0x4E;
    png[19] = 0x20;
    png[20] = 0;
    png[21] = 0;
    png[22] = 0x4E;
    png[23] = 0x20;
    CImageZone zone(&root);
    zone.Key().sourcePath = WriteFile(QStringLiteral("huge.png"), png);
    zone.Prepare(RenderForm::Controller);
    EXPECT_LE(zone.GetPageCount(), 1);
}

TEST_F(ZoneRenderTest, AnimatedImageGivesOnePagePerFrameUpTo254WithDelays)
{
    CImageZone zone(&root);
    zone.Key().sourcePath = WriteFile(QStringLiteral("a.gif"), AnimatedGif(4, 2, 3, 25));
    zone.Prepare(RenderForm::Display);
    ASSERT_EQ(zone.GetPageCount(), 3);
    EXPECT_EQ(zone.GetPage(0)->Image().pixel(10, 10), qRgb(255, 0, 0));
    EXPECT_EQ(zone.GetPage(1)->Image().pixel(10, 10), qRgb(0, 255, 0));
    ASSERT_EQ(zone.FrameDelays().size(), 3u);
    EXPECT_EQ(zone.FrameDelays()[1], 25);
    EXPECT_EQ(zone.GetPageHold(1), 25u);

    zone.Key().sourcePath = WriteFile(QStringLiteral("b.gif"), AnimatedGif(2, 2, 300, 5));
    zone.Prepare(RenderForm::Controller);
    EXPECT_EQ(zone.GetPageCount(), 254);
}

class TextZoneTest : public ZoneRenderTest
{
protected:
    static QString Lines(int count)
    {
        QString rtf = QStringLiteral("{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl "
                                     ";\\red255\\green0\\blue0;}\\cf1\\f0\\fs24 ");
        for (int i = 0; i < count; ++i)
            rtf += QStringLiteral("HHH\\par ");
        return rtf + u'}';
    }
};

TEST_F(TextZoneTest, PagesOfLinesTwoPerPage)
{
    CTextZone zone(&root);
    zone.SetAction(ActionDirect);
    zone.SetRtf(Lines(3));
    zone.Prepare(RenderForm::Controller);
    ASSERT_EQ(zone.GetPageCount(), 2);
    const InkRows first = FindInkRows(*zone.GetPage(0));
    const InkRows second = FindInkRows(*zone.GetPage(1));
    const int k = second.Height(); // the ink height of "HHH"
    EXPECT_EQ(first.Height(), 2 * k + k / 4);
    EXPECT_EQ(first.first, (32 - first.Height()) / 2);
    EXPECT_EQ(second.first, (32 - k) / 2);
}

TEST_F(TextZoneTest, ContinuousMoveLeftCutsOneWideStrip)
{
    CTextZone zone(&root);
    zone.SetAction(ActionContinuousMoveLeft);
    zone.SetRtf(
        QStringLiteral(
            "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl ;\\red255\\green0\\blue0;}\\cf1\\fs20 ") +
        QString(60, u'W') + QStringLiteral("\\par}"));
    zone.Prepare(RenderForm::Controller);
    EXPECT_GE(zone.GetPageCount(), 6);
    for (int i = 0; i < zone.GetPageCount() - 1; ++i)
        EXPECT_TRUE(FindInkRows(*zone.GetPage(i)).HasInk()) << i;
    EXPECT_EQ(zone.GetPage(0)->Width(), 64);
}

TEST_F(TextZoneTest, MoveUpCutsOneTallStripAndTheDefaultTextRenders)
{
    CTextZone zone(&root);
    zone.SetAction(6);
    zone.SetHold(0);
    zone.SetRtf(Lines(8));
    zone.Prepare(RenderForm::Controller);
    EXPECT_GE(zone.GetPageCount(), 2);
    CTextZone welcome(&root);
    welcome.Prepare(RenderForm::Display);
    ASSERT_EQ(welcome.GetPageCount(), 1);
    const QImage page = welcome.GetPage(0)->Image();
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            ASSERT_TRUE(page.pixel(x, y) == qRgb(0, 0, 0) || page.pixel(x, y) == qRgb(255, 0, 0));
}

TEST_F(TextZoneTest, MoveRightWithoutHoldUsesOneWideStripAlignedAtTheTop)
{
    CTextZone zone(&root);
    zone.SetAction(ActionMoveRight);
    zone.SetHold(0);
    zone.SetVerticalAlign(AlignTop);
    zone.SetRtf(Lines(1));
    zone.Prepare(RenderForm::Controller);
    ASSERT_EQ(zone.GetPageCount(), 1);
    EXPECT_EQ(FindInkRows(*zone.GetPage(0)).first, 0);
    zone.SetVerticalAlign(AlignBottom);
    zone.Prepare(RenderForm::Controller);
    EXPECT_EQ(FindInkRows(*zone.GetPage(0)).last, 30);
}

TEST_F(TextZoneTest, TrailingEmptyParagraphsLeaveNoBlankPage)
{
    CTextZone zone(&root);
    zone.SetAction(ActionDirect);
    zone.SetRtf(QStringLiteral("{\\rtf1\\fs18 HHH\\par\\par\\par\\par\\par\\par\\par\\par}"));
    zone.Prepare(RenderForm::Controller);
    EXPECT_EQ(zone.GetPageCount(), 1);
}

class TableZoneTest : public ZoneRenderTest
{};

TEST_F(TableZoneTest, NarrowTableIsCentredBothWays)
{
    CTableZone zone(&root);
    zone.SetSize(1, 2);
    zone.ColumnWidths() = {26, 27}; // 54 wide
    zone.Rows()[0].height = 15;     // 16 high
    for (TableCell& cell : zone.Cells())
        cell.text.clear();
    zone.Prepare(RenderForm::Controller);
    ASSERT_EQ(zone.GetPageCount(), 1);
    const QImage page = zone.GetPage(0)->Image();
    const QRgb line = qRgb(255, 0, 0); // grid colour 255 = red
    EXPECT_EQ(page.pixel(5, 8), line); // left edge at (64 - 54) / 2
    EXPECT_EQ(page.pixel(4, 8), qRgb(0, 0, 0));
    EXPECT_EQ(page.pixel(6, 9), qRgb(0, 0, 0)); // a cell
    EXPECT_EQ(page.pixel(31, 9), line);         // the line between the columns: 5 + 26
    EXPECT_EQ(page.pixel(58, 23), line);        // bottom-right corner
    EXPECT_EQ(FindInkRows(page).first, 8);
}

TEST_F(TableZoneTest, TallTablesPageByRowsWideTablesByColumns)
{
    const QImage tall = BlackImage(40, 70);
    const std::vector<QImage> rows = CutTablePages(tall, 64, 32);
    EXPECT_EQ(rows.size(), 3u); // (70 + 30) / 32
    QImage wide = BlackImage(200, 20);
    wide.setPixel(0, 0, qRgb(255, 0, 0));
    const std::vector<QImage> columns = CutTablePages(wide, 64, 32);
    ASSERT_EQ(columns.size(), 4u);                      // (200 + 62) / 64
    EXPECT_EQ(columns[0].pixel(0, 6), qRgb(255, 0, 0)); // x 0, centred vertically
    EXPECT_EQ(CutTablePages(BlackImage(65, 20), 64, 32).size(), 1u);
}

TEST_F(TableZoneTest, DrawsTextAndSurvivesEmptyAndHugeTables)
{
    CTableZone zone(&root);
    zone.Prepare(RenderForm::Controller);
    ASSERT_GE(zone.GetPageCount(), 1);
    zone.SetSize(0, 0);
    zone.Prepare(RenderForm::Controller);
    EXPECT_EQ(zone.GetPageCount(), 1);
    zone.SetSize(3000, 2);
    zone.Prepare(RenderForm::Controller);
    EXPECT_GT(zone.GetPageCount(), 1000);
}

TEST_F(TableZoneTest, CellTextFollowsItsAlignmentCode)
{
    CTableZone zone(&root);
    zone.SetSize(1, 1);
    zone.ColumnWidths() = {60};
    zone.Rows()[0].height = 30;
    TableCell& cell = zone.Cell(0, 0);
    cell.text = QStringLiteral("I");
    cell.fontSize = 9;
    cell.foreColour = 0x00FF00; // green
    const auto inkColumns = [](const QImage& table) {
        int first = table.width();
        int last = -1;
        for (int y = 1; y < table.height() - 1; ++y)
            for (int x = 1; x < table.width() - 1; ++x)
                if (table.pixel(x, y) == qRgb(0, 255, 0)) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
        return std::make_pair(first, last);
    };
    cell.alignment = 0; // left, top
    QImage table = DrawTable(zone);
    EXPECT_LT(inkColumns(table).first, 8);
    EXPECT_LT(FindInkRows(table.copy(1, 1, 59, 29)).first, 6);
    cell.alignment = 8; // right, bottom
    table = DrawTable(zone);
    EXPECT_GT(inkColumns(table).second, 52);
    cell.alignment = 42; // out of range: centred
    table = DrawTable(zone);
    const auto centre = inkColumns(table);
    EXPECT_NEAR((centre.first + centre.second) / 2, 30, 3);
}

class AnimateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        text = BlackImage(64, 32);
        for (int y = 10; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                text.setPixel(x, y, qRgb(255, 0, 0));
    }
    QImage text;
    std::vector<std::uint32_t> holds;
};

TEST_F(AnimateTest, FlipHorizontalPagesAndHolds)
{
    const std::vector<QImage> pages = AnimatePages(text, 2, 16, 20, 60, holds);
    ASSERT_EQ(pages.size(), 17u);
    ASSERT_EQ(holds.size(), 17u);
    EXPECT_EQ(holds[0], 60u);
    EXPECT_EQ(holds[8], 30u);
    EXPECT_EQ(holds[1], 20u);
    EXPECT_EQ(holds[16], 60u);
    EXPECT_EQ(pages[0].pixel(0, 15), qRgb(255, 0, 0)); // the first step is the text itself
    // After quarter 0: the text squeezed to 4 pixels at x = 30.
    EXPECT_EQ(FindInkRows(pages[4]).first, 10);
    EXPECT_EQ(pages[4].pixel(29, 15), qRgb(0, 0, 0));
    EXPECT_EQ(pages[4].pixel(30, 15), qRgb(255, 0, 0));
    EXPECT_EQ(pages[4].pixel(34, 15), qRgb(0, 0, 0));
}

TEST_F(AnimateTest, FlipVerticalAndRotations)
{
    EXPECT_EQ(AnimatePages(text, 3, 16, 20, 60, holds).size(), 16u);
    EXPECT_EQ(holds.front(), 60u);
    EXPECT_EQ(holds[1], 20u);
    EXPECT_EQ(holds.back(), 60u);
    const std::vector<QImage> circum = AnimatePages(text, 4, 8, 20, 60, holds);
    ASSERT_EQ(circum.size(), 9u);
    EXPECT_EQ(circum[0], text); // angle 0
    EXPECT_EQ(circum[8], text); // angle 360
    const std::vector<QImage> revolve = AnimatePages(text, 5, 8, 20, 60, holds);
    ASSERT_EQ(revolve.size(), 9u);
    // Half a turn: the block at the left comes out at the right, upside down.
    EXPECT_EQ(revolve[4].pixel(60, 15), qRgb(255, 0, 0));
    EXPECT_EQ(revolve[4].pixel(5, 15), qRgb(0, 0, 0));
}

TEST_F(AnimateTest, SpritesMoveInFrontOfTheTextThenTheTextHolds)
{
    const std::vector<QImage> pages = AnimatePages(text, 0, 8, 20, 60, holds);
    ASSERT_EQ(pages.size(), 9u);
    EXPECT_EQ(holds, std::vector<std::uint32_t>({20, 20, 20, 20, 20, 20, 20, 20, 60}));
    EXPECT_EQ(pages.back(), text);
    // Page 2: edge at 64 - 2 * 8 = 48, the text starts there.
    EXPECT_EQ(pages[2].pixel(48, 15), qRgb(255, 0, 0));
    EXPECT_EQ(pages[2].pixel(47, 0) & 0xFFFFFF, 0u);
    const std::vector<QImage> right = AnimatePages(text, 7, 8, 20, 60, holds);
    ASSERT_EQ(right.size(), 9u);
    // Page 4: the text's right edge at 32, so its block (columns 0-19) sits at 32 - 64 + 0..19:
    // hidden.
    EXPECT_FALSE(FindInkRows(right[1].copy(8, 0, 56, 32)).HasInk() &&
                 right[1].pixel(60, 15) == qRgb(255, 0, 0));
}

TEST_F(ZoneRenderTest, AnimateZoneStoresOneHoldPerPage)
{
    CAnimateZone zone(&root);
    zone.SetAnimationType(2);
    zone.Prepare(RenderForm::Controller);
    EXPECT_EQ(zone.GetPageCount(), 17);
    EXPECT_EQ(zone.PageHolds().size(), 17u);
    EXPECT_EQ(zone.GetPageHold(16), 60u);
}

class BorderTest : public ZoneRenderTest
{};

TEST_F(BorderTest, BuiltInPatternsHaveTheirFixedHeights)
{
    const int heights[30] = {1, 2, 2, 2,  2,  2,  3,  3,  3, 4, 4, 5, 5, 5, 5,
                             5, 8, 8, 10, 11, 15, 16, 16, 1, 1, 7, 7, 7, 7, 8};
    for (int i = 0; i < 30; ++i) {
        const QImage pattern = BuiltInBorderPattern(i);
        EXPECT_EQ(pattern.size(), QSize(16, heights[i])) << i;
        EXPECT_TRUE(FindInkRows(pattern).HasInk()) << i;
    }
    EXPECT_TRUE(BuiltInBorderPattern(30).isNull());
}

TEST_F(BorderTest, ImageBorderIsScaledKeyedAndTurnedForTheSides)
{
    QImage source(40, 10, QImage::Format_RGB32);
    source.fill(qRgb(250, 250, 250));
    for (int x = 0; x < 40; ++x)
        source.setPixel(x, 0, qRgb(255, 0, 0));
    CProgram program(&root);
    program.Border().enabled = 1;
    program.Border().source = 1;
    program.BorderKey().sourcePath = WritePng(QStringLiteral("b.png"), source);
    program.Prepare(RenderForm::Controller);
    EXPECT_EQ(program.BorderWidth(), 4);
    EXPECT_EQ(program.BorderPattern().size(), QSize(16, 4));
    EXPECT_EQ(program.BorderPattern().pixel(5, 3), qRgb(0, 0, 0)); // key colour keyed out
    EXPECT_EQ(program.BorderStrip().size(), QSize(4, 16));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 4; ++x)
            ASSERT_EQ(program.BorderStrip().pixel(x, y), program.BorderPattern().pixel(y, x));
    program.Border().flat = 1;
    program.Prepare(RenderForm::Controller);
    EXPECT_EQ(program.BorderStrip().size(), QSize(4, 4));
    // A small picture is centred, not scaled.
    QImage small(6, 3, QImage::Format_RGB32);
    small.fill(qRgb(0, 255, 0));
    const QImage centred = BorderPatternFromImage(small);
    EXPECT_EQ(centred.size(), QSize(16, 3));
    EXPECT_EQ(centred.pixel(4, 1), qRgb(0, 0, 0));
    EXPECT_EQ(centred.pixel(5, 1), qRgb(0, 255, 0));
    EXPECT_EQ(centred.pixel(10, 1), qRgb(0, 255, 0));
    EXPECT_EQ(centred.pixel(11, 1), qRgb(0, 0, 0));
    // A missing picture turns the border off.
    program.BorderKey().sourcePath = dir.filePath(QStringLiteral("none.png"));
    program.Prepare(RenderForm::Controller);
    EXPECT_EQ(program.BorderWidth(), 0);
    program.Border().source = 0;
    program.Border().pattern = 21;
    program.Prepare(RenderForm::Controller);
    EXPECT_EQ(program.BorderWidth(), 16);
}

} // namespace
