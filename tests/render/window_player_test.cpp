#include "model/clock_zone.h"
#include "model/image_zone.h"
#include "model/play_window.h"
#include "model/prepare_hooks.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "model/text_zone.h"
#include "render/play_clock.h"
#include "render/program_player.h"
#include "render/random_source.h"
#include "render/window_player.h"

#include <QImage>

#include <gtest/gtest.h>

#include <memory>

namespace {

QImage Page(int width, int height, int litColumn)
{
    QImage page(width, height, QImage::Format_RGB32);
    page.fill(Qt::black);
    for (int y = 0; y < height; ++y)
        page.setPixel(litColumn, y, qRgb(255, 0, 0));
    return page;
}

// Counts the zones drawn again and gives each a page with the count as its lit column.
class CountingHooks final : public IPrepareHooks
{
public:
    CountingHooks() : m_previous(&PrepareHooks()) { SetPrepareHooks(this); }
    ~CountingHooks() override { SetPrepareHooks(m_previous); }
    void PrepareZone(CEffectZone& zone, RenderForm) override
    {
        ++count;
        zone.ClearPages();
        const LedRect rect = zone.WindowRect();
        zone.AddPage(
            std::make_unique<CLedBitmap>(Page(rect.Width(), rect.Height(), count % rect.Width())));
    }
    void PrepareBorder(CProgram&, RenderForm) override {}
    int count = 0;

private:
    IPrepareHooks* m_previous;
};

class WindowPlayerTest : public ::testing::Test
{
protected:
    std::unique_ptr<CProjectRoot> root = CProjectRoot::NewProject();
    CScreen* screen = static_cast<CScreen*>(root->GetChild(0));
    CProgram* program = static_cast<CProgram*>(screen->GetChild(0));
    CSeededRandom random{5};
    CSteppedPlayClock clock{QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5))};

    void SetUp() override
    {
        screen->Params().SetU16(ControllerParams::Width, 128);
        screen->Params().SetU16(ControllerParams::Height, 32);
        screen->Params().SetU8(ControllerParams::ColourType, 1);
    }

    CPlayWindow* AddWindow(const LedRect& rect)
    {
        auto window = std::make_unique<CPlayWindow>(program);
        CPlayWindow* raw = window.get();
        raw->SetWindowRect(rect);
        program->AddChild(std::move(window));
        return raw;
    }

    template <typename Zone>
    Zone* AddZone(CPlayWindow* window, int action, int speed, int hold, int pages)
    {
        auto zone = std::make_unique<Zone>(window);
        Zone* raw = zone.get();
        raw->SetAction(action);
        raw->SetSpeed(speed);
        raw->SetHold(hold);
        for (int i = 0; i < pages; ++i)
            raw->AddPage(std::make_unique<CLedBitmap>(Page(window->Width(), window->Height(), i)));
        window->AddChild(std::move(zone));
        return raw;
    }

    // Ticks until the window has played all its zones once; the count, or -1.
    static int TicksToShowAll(CWindowPlayer& player, int limit = 100000)
    {
        for (int tick = 1; tick <= limit; ++tick) {
            player.Tick();
            if (player.HasShownAllZones())
                return tick;
        }
        return -1;
    }
};

TEST_F(WindowPlayerTest, SpeedIsTicksBetweenStepsMinusOne)
{
    CPlayWindow* window = AddWindow({0, 0, 64, 16});
    CTextZone* zone = AddZone<CTextZone>(window, EffectMoveLeft, 0, 50, 1);
    for (const auto& [speed, ticks] : {std::pair{0, 64}, {2, 192}, {-5, 64}}) {
        zone->SetSpeed(speed);
        CWindowPlayer player(&random, &clock);
        player.Bind(window, 1);
        player.StartPlay();
        EXPECT_EQ(TicksToShowAll(player), ticks) << "speed " << speed;
        EXPECT_EQ(player.Output(), Page(64, 16, 0)) << "speed " << speed;
    }
}

