#include "render/effect_player.h"
#include "render/random_source.h"

#include <QImage>

#include <gtest/gtest.h>

#include <bit>
#include <set>
#include <vector>

namespace {

struct Geometry
{
    int width;
    int height;
    int planes;
};

// A width that is not a multiple of 32, a height of 1, one and three planes.
const Geometry kGeometries[] = {{40, 1, 1}, {70, 3, 3}, {33, 17, 2}, {64, 32, 3}};

QImage NoisePage(int width, int height, std::uint32_t seed)
{
    CSeededRandom random(seed);
    QImage page(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int bits = random.Next();
            page.setPixel(x, y, qRgb(bits & 1 ? 255 : 0, bits & 2 ? 200 : 1, bits & 4 ? 2 : 0));
        }
    }
    return page;
}

bool Lit(const CEffectPlayer& player, const std::vector<std::uint32_t>& set, int plane, int x,
         int y)
{
    const int rowWords = player.Stride() / 32;
    const std::uint32_t word =
        set[static_cast<std::size_t>((plane * player.Height() + y) * rowWords + x / 32)];
    return (word >> (x % 32)) & 1u;
}

// True when no column past the width is lit in any row of any plane.
bool FillerDark(const CEffectPlayer& player, const std::vector<std::uint32_t>& set)
{
    for (int p = 0; p < player.Planes(); ++p) {
        for (int y = 0; y < player.Height(); ++y) {
            for (int x = player.Width(); x < player.Stride(); ++x) {
                if (Lit(player, set, p, x, y))
                    return false;
            }
        }
    }
    return true;
}

int TableSteps(int effect, int w, int h, int p)
{
    const int s = (w + 31) / 32 * 32;
    const int table[EffectTypeCount] = {1,
                                        1,
                                        1,
                                        w,
                                        w,
                                        w,
                                        h,
                                        h,
                                        p * s * h / 32,
                                        4 * h,
                                        4 * h,
                                        18,
                                        18,
                                        w / 2,
                                        w / 2,
                                        w,
                                        w,
                                        h,
                                        h,
                                        2 * w,
                                        2 * w,
                                        2 * h,
                                        2 * h,
                                        std::min(w, h),
                                        std::min(w, h),
                                        std::min(w, h),
                                        std::min(w, h),
                                        w,
                                        w,
                                        h,
                                        h,
                                        w / 2,
                                        w / 2,
                                        h / 2,
                                        h / 2,
                                        32,
                                        8,
                                        h,
                                        w,
                                        h,
                                        w,
                                        w * h / 1024,
                                        (w + h) / 2,
                                        (w + h) / 2,
                                        w + h,
                                        w + h};
    return std::max(table[effect], 1);
}

class EffectPlayerTest : public ::testing::Test
{
protected:
    CSeededRandom random{99};
    CEffectPlayer player{&random};
    QImage output;

    void LoadGeometry(const Geometry& g, const QImage& first, int effect = EffectDirect,
                      const EffectBorder& border = {})
    {
        output = QImage(g.width, g.height, QImage::Format_RGB32);
        ASSERT_TRUE(player.Load(&output, &first, effect, g.planes, g.width, g.height, border));
    }
};

TEST_F(EffectPlayerTest, StepCountsFollowTheTableAndEveryEffectEndsOnTheExactPage)
{
    for (const Geometry& g : kGeometries) {
        const QImage before = NoisePage(g.width, g.height, 1);
        const QImage page = NoisePage(g.width, g.height, 2);
        for (int effect = 1; effect < EffectTypeCount; ++effect) {
            SCOPED_TRACE(testing::Message()
                         << g.width << "x" << g.height << "x" << g.planes << " effect " << effect);
            LoadGeometry(g, before);
            player.Step();
            player.LoadPage(&page, effect);
            const int expected = TableSteps(effect, g.width, g.height, g.planes);
            EXPECT_EQ(player.Steps(), expected);
            EXPECT_EQ(CEffectPlayer::StepCount(effect, g.width, g.height, g.planes), expected);
            int steps = 1;
            bool filler = true;
            while (player.Step()) {
                ++steps;
                filler = filler && FillerDark(player, player.Current());
                ASSERT_LE(steps, expected);
            }
            EXPECT_EQ(steps, expected);
            EXPECT_TRUE(filler);
            EXPECT_EQ(player.Current(), player.Target());
            EXPECT_EQ(player.Shown(), player.Target());
            // The output shows the page reduced to the planes: channel above 1 is lit.
            for (int y = 0; y < g.height; ++y) {
                for (int x = 0; x < g.width; ++x) {
                    const QRgb in = page.pixel(x, y);
                    const QRgb want =
                        qRgb(qRed(in) > 1 ? 255 : 0, g.planes >= 2 && qGreen(in) > 1 ? 255 : 0,
                             g.planes >= 3 && qBlue(in) > 1 ? 255 : 0);
                    ASSERT_EQ(output.pixel(x, y), want) << x << "," << y;
                }
            }
        }
    }
}

