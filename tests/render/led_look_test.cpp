// The LED look of previews, animated GIFs made in memory, and the plain text of a zone.
#include "model/effect_zone.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "render/program_recording.h"
#include "render/zone_content.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

QImage TwoLeds()
{
    QImage leds(2, 1, QImage::Format_RGB32);
    leds.setPixel(0, 0, qRgb(250, 10, 10));
    leds.setPixel(1, 0, qRgb(0, 0, 0));
    return leds;
}

// A 16 x 8 screen whose one program shows a text.
struct SmallProject
{
    std::unique_ptr<CProjectRoot> root = CProjectRoot::NewProject();
    CScreen* screen = static_cast<CScreen*>(root->GetChild(0));
    CProgram* program = static_cast<CProgram*>(screen->GetChild(0));
    CEffectZone* zone = nullptr;

    SmallProject()
    {
        screen->Params().SetU16(ControllerParams::Width, 16);
        screen->Params().SetU16(ControllerParams::Height, 8);
        auto window = program->CreateChild(KindWindow);
        static_cast<CPlayWindow*>(window.get())->SetWindowRect({0, 0, 16, 8});
        auto text = window->CreateChild(KindText);
        zone = static_cast<CEffectZone*>(text.get());
        window->AddChild(std::move(text));
        program->AddChild(std::move(window));
    }
};

} // namespace

TEST(LedLookTest, EachLedBecomesABlockOrARoundDotOfItsLedColourInTheGif)
{
    constexpr std::uint8_t kRed = 1;
    constexpr std::uint8_t kBlack = 0;
    constexpr std::uint8_t kGround = 8;
    const CLedGifLook blocks(2, 1, 3, false);
    const std::vector<std::uint8_t> blockIndexes = blocks.Indexes(TwoLeds());
    ASSERT_EQ(blockIndexes.size(), 6u * 3u);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(blockIndexes[static_cast<size_t>(y * 6 + x)], kRed) << x << "," << y;
            EXPECT_EQ(blockIndexes[static_cast<size_t>(y * 6 + x + 3)], kBlack);
        }
    }
    const CLedGifLook dots(2, 1, 8, true);
    const std::vector<std::uint8_t> dotIndexes = dots.Indexes(TwoLeds());
    ASSERT_EQ(dotIndexes.size(), 16u * 8u);
    const auto at = [&](int x, int y) { return dotIndexes[static_cast<size_t>(y * 16 + x)]; };
    EXPECT_EQ(at(4, 4), kRed);
    EXPECT_EQ(at(0, 0), kGround);
    EXPECT_EQ(at(12, 4), kBlack);
    EXPECT_EQ(at(8, 0), kGround);
    const CGifWriter::Colour ground = CLedGifLook::Palette()[kGround];
    EXPECT_EQ(qRgb(ground.red, ground.green, ground.blue), CLedLook::kGround);
}

TEST(LedLookTest, AProgramPlaysIntoAGifInMemory)
{
    SmallProject project;
    QString error;
    ASSERT_TRUE(CZoneContent::SetText(*project.zone, QStringLiteral("Hi"), error));
    QByteArray gif;
    ASSERT_TRUE(
        CProgramRecording::Gif(*project.screen, *project.program, 3, true, 2000, gif, error))
        << error.toStdString();
    EXPECT_TRUE(gif.startsWith("GIF89a"));
    EXPECT_EQ(QImage::fromData(gif, "GIF").size(), QSize(48, 24));

    EXPECT_FALSE(
        CProgramRecording::Gif(*project.screen, *project.program, 5000, false, 10, gif, error));
    EXPECT_TRUE(error.contains(QStringLiteral("too large"))) << error.toStdString();
}

TEST(LedLookTest, AZonesPlainTextFollowsWhatWasSet)
{
    SmallProject project;
    QString error;
    ASSERT_TRUE(CZoneContent::SetText(*project.zone, QStringLiteral("3.20\nper kg"), error));
    EXPECT_EQ(CZoneContent::PlainText(*project.zone), QStringLiteral("3.20\nper kg"));
    auto image = project.program->GetChild(0)->CreateChild(KindImage);
    EXPECT_EQ(CZoneContent::PlainText(static_cast<CEffectZone&>(*image)), QString());
}
