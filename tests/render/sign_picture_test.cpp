#include "model/animate_zone.h"
#include "model/image_zone.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "model/text_zone.h"
#include "render/byte_buffer.h"
#include "render/compile_screen.h"
#include "render/decode_screen.h"
#include "render/led_look.h"
#include "render/led_paint.h"
#include "render/program_player.h"
#include "render/random_source.h"
#include "render/renderer.h"
#include "render/sign_picture.h"
#include "support/test_support.h"

#include <QDir>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 32;

// Text in every colour, black among them, and a highlight.
const char kColouredRtf[] =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl ;\\red0\\green0\\blue255;"
    "\\red0\\green255\\blue0;\\red255\\green255\\blue0;\\red255\\green255\\blue255;"
    "\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\\f0\\fs24\\cf1 B\\cf2 G\\cf3 Y\\cf4 W"
    "\\cf5 K\\cf6\\highlight3 H\\par}";
// One line far wider than the window: several pages side by side.
const char kLongRtf[] = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 "
                        "ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789\\par}";

bool IsLiveKind(int kind)
{
    return kind >= KindClock && kind <= KindCountdown;
}

// Every pixel lit in `part` is lit the same in `whole`.
bool Contains(const QImage& whole, const QImage& part)
{
    if (whole.size() != part.size())
        return false;
    for (int y = 0; y < part.height(); ++y) {
        for (int x = 0; x < part.width(); ++x) {
            const QRgb p = part.pixel(x, y) & 0xFFFFFF;
            if (p != 0 && (whole.pixel(x, y) & 0xFFFFFF) != p)
                return false;
        }
    }
    return true;
}

class SignPictureTest : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        InstallRenderer();
        root = CProjectRoot::NewProject();
        screen = static_cast<CScreen*>(root->GetChild(0));
        screen->RemoveChildAt(0);
        ControllerParams& p = screen->Params();
        p.SetU16(ControllerParams::Width, kWidth);
        p.SetU16(ControllerParams::Height, kHeight);
        p.SetU8(ControllerParams::ColourType, static_cast<std::uint8_t>(GetParam()));
        p.SetU8(ControllerParams::DataPolarity, 1);
    }

    // A program of one window over the whole screen holding one zone of the kind.
    CEffectZone& AddProgramWith(int kind)
    {
        auto program = screen->CreateChild(KindProgram);
        auto window = std::make_unique<CPlayWindow>(program.get());
        window->SetWindowRect(LedRect{0, 0, kWidth, kHeight});
        auto zone = window->CreateChild(kind);
        auto& added = static_cast<CEffectZone&>(*zone);
        window->AddChild(std::move(zone));
        program->AddChild(std::move(window));
        screen->AddChild(std::move(program));
        return added;
    }

    QString Picture()
    {
        QImage picture(kWidth, kHeight, QImage::Format_RGB32);
        QPainter painter(&picture);
        painter.fillRect(0, 0, 16, 32, QColor(255, 255, 255)); // the key colour's range
        painter.fillRect(16, 0, 16, 32, QColor(200, 30, 5));   // red and green lit
        painter.fillRect(32, 0, 16, 32, QColor(20, 40, 240));  // every channel lit
        painter.fillRect(48, 0, 16, 32, QColor(0, 8, 200));    // green and blue lit
        painter.end();
        const QString path = dir.filePath(QStringLiteral("quarters.png"));
        EXPECT_TRUE(picture.save(path));
        return path;
    }

    void BuildEveryKind()
    {
        auto& coloured = static_cast<CTextZone&>(AddProgramWith(KindText));
        coloured.SetRtf(QString::fromLatin1(kColouredRtf));
        coloured.SetAction(ActionDirect);
        auto& moving = static_cast<CTextZone&>(AddProgramWith(KindText));
        moving.SetRtf(QString::fromLatin1(kLongRtf));
        moving.SetAction(ActionMoveRight);
        moving.SetHold(0);
        static_cast<CImageZone&>(AddProgramWith(KindImage)).Key().sourcePath = Picture();
        for (int kind :
             {KindTable, KindAnimate, KindClock, KindDateTime, KindTemperature, KindCountdown})
            AddProgramWith(kind);
    }

    DecodedScreen CompileAndDecode(CScreen& compiled)
    {
        compiled.Prepare(RenderForm::Controller);
        CScopedRandomSeed seed(1);
        CByteBuffer buffer(kScreenBufferCapacity, kScreenBufferGrowth);
        EXPECT_TRUE(WriteData(compiled, buffer));
        const QByteArray data(reinterpret_cast<const char*>(buffer.Data()),
                              static_cast<qsizetype>(buffer.Length()));
        DecodedScreen decoded;
        QString error;
        EXPECT_TRUE(DecodeScreenData(data, GetParam(), 1, decoded, error)) << error.toStdString();
        return decoded;
    }

    QTemporaryDir dir;
    std::unique_ptr<CProjectRoot> root;
    CScreen* screen = nullptr;
};