// Windows from one pixel up: one row or one column, odd widths, the word edges at 32 and
// 64 columns. Under the sanitizers (and the player's own checks in a debug build) any row
// or pixel outside the planes stops the test.
TEST_F(EffectPlayerTest, EveryEffectStaysInsideItsPlanesAtTheEdgeSizes)
{
    const Geometry kEdges[] = {{1, 1, 1},  {1, 2, 2},  {1, 7, 3},  {1, 33, 1},
                               {2, 1, 2},  {7, 1, 3},  {2, 2, 1},  {3, 3, 3},
                               {5, 9, 2},  {31, 2, 1}, {33, 1, 3}, {33, 4, 2},
                               {65, 1, 1}, {65, 3, 3}, {64, 2, 2}, {97, 5, 1}};
    for (const Geometry& g : kEdges) {
        const QImage before = NoisePage(g.width, g.height, 3);
        const QImage page = NoisePage(g.width, g.height, 4);
        std::vector<std::uint32_t> expected;
        CEffectPlayer::PageToPlanes(&page, g.width, g.height, g.planes, expected);
        for (int effect = 1; effect < EffectTypeCount; ++effect) {
            SCOPED_TRACE(testing::Message()
                         << g.width << "x" << g.height << "x" << g.planes << " effect " << effect);
            EffectBorder border;
            border.on = effect % 2 == 0;
            border.colour = 7;
            LoadGeometry(g, before, EffectDirect, border);
            player.Step();
            player.LoadPage(&page, effect);
            int steps = 1;
            bool filler = true;
            while (player.Step()) {
                ++steps;
                filler = filler && FillerDark(player, player.Current()) &&
                         FillerDark(player, player.Shown());
                ASSERT_LE(steps, player.Steps());
            }
            EXPECT_EQ(steps, TableSteps(effect, g.width, g.height, g.planes));
            EXPECT_TRUE(filler);
            // The page coming in is never written to, and it is what the effect ends on.
            EXPECT_EQ(player.Target(), expected);
            EXPECT_EQ(player.Current(), expected);
        }
    }
}

TEST_F(EffectPlayerTest, MoveLeftBringsOneColumnPerStepFromTheRight)
{
    const Geometry g{5, 2, 1};
    QImage old(5, 2, QImage::Format_RGB32);
    old.fill(Qt::black);
    old.setPixel(0, 0, qRgb(255, 0, 0)); // the old page: column 0 of row 0 lit
    QImage page(5, 2, QImage::Format_RGB32);
    page.fill(Qt::black);
    for (int x : {0, 2, 3})
        page.setPixel(x, 1, qRgb(255, 0, 0)); // row 1: lit columns 0, 2, 3
    LoadGeometry(g, old);
    player.Step();
    player.LoadPage(&page, EffectMoveLeft);
    const std::vector<std::string> rows1 = {"....X", "...X.", "..X.X", ".X.XX", "X.XX."};
    for (int k = 0; k < 5; ++k) {
        player.Step();
        std::string row0;
        std::string row1;
        for (int x = 0; x < 5; ++x) {
            row0 += Lit(player, player.Current(), 0, x, 0) ? 'X' : '.';
            row1 += Lit(player, player.Current(), 0, x, 1) ? 'X' : '.';
        }
        EXPECT_EQ(row0, std::string(5, '.')) << "step " << k; // the old dot left at once
        EXPECT_EQ(row1, rows1[static_cast<std::size_t>(k)]) << "step " << k;
    }
}

