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

TEST(LedLookTest, EachLedBecomesABlockOrARoundDotOfItsLedColour)
{
    const QImage blocks = CLedLook(2, 1, 3, false).Picture(TwoLeds());
    ASSERT_EQ(blocks.size(), QSize(6, 3));
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(blocks.pixel(x, y), qRgb(255, 0, 0)) << x << "," << y;
            EXPECT_EQ(blocks.pixel(x + 3, y), qRgb(0, 0, 0));
        }
    }
    const QImage dots = CLedLook(2, 1, 8, true).Picture(TwoLeds());
    ASSERT_EQ(dots.size(), QSize(16, 8));
    EXPECT_EQ(dots.pixel(4, 4), qRgb(255, 0, 0));
    EXPECT_EQ(dots.pixel(0, 0), qRgb(48, 48, 48));
    EXPECT_EQ(dots.pixel(12, 4), qRgb(0, 0, 0));
    EXPECT_EQ(dots.pixel(8, 0), qRgb(48, 48, 48));
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
