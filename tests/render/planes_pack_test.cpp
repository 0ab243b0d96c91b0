// Bit-plane packing: thresholds, filler columns, polarity, and the fast path agreeing with
// the pixel-by-pixel path.
#include "render/bit_planes.h"
#include "render/byte_buffer.h"

#include <QImage>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

std::vector<std::uint8_t> PackImage(const QImage& image, int planeCount, bool litIsOne,
                                    bool generic = false)
{
    std::vector<std::uint8_t> out(planes::PlaneBytes(image.width(), image.height()) *
                                  static_cast<size_t>(planeCount));
    if (generic)
        planes::PackGeneric(image, image.width(), image.height(), planeCount, litIsOne, out.data());
    else
        planes::Pack(image, image.width(), image.height(), planeCount, litIsOne, out.data());
    return out;
}

QImage NoiseImage(int width, int height, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            // Components around the threshold, so that 1 and 2 both occur often.
            const auto component = [&] {
                const quint32 v = random.bounded(6u);
                return v < 4 ? v : 200 + v;
            };
            line[x] = 0xFF000000u | (component() << 16) | (component() << 8) | component();
        }
    }
    return image;
}

} // namespace

TEST(PlanePacking, ComponentOfTwoLightsOneDoesNot)
{
    QImage image(3, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(1, 1, 1));
    image.setPixel(1, 0, qRgb(2, 0, 0));
    image.setPixel(2, 0, qRgb(0, 2, 255));
    const auto out = PackImage(image, 3, true);
    ASSERT_EQ(out.size(), 12u);
    EXPECT_EQ(out[0], 0b010); // red
    EXPECT_EQ(out[4], 0b100); // green
    EXPECT_EQ(out[8], 0b100); // blue
}

TEST(PlanePacking, SingleColourEmitsOnlyRed)
{
    QImage image(8, 2, QImage::Format_RGB32);
    image.fill(qRgb(0, 255, 0));
    image.setPixel(3, 1, qRgb(255, 255, 0));
    const auto out = PackImage(image, 1, true);
    ASSERT_EQ(out.size(), 8u);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[4], 0x08);
}

TEST(PlanePacking, FillerColumnsFollowThePolarity)
{
    // 33 columns: two words per row; columns 33 to 63 are filler.
    QImage image(33, 2, QImage::Format_RGB32);
    image.fill(qRgb(255, 255, 255));
    auto lit = PackImage(image, 1, true);
    ASSERT_EQ(lit.size(), 16u);
    EXPECT_EQ(lit[4], 0x01);
    EXPECT_EQ(lit[5], 0x00);
    EXPECT_EQ(lit[7], 0x00);
    auto inverted = PackImage(image, 1, false);
    EXPECT_EQ(inverted[0], 0x00);
    EXPECT_EQ(inverted[4], 0xFE);
    EXPECT_EQ(inverted[5], 0xFF);
    EXPECT_EQ(inverted[7], 0xFF);
    // A dark page with the inverted polarity is all ones.
    image.fill(qRgb(0, 0, 0));
    for (std::uint8_t byte : PackImage(image, 3, false))
        EXPECT_EQ(byte, 0xFF);
}

class PlaneKernels : public ::testing::TestWithParam<planes::VectorPath>
{
protected:
    void SetUp() override
    {
        if (!planes::SelectVectorPath(GetParam()))
            GTEST_SKIP() << "the processor lacks this vector path";
    }
    void TearDown() override { planes::SelectVectorPath(planes::VectorPath::Best); }
};

INSTANTIATE_TEST_SUITE_P(EveryPath, PlaneKernels,
                         ::testing::Values(planes::VectorPath::Scalar, planes::VectorPath::Wide,
                                           planes::VectorPath::Widest));