TEST_F(EffectPlayerTest, FlashBlinksAndReverseFlashInvertsOnTheDescribedSteps)
{
    const Geometry g{40, 2, 2};
    const QImage page = NoisePage(40, 2, 5);
    const QImage dark = NoisePage(40, 2, 6);
    for (int effect : {EffectFlash, EffectReverseFlash}) {
        LoadGeometry(g, dark);
        player.Step();
        player.LoadPage(&page, effect);
        bool previousInverted = false;
        for (int k = 0; k < 18; ++k) {
            player.Step();
            const auto& current = player.Current();
            if (k == 17) {
                EXPECT_EQ(current, player.Target());
                continue;
            }
            if (effect == EffectFlash) {
                const bool darkStep = (k & 2) != 0;
                EXPECT_EQ(current, darkStep ? std::vector<std::uint32_t>(current.size(), 0u)
                                            : player.Target())
                    << "flash step " << k;
            } else {
                const bool nowInverted = (k & 2) ? !previousInverted : previousInverted;
                previousInverted = nowInverted;
                EXPECT_EQ(current != player.Target(), nowInverted) << "reverse step " << k;
                EXPECT_TRUE(FillerDark(player, current)) << "reverse step " << k;
            }
        }
    }
}

TEST_F(EffectPlayerTest, WearCopiesOneWordPerStepAndRainDropsOnePixelPerByte)
{
    const Geometry g{64, 8, 3};
    QImage dark(64, 8, QImage::Format_RGB32);
    dark.fill(Qt::black);
    QImage full(64, 8, QImage::Format_RGB32);
    full.fill(qRgb(255, 255, 255));
    LoadGeometry(g, dark);
    player.Step();
    player.LoadPage(&full, EffectWear);
    ASSERT_EQ(player.Steps(), 3 * 8 * 2);
    for (int k = 0; k < player.Steps() - 1; ++k) {
        player.Step();
        int copied = 0;
        for (std::size_t i = 0; i < player.Current().size(); ++i)
            copied += player.Current()[i] == player.Target()[i];
        ASSERT_EQ(copied, k + 1) << "step " << k;
    }

    LoadGeometry(g, dark);
    player.Step();
    player.LoadPage(&full, EffectRain);
    for (int k = 0; k < 4; ++k) {
        player.Step();
        for (int p = 0; p < 3; ++p) {
            const std::uint32_t first = player.Current()[static_cast<std::size_t>(p * 8 * 2)];
            for (int byte = 0; byte < 4; ++byte) {
                const int drops = std::popcount((first >> (8 * byte)) & 0xFFu);
                EXPECT_EQ(drops, k == 0 ? 1 : 0) << "step " << k;
            }
        }
    }
    // The first drops have fallen to row 3 after four steps.
    int lit = 0;
    for (int x = 0; x < 64; ++x)
        lit += Lit(player, player.Current(), 0, x, 3);
    EXPECT_EQ(lit, 8);
}

TEST_F(EffectPlayerTest, RandomEffectPicksAMovingTypeForEveryPage)
{
    const QImage page = NoisePage(32, 8, 3);
    LoadGeometry({32, 8, 1}, page, EffectRandom);
    std::set<int> seen;
    for (int i = 0; i < 200; ++i) {
        player.LoadPage(&page, EffectRandom);
        EXPECT_GE(player.Effect(), EffectMoveLeft);
        EXPECT_LE(player.Effect(), EffectFall);
        seen.insert(player.Effect());
    }
    EXPECT_GT(seen.size(), 30u);
}