TEST_P(SignPictureTest, RenderAndThePreviewShowWhatTheCompiledDataHolds)
{
    BuildEveryKind();
    const QString project = dir.filePath(QStringLiteral("every.ledprj"));
    ASSERT_TRUE(root->SaveProject(project));
    const QString out = dir.filePath(QStringLiteral("out"));
    const CliRun run = RunCli({QStringLiteral("render"), project, QStringLiteral("--out"), out});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    CProjectRoot loaded;
    ASSERT_TRUE(loaded.LoadProject(project));
    auto& compiled = static_cast<CScreen&>(*loaded.GetChild(0));
    const DecodedScreen decoded = CompileAndDecode(compiled);
    compiled.Prepare(RenderForm::Display); // what the editor holds
    ASSERT_EQ(decoded.programs.size(), static_cast<size_t>(compiled.GetChildCount()));
    for (int p = 0; p < compiled.GetChildCount(); ++p) {
        const CProjectObject& window = *compiled.GetChild(p)->GetChild(0);
        const auto& zone = static_cast<const CEffectZone&>(*window.GetChild(0));
        const DecodedZone& data = decoded.programs[size_t(p)].windows.at(0).zones.at(0);
        ASSERT_EQ(CardPageCount(zone), data.pageCount) << p;
        ASSERT_GT(data.pageCount, p == 1 ? 1 : 0) << p; // the long line takes pages
        for (int position = 0; position < data.pageCount; ++position) {
            const QImage card(QDir(out).filePath(
                QStringLiteral("s1-p%1-w1-z1-page%2.png").arg(p + 1).arg(position + 1)));
            const QImage preview =
                ZonePagePicture(zone, CardPageIndex(zone, position), SignForm::Card);
            const QImage& sent = data.pages[size_t(position)].image;
            const auto where = ::testing::Message()
                               << "kind " << zone.GetKind() << " page " << position;
            if (IsLiveKind(zone.GetKind())) {
                // The card draws the live values over what it is sent.
                EXPECT_TRUE(Contains(card.convertToFormat(QImage::Format_RGB32), sent)) << where;
                EXPECT_TRUE(Contains(preview, sent)) << where;
            } else {
                EXPECT_EQ(card.convertToFormat(QImage::Format_RGB32), sent) << where;
                EXPECT_EQ(preview, sent) << where;
            }
        }
        if (zone.GetKind() == KindClock) {
            const QImage card(
                QDir(out).filePath(QStringLiteral("s1-p%1-w1-z1-page1.png").arg(p + 1)));
            EXPECT_NE(card.convertToFormat(QImage::Format_RGB32), data.pages[0].image)
                << "the hands the card draws";
        }
    }
    // The program pictures are the first pages at their places.
    const QImage whole(QDir(out).filePath(QStringLiteral("s1-p3.png")));
    EXPECT_EQ(whole.convertToFormat(QImage::Format_RGB32),
              decoded.programs[2].windows[0].zones[0].pages[0].image);
}

TEST_P(SignPictureTest, ThePictureTheDesignerChoseStaysAvailable)
{
    auto& image = static_cast<CImageZone&>(AddProgramWith(KindImage));
    image.Key().sourcePath = Picture();
    screen->Prepare(RenderForm::Display);
    const QImage designer = ZonePagePicture(image, 0, SignForm::Designer);
    const QImage card = ZonePagePicture(image, 0, SignForm::Card);
    EXPECT_EQ(designer.pixel(4, 4) & 0xFFFFFF, 0xFFFFFFu); // white as drawn
    EXPECT_EQ(card.pixel(4, 4) & 0xFFFFFF, 0u);            // keyed on the card
    // (200, 30, 5): red on every screen, green too where the screen has it.
    EXPECT_EQ(card.pixel(20, 4) & 0xFFFFFF, GetParam() >= 2 ? 0xFFFF00u : 0xFF0000u);
    EXPECT_TRUE(ZonePagePicture(image, 1, SignForm::Card).isNull());

    const QString out = dir.filePath(QStringLiteral("designer"));
    const QString project = dir.filePath(QStringLiteral("one.ledprj"));
    ASSERT_TRUE(root->SaveProject(project));
    ASSERT_EQ(RunCli({QStringLiteral("render"), project, QStringLiteral("--form"),
                      QStringLiteral("display"), QStringLiteral("--out"), out})
                  .exitCode,
              0);
    EXPECT_EQ(QImage(QDir(out).filePath(QStringLiteral("s1-p1-w1-z1-page1.png")))
                  .convertToFormat(QImage::Format_RGB32),
              designer);
}

