#include "render/led_paint.h"
#include "render/rich_text_render.h"
#include "render/text_pages.h"
#include "render/zone_renderers.h"

#include <gtest/gtest.h>

namespace {

// A line bitmap 1.5 windows high with ink on rows [top, top + rows).
QImage Line(int width, int height, int top, int rows, QRgb colour = qRgb(255, 0, 0))
{
    QImage image = BlackImage(width, height);
    for (int y = top; y < top + rows; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, colour);
    return image;
}

class PackLinesTest : public ::testing::Test
{
protected:
    std::vector<QImage> ThreeLines() const
    {
        return {Line(64, 48, 3, 12), Line(64, 48, 5, 12), Line(64, 48, 2, 12)};
    }
};

TEST_F(PackLinesTest, TwoLinesWithQuarterGapThenThirdOnNextPage)
{
    const std::vector<QImage> pages = PackLines(ThreeLines(), 64, 32, 1, 0, 0);
    ASSERT_EQ(pages.size(), 2u);
    // 12 + 3 + 12 = 27 rows centred: first ink row 2, gap rows 14 to 16, last 28.
    const InkRows first = FindInkRows(pages[0]);
    EXPECT_EQ(first.first, 2);
    EXPECT_EQ(first.last, 28);
    EXPECT_EQ(pages[0].pixel(0, 14), qRgb(0, 0, 0));
    EXPECT_EQ(pages[0].pixel(0, 16), qRgb(0, 0, 0));
    EXPECT_EQ(pages[0].pixel(0, 17), qRgb(255, 0, 0));
    const InkRows second = FindInkRows(pages[1]);
    EXPECT_EQ(second.first, 10);
    EXPECT_EQ(second.last, 21);
}

TEST_F(PackLinesTest, TopAndBottomAlignment)
{
    const std::vector<QImage> top = PackLines(ThreeLines(), 64, 32, 2, 0, 0);
    EXPECT_EQ(FindInkRows(top[1]).first, 0);
    const std::vector<QImage> bottom = PackLines(ThreeLines(), 64, 32, 3, 0, 0);
    // 32 - 12 - 1: one row above the bottom when the block does not fill the window.
    EXPECT_EQ(FindInkRows(bottom[1]).first, 19);
    EXPECT_EQ(FindInkRows(bottom[0]).first, 4);
}

TEST_F(PackLinesTest, FixedPitchUsesNoGapAndCentresInkInThePitch)
{
    // pitch 16, top 0: each line takes 16 rows, ink 12 rows centred (2 above).
    const std::vector<QImage> pages = PackLines(ThreeLines(), 64, 32, 2, 0, 16);
    ASSERT_EQ(pages.size(), 2u);
    const InkRows rows = FindInkRows(pages[0]);
    EXPECT_EQ(rows.first, 2);
    EXPECT_EQ(rows.last, 16 + 2 + 11);
    EXPECT_EQ(pages[0].pixel(0, 14), qRgb(0, 0, 0));
    EXPECT_EQ(pages[0].pixel(0, 18), qRgb(255, 0, 0));
}

TEST_F(PackLinesTest, VerticalAlignZeroTakesWindowHighLines)
{
    const std::vector<QImage> pages = PackLines(ThreeLines(), 64, 32, 0, 0, 0);
    EXPECT_EQ(pages.size(), 3u);
    EXPECT_EQ(FindInkRows(pages[0]).first, 0);
}

TEST_F(PackLinesTest, TallLineFillsAPageAloneAndBlankLinesAreLeftOut)
{
    std::vector<QImage> lines = {Line(64, 80, 0, 50), BlackImage(64, 48), Line(64, 48, 0, 4)};
    const std::vector<QImage> pages = PackLines(lines, 64, 32, 1, 0, 0);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(FindInkRows(pages[0]).first, 0);
    EXPECT_EQ(FindInkRows(pages[0]).last, 31);
    EXPECT_EQ(FindInkRows(pages[1]).first, 14);
}

TEST(StripCutTest, WideStripIsCutIntoWindowWidePagesWithInkPlacedByAlignment)
{
    QImage strip = BlackImage(150, 48);
    for (int y = 20; y < 30; ++y)
        for (int x = 0; x < 140; ++x)
            strip.setPixel(x, y, qRgb(0, 255, 0));
    const std::vector<QImage> middle = CutWideStrip(strip, 64, 32, 1);
    ASSERT_EQ(middle.size(), 3u);
    EXPECT_EQ(FindInkRows(middle[0]).first, 11);
    EXPECT_EQ(middle[2].pixel(11, 11), qRgb(0, 255, 0));
    EXPECT_EQ(middle[2].pixel(12, 11), qRgb(0, 0, 0)); // columns past the text
    EXPECT_EQ(FindInkRows(CutWideStrip(strip, 64, 32, 3)[0]).first, 21);
    EXPECT_EQ(FindInkRows(CutWideStrip(strip, 64, 32, 2)[0]).first, 0);
}

TEST(StripCutTest, TallStripPagesStartAtFirstInkRowAndKeepTheLastRow)
{
    QImage strip = BlackImage(32, 120);
    strip.setPixel(0, 5, qRgb(255, 0, 0));
    strip.setPixel(0, 69, qRgb(255, 0, 0));
    const std::vector<QImage> pages = CutTallStrip(strip, 32, 32);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(pages[2].pixel(0, 0), qRgb(255, 0, 0));
    QImage single = BlackImage(32, 48);
    single.setPixel(3, 7, qRgb(255, 0, 0));
    EXPECT_EQ(CutTallStrip(single, 32, 32).size(), 1u);
}

TEST(StripCutTest, BlankLastPageIsDroppedButNeverTheOnlyPage)
{
    std::vector<QImage> pages = {Line(8, 8, 0, 1), BlackImage(8, 8)};
    DropBlankLastPage(pages);
    EXPECT_EQ(pages.size(), 1u);
    std::vector<QImage> alone = {BlackImage(8, 8)};
    DropBlankLastPage(alone);
    EXPECT_EQ(alone.size(), 1u);
}

TEST(TextLayoutModeTest, EffectChoosesTheLayout)
{
    EXPECT_EQ(TextLayoutMode(3, 100), RichTextWideStrip);
    EXPECT_EQ(TextLayoutMode(5, 0), RichTextSingleLine);
    EXPECT_EQ(TextLayoutMode(5, 10), RichTextLines);
    EXPECT_EQ(TextLayoutMode(6, 0), RichTextTallStrip);
    EXPECT_EQ(TextLayoutMode(7, 0), RichTextTallStrip);
    EXPECT_EQ(TextLayoutMode(7, 1), RichTextLines);
    EXPECT_EQ(TextLayoutMode(1, 0), RichTextLines);
}

} // namespace
