#include "picture_files.h"
#include "render/dither.h"
#include "render/led_paint.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

using namespace picture_files;

// A horizontal grey ramp from black to almost white (every pixel outside the key).
QImage GreyRamp(int width, int height)
{
    QImage ramp(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int level = x * 240 / (width - 1);
            ramp.setPixel(x, y, qRgb(level, level, level));
        }
    }
    return ramp;
}

std::map<QRgb, int> Colours(const QImage& image, int fromX, int toX)
{
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = fromX; x < toX; ++x)
            ++counts[image.pixel(x, y) & 0xFFFFFF];
    }
    return counts;
}

// Lit LEDs, or with channels, lit channels.
int Lit(const QImage& image, int fromX, int toX, bool channels = false)
{
    int lit = 0;
    for (const auto& [colour, count] : Colours(image, fromX, toX)) {
        if (!channels)
            lit += colour != 0 ? count : 0;
        else
            lit += count *
                   (((colour & 0xFF) != 0) + ((colour & 0xFF00) != 0) + ((colour & 0xFF0000) != 0));
    }
    return lit;
}

TEST(DitherTest, AGreyRampBecomesAMixOfTheScreensColoursFollowingItsTones)
{
    const QImage ramp = GreyRamp(64, 16);
    const ImageKeyParams key; // white, 5, 10
    for (int depth : {1, 2, 3}) {
        const QImage dithered = DitherToScreenColours(ramp, depth, key);
        ASSERT_EQ(dithered.size(), ramp.size());
        // Only the screen's colours, and not white on a full-colour screen: the key would
        // take it.
        for (const auto& [colour, count] : Colours(dithered, 0, 64)) {
            EXPECT_EQ(colour & ~0xFFFFFFu, 0u);
            for (int shift : {0, 8, 16}) {
                const int channel = (colour >> shift) & 0xFF;
                EXPECT_TRUE(channel == 0 || channel == 255) << std::hex << colour;
            }
            if (depth == 1) {
                EXPECT_TRUE(colour == 0 || colour == 0xFF0000u) << std::hex << colour;
            }
            if (depth == 2) {
                EXPECT_EQ(colour & 0xFF, 0u) << std::hex << colour;
            }
            EXPECT_NE(colour, 0xFFFFFFu);
        }
        // Darker on the left, lighter on the right, a mix in the middle: no solid block.
        const int left = Lit(dithered, 0, 16, true);
        const int middle = Lit(dithered, 24, 40, true);
        const int right = Lit(dithered, 48, 64, true);
        const int channels = 16 * 16 * depth;
        EXPECT_LT(left, middle) << depth;
        EXPECT_LT(middle, right) << depth;
        EXPECT_GT(middle, channels / 5) << depth;
        EXPECT_LT(middle, channels * 4 / 5) << depth;
        // What the card makes of it is the dithered picture itself.
        QImage card = dithered;
        ReduceColours(card, key);
        ReduceToScreenColours(card, depth);
        EXPECT_EQ(card, dithered) << depth;
    }
    // Without dithering the same ramp is one solid block above the pixel limit.
    QImage reduced = ramp;
    ReduceColours(reduced, key);
    EXPECT_EQ(Lit(reduced, 24, 40), 16 * 16);
}

TEST(DitherTest, TheKeyColourStaysDarkAndBlueShowsOnARedSign)
{
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(qRgb(250, 250, 250));
    const ImageKeyParams key;
    EXPECT_EQ(Lit(DitherToScreenColours(picture, 3, key), 0, 16), 0);
    picture.fill(qRgb(0, 0, 255)); // a blue sky: dark on a red sign without dithering
    EXPECT_GT(Lit(DitherToScreenColours(picture, 1, key), 0, 16), 0);
    EXPECT_TRUE(DitherToScreenColours(QImage(), 1, key).isNull());
}

TEST(DitherTest, TheDitheredPictureIsWrittenBesideTheProjectWithoutReplacingOthers)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("photo.png"));
    ASSERT_TRUE(GreyRamp(64, 16).save(source));
    const QString folder = dir.filePath(QStringLiteral("project"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const ImageKeyParams key;
    QString written;
    QString reason;
    ASSERT_TRUE(WriteDitheredPicture(source, 32, 8, 1, key, folder, written, reason))
        << reason.toStdString();
    EXPECT_EQ(written, QDir(folder).filePath(QStringLiteral("photo-dithered.png")));
    const QImage first(written);
    EXPECT_EQ(first.size(), QSize(32, 8));
    // The same again gives the same file; someone else's file of that name is kept.
    QString again;
    ASSERT_TRUE(WriteDitheredPicture(source, 32, 8, 1, key, folder, again, reason));
    EXPECT_EQ(again, written);
    ASSERT_TRUE(WriteFileBytes(written, "someone else's"));
    ASSERT_TRUE(WriteDitheredPicture(source, 32, 8, 1, key, folder, again, reason));
    EXPECT_EQ(again, QDir(folder).filePath(QStringLiteral("photo-dithered-2.png")));
    EXPECT_EQ(ReadFileBytes(written), QByteArray("someone else's"));

    // An animation, a missing file and a folder that is not there are refused.
    const QString animation = dir.filePath(QStringLiteral("moving.gif"));
    ASSERT_TRUE(WriteFileBytes(animation, Gif(4, 4, {qRgb(0, 0, 0), qRgb(255, 0, 0)}, 0,
                                              {GifFrame{0, 0, 4, 4, std::vector<int>(16, 1)},
                                               GifFrame{0, 0, 4, 4, std::vector<int>(16, 0)}})));
    EXPECT_FALSE(WriteDitheredPicture(animation, 4, 4, 1, key, folder, again, reason));
    EXPECT_TRUE(reason.contains(QStringLiteral("only still pictures"))) << reason.toStdString();
    EXPECT_FALSE(WriteDitheredPicture(dir.filePath(QStringLiteral("none.png")), 4, 4, 1, key,
                                      folder, again, reason));
    EXPECT_FALSE(WriteDitheredPicture(source, 4, 4, 1, key,
                                      dir.filePath(QStringLiteral("no/where")), again, reason));
    EXPECT_TRUE(reason.startsWith(QStringLiteral("The dithered picture cannot be written")))
        << reason.toStdString();
}

} // namespace