TEST_P(SignPictureTest, PlayBringsInThePagesTheCardShows)
{
    auto& image = static_cast<CImageZone&>(AddProgramWith(KindImage));
    image.Key().sourcePath = Picture();
    image.SetAction(ActionDirect);
    auto& program = static_cast<CProgram&>(*screen->GetChild(0));
    screen->Prepare(RenderForm::Display);
    CProgramPlayer player;
    player.Start(&program);
    for (int tick = 0; tick < 5; ++tick)
        player.Tick();
    EXPECT_EQ(player.ComposeScreen(), ZonePagePicture(image, 0, SignForm::Card));
}

INSTANTIATE_TEST_SUITE_P(ColourTypes, SignPictureTest, ::testing::Values(1, 2, 3));

TEST(CardOrderTest, ATextMovingRightWithoutAStayPlaysItsLastPageFirst)
{
    InstallRenderer();
    auto root = CProjectRoot::NewProject();
    auto* program = static_cast<CProgram*>(root->GetChild(0)->GetChild(0));
    auto window = std::make_unique<CPlayWindow>(program);
    window->SetWindowRect(LedRect{0, 0, 32, 16});
    auto text = std::make_unique<CTextZone>(window.get());
    CTextZone& zone = *text;
    window->AddChild(std::move(text));
    program->AddChild(std::move(window));
    for (int i = 0; i < 300; ++i)
        zone.AddPage(std::make_unique<CLedBitmap>(32, 16));
    zone.SetAction(ActionMoveRight);
    zone.SetHold(0);
    EXPECT_EQ(CardPageCount(zone), 255);
    EXPECT_EQ(CardPageIndex(zone, 0), 254);
    EXPECT_EQ(CardPageIndex(zone, 254), 0);
    EXPECT_EQ(CardPageIndex(zone, 255), -1);
    zone.SetHold(100);
    EXPECT_EQ(CardPageIndex(zone, 0), 0);
}

TEST(CardReductionTest, OnePassGivesWhatTheKeyAndThePlanesGive)
{
    CSeededRandom random(3);
    QImage page(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            // Mostly small values, where the limits lie, and some of every size.
            const auto value = [&] {
                const int v = static_cast<int>(random.Next() & 0xFF);
                return v < 128 ? v % 16 : v;
            };
            page.setPixel(x, y, qRgb(value(), value(), value()));
        }
    }
    for (int limit : {-3, 0, 1, 10, 200, 300}) {
        for (int tolerance : {-1, 0, 5, 300}) {
            for (int depth : {1, 2, 3}) {
                ImageKeyParams key;
                key.keyColour = 0x030201;
                key.tolerance = tolerance;
                key.pixelLimit = limit;
                QImage twoPasses = page;
                ReduceColours(twoPasses, key);
                ReduceToScreenColours(twoPasses, depth);
                QImage onePass = page;
                ReduceForCard(onePass, &key, depth);
                EXPECT_EQ(onePass, twoPasses) << limit << " " << tolerance << " " << depth;
            }
        }
    }
    for (int depth : {1, 2, 3}) {
        QImage twoPasses = page;
        ReduceToScreenColours(twoPasses, depth);
        QImage onePass = page;
        ReduceForCard(onePass, nullptr, depth);
        EXPECT_EQ(onePass, twoPasses) << depth;
    }
}

TEST(LedLookTest, DotsLeaveGapsFromThreePixelsAndBlocksBelow)
{
    QImage leds(2, 1, QImage::Format_RGB32);
    leds.setPixel(0, 0, qRgb(255, 0, 0));
    leds.setPixel(1, 0, qRgb(0, 0, 0));
    const QImage dots = CLedLook(6, true).Draw(leds);
    ASSERT_EQ(dots.size(), QSize(12, 6));
    EXPECT_EQ(dots.pixel(3, 3) & 0xFFFFFF, 0xFF0000u);            // the dot's middle
    EXPECT_EQ(dots.pixel(0, 0), CLedLook::kGround | 0xFF000000u); // the gap
    EXPECT_EQ(dots.pixel(9, 3) & 0xFFFFFF, 0u);                   // a dark LED
    const QImage blocks = CLedLook(2, true).Draw(leds);
    EXPECT_EQ(blocks.pixel(0, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_FALSE(CLedLook(2, true).HasDots());
    EXPECT_TRUE(LedLookFits(4, 1));
    EXPECT_FALSE(LedLookFits(3, 1));
    EXPECT_FALSE(LedLookFits(8, 2));
}

} // namespace