TEST_P(PlaneKernels, FastPathMatchesPixelByPixel)
{
    ASSERT_TRUE(planes::HasFastPath(QImage(1, 1, QImage::Format_RGB32)));
    for (int width : {1, 31, 32, 33, 64, 95, 130, 257}) {
        const QImage image = NoiseImage(width, 5, static_cast<quint32>(width));
        for (int planeCount = 1; planeCount <= 3; ++planeCount) {
            for (bool litIsOne : {true, false}) {
                EXPECT_EQ(PackImage(image, planeCount, litIsOne),
                          PackImage(image, planeCount, litIsOne, true))
                    << "width " << width << " planes " << planeCount;
            }
        }
        // Other depths take the generic path with the same result.
        const QImage rgb888 = image.convertToFormat(QImage::Format_RGB888);
        ASSERT_FALSE(planes::HasFastPath(rgb888));
        EXPECT_EQ(PackImage(rgb888, 3, true), PackImage(image, 3, true));
    }
}

TEST_P(PlaneKernels, PageSmallerOrLargerThanTheWindow)
{
    const QImage image = NoiseImage(50, 7, 9);
    for (const QSize window : {QSize(40, 4), QSize(70, 9), QSize(64, 7)}) {
        const size_t bytes = planes::PlaneBytes(window.width(), window.height()) * 3;
        std::vector<std::uint8_t> fast(bytes), generic(bytes);
        planes::Pack(image, window.width(), window.height(), 3, false, fast.data());
        planes::PackGeneric(image, window.width(), window.height(), 3, false, generic.data());
        EXPECT_EQ(fast, generic) << window.width() << "x" << window.height();
    }
}

TEST(PlanePacking, UnpackRestoresThePureColours)
{
    const QImage image = NoiseImage(45, 6, 3);
    for (bool litIsOne : {true, false}) {
        const auto out = PackImage(image, 3, litIsOne);
        bool clean = false;
        const QImage back = planes::Unpack(out.data(), 45, 6, 3, litIsOne, &clean);
        EXPECT_TRUE(clean);
        for (int y = 0; y < 6; ++y) {
            for (int x = 0; x < 45; ++x) {
                const QRgb a = image.pixel(x, y), b = back.pixel(x, y);
                EXPECT_EQ(qRed(b), qRed(a) >= 2 ? 255 : 0);
                EXPECT_EQ(qGreen(b), qGreen(a) >= 2 ? 255 : 0);
                EXPECT_EQ(qBlue(b), qBlue(a) >= 2 ? 255 : 0);
            }
        }
        // Read with the wrong polarity, the filler columns show up.
        planes::Unpack(out.data(), 45, 6, 3, !litIsOne, &clean);
        EXPECT_FALSE(clean);
    }
}

TEST(ByteBuffer, GrowsByWholeStepsAndWritesLittleEndian)
{
    CByteBuffer buffer(4, 6);
    EXPECT_EQ(buffer.Capacity(), 4u);
    buffer.AppendU32(0x11223344);
    buffer.AppendU16(0xA1B2);
    EXPECT_EQ(buffer.Capacity(), 10u);
    buffer.AppendFill(7, 9);
    EXPECT_EQ(buffer.Capacity(), 16u);
    CByteBuffer other;
    other.AppendByte(0xEE);
    buffer.AppendBuffer(other);
    ASSERT_EQ(buffer.Length(), 16u);
    const std::vector<std::uint8_t> expected = {0x44, 0x33, 0x22, 0x11, 0xB2, 0xA1, 7, 7,
                                                7,    7,    7,    7,    7,    7,    7, 0xEE};
    EXPECT_EQ(buffer.Bytes(), expected);
    EXPECT_TRUE(buffer.WriteU32At(12, 0x01020304));
    EXPECT_FALSE(buffer.WriteU32At(13, 0));
    EXPECT_EQ(buffer.Bytes()[12], 0x04);
}

TEST(ByteBuffer, AppendsThatWouldReachTheLimitAreIgnored)
{
    CByteBuffer buffer(16, 4096);
    EXPECT_FALSE(buffer.CanAppend(0x7FFFFFFF - 4096));
    EXPECT_TRUE(buffer.CanAppend(0x7FFFFFFF - 4097));
    EXPECT_FALSE(buffer.AppendFill(0, 0x7FFFFFFF));
    EXPECT_EQ(buffer.AppendSpace(0x7FFFFFFF - 4096), nullptr);
    EXPECT_EQ(buffer.Length(), 0u);
}