TEST_F(EffectPlayerTest, LoadRefusesWhatItCannotPlayAndNormalisesTheSettings)
{
    const QImage page = NoisePage(16, 4, 3);
    QImage out(16, 4, QImage::Format_RGB32);
    EXPECT_FALSE(player.Load(nullptr, &page, EffectDirect, 1, 16, 4, {}));
    EXPECT_FALSE(player.Step());
    EXPECT_FALSE(player.Load(&out, &page, EffectDirect, 1, 0, 4, {}));
    EXPECT_FALSE(player.Load(&out, &page, EffectDirect, 1, 16, -1, {}));
    EXPECT_FALSE(player.Load(&out, &page, EffectDirect, 1, 1 << 20, 1 << 20, {}));
    player.DrawBorderOnly(); // harmless while nothing is loaded

    // A missing page plays dark; planes out of range become one; effects out of range direct.
    ASSERT_TRUE(player.Load(&out, nullptr, 99, 7, 16, 4, {}));
    EXPECT_EQ(player.Planes(), 1);
    EXPECT_EQ(player.Effect(), EffectDirect);
    EXPECT_EQ(player.Words(), 4);
    EXPECT_FALSE(player.Step());

    EffectBorder border{true, 0, 0, 9, 0};
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(player.Load(&out, &page, EffectDirect, 2, 16, 4, border));
        EXPECT_GE(player.Border().colour, 1);
        EXPECT_LE(player.Border().colour, 3);
        EXPECT_GE(player.Border().style, 0);
        EXPECT_LE(player.Border().style, 12);
        EXPECT_GE(player.Border().mode, 1);
        EXPECT_LE(player.Border().mode, 4);
        EXPECT_GE(player.Border().speed, 2);
        EXPECT_LE(player.Border().speed, 9);
    }
    ASSERT_TRUE(player.Load(&out, &page, EffectDirect, 2, 16, 4, {true, 2, 5, 2, 3}));
    EXPECT_EQ(player.Border().style, 4);
    EXPECT_EQ(player.Border().mode, 2);
    EXPECT_EQ(player.Border().speed, 3);
}

TEST_F(EffectPlayerTest, BorderRingMovesClockwiseInItsColourPlanesOnly)
{
    const Geometry g{20, 6, 2};
    QImage dark(20, 6, QImage::Format_RGB32);
    dark.fill(Qt::black);
    // Green border, style 1 (eight on, eight off), clockwise, one move per draw.
    LoadGeometry(g, dark, EffectDirect, {true, 2, 1, 1, 1});
    player.Step();
    const auto ringAt = [&](int x) { return Lit(player, player.Shown(), 1, x, 0); };
    std::string first;
    for (int x = 0; x < 20; ++x)
        first += ringAt(x) ? 'X' : '.';
    EXPECT_EQ(first, "XXXXXXXX........XXXX");
    player.DrawBorderOnly();
    std::string second;
    for (int x = 0; x < 20; ++x)
        second += ringAt(x) ? 'X' : '.';
    EXPECT_EQ(second, ".XXXXXXXX........XXX");
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 20; ++x)
            EXPECT_FALSE(Lit(player, player.Shown(), 0, x, y)); // red plane untouched
    }
    for (int y = 1; y < 5; ++y) {
        for (int x = 1; x < 19; ++x)
            EXPECT_FALSE(Lit(player, player.Shown(), 1, x, y)); // inside untouched
    }
    EXPECT_EQ(QColor(output.pixel(1, 0)), QColor(0, 255, 0));
}

TEST(PlaneConversionTest, PageToPlanesAndBackKeepsTheLayoutAndTheThreshold)
{
    QImage page(33, 2, QImage::Format_RGB32);
    page.fill(Qt::black);
    page.setPixel(0, 0, qRgb(2, 0, 0));  // lit red: bit 0 of the first word
    page.setPixel(1, 0, qRgb(1, 1, 1));  // 1 is not lit
    page.setPixel(32, 1, qRgb(0, 0, 9)); // blue, second word of row 1
    std::vector<std::uint32_t> set;
    CEffectPlayer::PageToPlanes(&page, 33, 2, 3, set);
    ASSERT_EQ(set.size(), 3u * 2u * 2u);
    EXPECT_EQ(set[0], 1u);
    EXPECT_EQ(set[1], 0u);
    EXPECT_EQ(set[2 * 2 * 2 + 1 * 2 + 1], 1u); // plane 2, row 1, word 1
    QImage back(33, 2, QImage::Format_RGB32);
    back.fill(Qt::gray);
    CEffectPlayer::PlanesToImage(set, 33, 2, 3, back);
    EXPECT_EQ(back.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(back.pixel(1, 0), qRgb(0, 0, 0));
    EXPECT_EQ(back.pixel(32, 1), qRgb(0, 0, 255));
    QImage slow(33, 2, QImage::Format_RGB888); // the per-pixel path gives the same
    CEffectPlayer::PlanesToImage(set, 33, 2, 3, slow);
    EXPECT_EQ(slow.convertToFormat(QImage::Format_RGB32), back);
}

} // namespace
