#include "model/led_bitmap.h"
#include "platform/font_mapping.h"
#include "render/led_paint.h"
#include "render/renderer.h"

#include <QFontInfo>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

QImage Filled(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

TEST(ReduceColoursTest, KeyColourTurnsBlackOthersSaturate)
{
    QImage image = Filled(3, 1, qRgb(0, 0, 0));
    image.setPixel(0, 0, qRgb(250, 250, 250));
    image.setPixel(1, 0, qRgb(200, 30, 5));
    image.setPixel(2, 0, qRgb(11, 10, 255));
    ImageKeyParams key; // 0xFAFAFA, tolerance 5, limit 10
    ReduceColours(image, key);
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(1, 0), qRgb(255, 255, 0));
    EXPECT_EQ(image.pixel(2, 0), qRgb(255, 0, 255));
}

TEST(ReduceColoursTest, ToleranceIsInclusiveOnEveryChannel)
{
    QImage image = Filled(3, 1, qRgb(0, 0, 0));
    image.setPixel(0, 0, qRgb(245, 255, 250)); // every channel within 5
    image.setPixel(1, 0, qRgb(244, 250, 250)); // red one step outside
    image.setPixel(2, 0, qRgb(0x10, 0x20, 0x30));
    QImage keyed = image;
    ReduceColours(image, 0xFAFAFA, 5, 10);
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(1, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(2, 0), qRgb(255, 255, 255));
    // Key colour is 0x00BBGGRR: 0x302010 keys red 0x10, green 0x20, blue 0x30.
    ReduceColours(keyed, 0x302010, 0, 10);
    EXPECT_EQ(keyed.pixel(2, 0), qRgb(0, 0, 0));
}

TEST(ReduceToScreenColoursTest, KeepsTheChannelsTheScreenHasAtThePlaneThreshold)
{
    QImage image = Filled(3, 1, qRgb(0, 0, 0));
    image.setPixel(0, 0, qRgb(1, 2, 200));
    image.setPixel(1, 0, qRgb(2, 0, 0));
    image.setPixel(2, 0, qRgb(0, 255, 0));
    QImage single = image;
    ReduceToScreenColours(single, 1);
    EXPECT_EQ(single.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(single.pixel(1, 0), qRgb(255, 0, 0));
    EXPECT_EQ(single.pixel(2, 0), qRgb(0, 0, 0)); // pure green is dark on a red screen
    QImage two = image;
    ReduceToScreenColours(two, 2);
    EXPECT_EQ(two.pixel(0, 0), qRgb(0, 255, 0));
    QImage full = image;
    ReduceToScreenColours(full, 3);
    EXPECT_EQ(full.pixel(0, 0), qRgb(0, 255, 255));
}

TEST(InkRowsTest, FindsFirstAndLastRowWithAnyLitPixel)
{
    QImage image = Filled(8, 10, qRgb(0, 0, 0));
    EXPECT_FALSE(FindInkRows(image).HasInk());
    image.setPixel(7, 3, qRgb(1, 0, 0));
    image.setPixel(0, 6, qRgb(0, 0, 1));
    const InkRows rows = FindInkRows(image);
    ASSERT_TRUE(rows.HasInk());
    EXPECT_EQ(rows.first, 3);
    EXPECT_EQ(rows.last, 6);
    EXPECT_EQ(rows.Height(), 4);
}

TEST(CopyRectTest, ClipsAgainstBothImages)
{
    QImage source = Filled(4, 4, qRgb(255, 0, 0));
    QImage target = Filled(4, 4, qRgb(0, 0, 0));
    CopyRect(target, -2, 2, source, 0, 0, 4, 4);
    EXPECT_EQ(target.pixel(0, 2), qRgb(255, 0, 0));
    EXPECT_EQ(target.pixel(1, 3), qRgb(255, 0, 0));
    EXPECT_EQ(target.pixel(2, 2), qRgb(0, 0, 0));
    EXPECT_EQ(target.pixel(0, 1), qRgb(0, 0, 0));
    CopyRect(target, 0, 0, source, 10, 10, 4, 4); // entirely outside: nothing happens
    EXPECT_EQ(target.pixel(3, 0), qRgb(0, 0, 0));
}

TEST(LedBitmapTest, CreateRefusesEmptySizesAndLoadsFiles)
{
    CLedBitmap bitmap;
    EXPECT_FALSE(bitmap.Create(0, 5));
    EXPECT_TRUE(bitmap.IsNull());
    ASSERT_TRUE(bitmap.Create(5, 3));
    EXPECT_EQ(bitmap.Image().pixel(4, 2), qRgb(0, 0, 0));
    EXPECT_FALSE(bitmap.LoadFile(QStringLiteral("/nonexistent/picture.png")));
    EXPECT_TRUE(bitmap.IsNull());
}

TEST(FontMappingTest, WindowsFacesDrawChineseGlyphs)
{
    InstallRenderer();
    for (const char* face : {"宋体", "SimSun", "黑体", "楷体", "Arial", "Times New Roman"}) {
        QImage image = Filled(40, 24, qRgb(0, 0, 0));
        {
            QPainter painter(&image);
            painter.setFont(LedFont(QString::fromUtf8(face), 16));
            painter.setPen(QColor(255, 0, 0));
            painter.drawText(QRect(0, 0, 40, 24), Qt::AlignLeft | Qt::AlignTop,
                             QStringLiteral("中文"));
        }
        EXPECT_GE(FindInkRows(image).Height(), 10) << face;
    }
    EXPECT_TRUE(ResolvedFontFamily(QStringLiteral("宋体")).contains(QLatin1String("WenQuanYi")));
}

TEST(FontMappingTest, TextIsDrawnWithoutAntiAliasing)
{
    InstallRenderer();
    QImage image = Filled(96, 24, qRgb(0, 0, 0));
    {
        QPainter painter(&image);
        SetLedRenderHints(painter);
        painter.setFont(LedFont(QStringLiteral("宋体"), 16));
        painter.setPen(QColor(255, 0, 0));
        painter.drawText(QRect(0, 0, 96, 24), Qt::AlignLeft | Qt::AlignTop,
                         QStringLiteral("中文 Text"));
        painter.setFont(LedFont(QStringLiteral("Arial"), 13));
        painter.drawText(QRect(0, 0, 96, 24), Qt::AlignRight | Qt::AlignBottom,
                         QStringLiteral("Welcome!"));
    }
    int lit = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            ASSERT_TRUE(pixel == qRgb(0, 0, 0) || pixel == qRgb(255, 0, 0)) << x << "," << y;
            lit += pixel == qRgb(255, 0, 0);
        }
    }
    EXPECT_GT(lit, 40);
}

} // namespace