TEST_F(WindowPlayerTest, HoldRules)
{
    CPlayWindow* window = AddWindow({0, 0, 32, 16});
    CTextZone* text = AddZone<CTextZone>(window, EffectDirect, 0, 10, 2);
    // A "Direct" text holds at least 100 ticks: page 2 comes 100 ticks after page 1.
    CWindowPlayer player(&random, &clock);
    player.Bind(window, 1);
    player.StartPlay();
    player.Tick();
    EXPECT_EQ(player.Output(), Page(32, 16, 0));
    for (int tick = 2; tick <= 100; ++tick) {
        player.Tick();
        ASSERT_TRUE(player.IsHolding()) << tick;
        ASSERT_EQ(player.Output(), Page(32, 16, 0)) << tick;
    }
    player.Tick();
    EXPECT_EQ(player.Output(), Page(32, 16, 1));

    EXPECT_EQ(CWindowPlayer::HoldTicks(*text, 0), 100);
    text->SetHold(250);
    EXPECT_EQ(CWindowPlayer::HoldTicks(*text, 0), 250);
    text->SetHold(100000); // far out of range: at most 400
    EXPECT_EQ(CWindowPlayer::HoldTicks(*text, 0), 400);
    text->SetHold(-3);
    EXPECT_EQ(CWindowPlayer::HoldTicks(*text, 0), 400);
    text->SetAction(EffectAlwaysHold);
    EXPECT_EQ(CWindowPlayer::HoldTicks(*text, 0), 400);
    text->SetAction(EffectContinuousMoveLeft);
    text->SetHold(300);
    EXPECT_EQ(CWindowPlayer::HoldTicks(*text, 0), 0);
    auto image = std::make_unique<CImageZone>(window);
    image->SetAction(EffectDirect);
    image->SetHold(10); // only texts have the "Direct" minimum
    EXPECT_EQ(CWindowPlayer::HoldTicks(*image, 0), 10);
}

TEST_F(WindowPlayerTest, TheClearSettingDarkensTheWindowAfterTheHold)
{
    CPlayWindow* window = AddWindow({0, 0, 8, 2});
    CTextZone* zone = AddZone<CTextZone>(window, EffectMoveLeft, 0, 3, 0);
    QImage lit(8, 2, QImage::Format_RGB32);
    lit.fill(qRgb(255, 0, 0));
    QImage dark(8, 2, QImage::Format_RGB32);
    dark.fill(Qt::black);
    zone->AddPage(std::make_unique<CLedBitmap>(lit));
    zone->AddPage(std::make_unique<CLedBitmap>(dark));
    for (int clear : {0, 1}) {
        zone->SetClearMode(clear);
        CWindowPlayer player(&random, &clock);
        player.Bind(window, 1);
        player.StartPlay();
        for (int tick = 0; tick < 8 + 3; ++tick) // page 1 in, held 3 ticks, a step of page 2
            player.Tick();
        EXPECT_EQ(player.Player().StepIndex(), 1);
        int litPixels = 0;
        for (int x = 0; x < 8; ++x)
            litPixels += qRed(player.Output().pixel(x, 0)) != 0;
        // Without the clear the lit page moves out one column; with it the window is dark.
        EXPECT_EQ(litPixels, clear ? 0 : 7) << "clear " << clear;
    }
}

TEST_F(WindowPlayerTest, LiveZonesAreDrawnBeforeEveryStepAndNeverHold)
{
    CountingHooks hooks;
    CPlayWindow* window = AddWindow({0, 0, 32, 16});
    CClockZone* clockZone = AddZone<CClockZone>(window, EffectDirect, 1, 500, 1);
    CWindowPlayer player(&random, &clock);
    player.Bind(window, 1);
    player.StartPlay();
    for (int tick = 1; tick <= 40; ++tick) {
        player.Tick();
        clock.Advance(CWindowPlayer::kTickMs);
        ASSERT_FALSE(player.IsHolding()) << tick;
    }
    EXPECT_EQ(hooks.count, 20); // speed 1: a step every second tick
    // The last drawing is on show: its lit column is the count.
    EXPECT_EQ(player.Output(), Page(32, 16, hooks.count));
    EXPECT_EQ(clockZone->GetPageCount(), 1);
}

TEST_F(WindowPlayerTest, EmptyWindowsAndZonesWithoutPagesPlayDarkWithoutBlocking)
{
    AddWindow({0, 0, 16, 8}); // no zones
    CPlayWindow* pageless = AddWindow({16, 0, 48, 8});
    AddZone<CTextZone>(pageless, EffectMoveLeft, 0, 10, 0);
    AddZone<CTextZone>(pageless, EffectRandom, 0, 10, 0);
    CPlayWindow* slow = AddWindow({48, 0, 80, 8});
    AddZone<CTextZone>(slow, EffectDirect, 1 << 30, 1 << 30, 1);
    CProgramPlayer player(&random, &clock);
    player.Start(program);
    ASSERT_EQ(player.WindowCount(), 3);
    EXPECT_TRUE(player.HasSomethingToPlay());
    for (int tick = 0; tick < 600; ++tick)
        player.Tick();
    EXPECT_TRUE(player.Window(0).HasShownAllZones());
    EXPECT_TRUE(player.Window(1).HasShownAllZones());
    const QImage screenImage = player.ComposeScreen();
    ASSERT_EQ(screenImage.size(), QSize(128, 32));
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 128; ++x) {
            // Only the slow window's page (its column 0) is lit: its speed is taken as 255,
            // so its one step came at tick 256, and its hold of at most 400 ticks runs on.
            const bool want = x == 48 && y < 8;
            ASSERT_EQ(qRed(screenImage.pixel(x, y)) != 0, want) << x << "," << y;
        }
    }
    EXPECT_TRUE(player.Window(2).IsHolding());
    EXPECT_TRUE(player.AllZonesShown());

    CProgramPlayer nothing(&random, &clock);
    auto bare = std::make_unique<CProgram>(screen);
    nothing.Start(bare.get());
    EXPECT_EQ(nothing.WindowCount(), 0);
    EXPECT_FALSE(nothing.HasSomethingToPlay());
    EXPECT_TRUE(nothing.AllZonesShown());
    nothing.Tick();
}

TEST_F(WindowPlayerTest, ProgramPlayerMovesItsClockAndPlacesEveryWindow)
{
    CPlayWindow* left = AddWindow({0, 0, 32, 16});
    CPlayWindow* right = AddWindow({64, 8, 96, 24});
    AddZone<CTextZone>(left, EffectDirect, 0, 10, 1);
    AddZone<CImageZone>(right, EffectMoveUp, 0, 10, 1);
    right->Frame().enabled = 1;
    right->Frame().type = 1;
    right->Frame().colour = 1;
    right->Frame().direction = 1;
    right->Frame().speed = 1;
    CProgramPlayer player(&random, &clock);
    player.Start(program);
    int ticks = 0;
    while (!player.AllZonesShown() && ticks < 1000) {
        player.Tick();
        ++ticks;
    }
    EXPECT_EQ(ticks, 16); // the 16 rows of the slower window
    EXPECT_EQ(clock.Elapsed(), 16 * CWindowPlayer::kTickMs);
    const QImage screenImage = player.ComposeScreen();
    EXPECT_EQ(qRed(screenImage.pixel(0, 5)), 255); // left window, column 0
    EXPECT_EQ(qRed(screenImage.pixel(1, 5)), 0);
    // The right window's ring: top row lit in its pattern, inside dark.
    int ringLit = 0;
    for (int x = 64; x < 96; ++x)
        ringLit += qRed(screenImage.pixel(x, 8)) != 0;
    EXPECT_GT(ringLit, 0);
    EXPECT_LT(ringLit, 32);
    EXPECT_EQ(qRed(screenImage.pixel(70, 12)), 0);
}

} // namespace
