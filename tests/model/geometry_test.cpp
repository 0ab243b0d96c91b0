#include "model_fixtures.h"

#include "model/prepare_hooks.h"
#include "model/text_zone.h"

#include <gtest/gtest.h>

namespace {

// Gives programs a border of a fixed width while a test runs.
class FixedBorder final : public IPrepareHooks
{
public:
    explicit FixedBorder(int width) : m_width(width) { SetPrepareHooks(this); }
    ~FixedBorder() override { SetPrepareHooks(nullptr); }
    void PrepareZone(CEffectZone& zone, RenderForm) override { ++zonesPrepared; }
    void PrepareBorder(CProgram& program, RenderForm) override
    {
        if (program.Border().enabled)
            program.SetBorderWidth(m_width);
    }
    int zonesPrepared = 0;

private:
    int m_width;
};

} // namespace

TEST(DefaultWindowRect, NewWindowsFillTheRowThenStartAgain)
{
    OneProgram p(256, 32);
    const LedRect expected[] = {
        {0, 0, 64, 32}, {64, 0, 128, 32}, {128, 0, 192, 32}, {192, 0, 256, 32}, {0, 0, 64, 32}};
    for (const LedRect& rect : expected)
        EXPECT_EQ(p.AddWindow()->WindowRect(), rect);
}

TEST(DefaultWindowRect, GoesBelowOnATallScreenAndIsCutToTheInnerArea)
{
    OneProgram p(100, 80);
    EXPECT_EQ(p.AddWindow()->WindowRect(), (LedRect{0, 0, 64, 32}));
    // x goes back to the left (100 < 64 + 64), y moves below the first window.
    EXPECT_EQ(p.AddWindow()->WindowRect(), (LedRect{0, 32, 64, 64}));
    // 80 < 64 + 32: back to the top.
    EXPECT_EQ(p.AddWindow()->WindowRect(), (LedRect{0, 0, 64, 32}));

    OneProgram small(40, 20);
    EXPECT_EQ(small.AddWindow()->WindowRect(), (LedRect{0, 0, 40, 20}));
}

TEST(DefaultWindowRect, RespectsTheBorder)
{
    FixedBorder border(4);
    OneProgram p(256, 32);
    p.program->Border().enabled = 1;
    p.program->Prepare(RenderForm::Display);
    EXPECT_EQ(p.program->InnerRect(), (LedRect{4, 4, 252, 28}));
    EXPECT_EQ(p.AddWindow()->WindowRect(), (LedRect{4, 4, 68, 28}));
    EXPECT_EQ(p.AddWindow()->WindowRect(), (LedRect{68, 4, 132, 28})); // 28 < 28 + 4 + 32
}

TEST(WindowRect, InvalidRectanglesLeaveTheOldOne)
{
    OneProgram p;
    CPlayWindow* window = p.AddWindow({10, 10, 20, 20});
    EXPECT_FALSE(window->SetWindowRect({10, 10, 5, 20}));
    EXPECT_FALSE(window->SetWindowRect({10, 10, 10, 20}));
    EXPECT_EQ(window->WindowRect(), (LedRect{10, 10, 20, 20}));
    EXPECT_EQ(window->Width(), 10);
}

TEST(FindOverlap, CornerContainment)
{
    OneProgram p(256, 64);
    p.AddWindow({0, 0, 64, 32});
    p.AddWindow({32, 8, 96, 40});
    QString names = QStringLiteral("Other");
    EXPECT_TRUE(p.program->FindOverlap(names));
    EXPECT_EQ(names, QStringLiteral("Other,Program1"));

    OneProgram touching(256, 64);
    touching.AddWindow({0, 0, 64, 32});
    touching.AddWindow({64, 0, 128, 32});
    touching.AddWindow({0, 32, 64, 64});
    QString none;
    EXPECT_FALSE(touching.program->FindOverlap(none));
    EXPECT_TRUE(none.isEmpty());
}

TEST(FindOverlap, ACrossShapedPairOverlaps)
{
    // Neither window holds a corner of the other, yet they share pixels.
    OneProgram p(256, 64);
    p.AddWindow({10, 0, 20, 60});
    p.AddWindow({0, 20, 60, 30});
    QString names;
    EXPECT_TRUE(p.program->FindOverlap(names));
}

TEST(FindOverlap, AWindowOutsideTheInnerAreaIsAFinding)
{
    OneProgram p(128, 32);
    p.AddWindow({100, 0, 140, 32});
    QString names;
    EXPECT_TRUE(p.program->FindOverlap(names));

    OneProgram screen(128, 32);
    screen.AddWindow({0, 0, 64, 32});
    auto second = std::make_unique<CProgram>(screen.screen);
    auto window = second->CreateChild(KindWindow);
    static_cast<CPlayWindow*>(window.get())->SetWindowRect({0, 0, 64, 40});
    second->AddChild(std::move(window));
    screen.screen->AddChild(std::move(second));
    QString all;
    EXPECT_TRUE(screen.screen->FindOverlap(all));
    EXPECT_EQ(all, QStringLiteral("Program2"));
}

TEST(FitWindows, SidesOutOfRangeAreReplaced)
{
    FixedBorder hooks(0);
    OneProgram p(256, 32);
    CPlayWindow* inside = p.AddWindow({0, 0, 64, 32});
    CPlayWindow* tooWide = p.AddWindow({200, 0, 300, 32});
    CPlayWindow* tooLow = p.AddWindow({0, 30, 64, 40});
    CPlayWindow* tiny = p.AddWindow({250, 0, 260, 2});
    p.AddZone<CTextZone>(inside, KindText);
    p.AddZone<CTextZone>(tooWide, KindText);
    hooks.zonesPrepared = 0;

    p.program->FitWindows();
    EXPECT_EQ(inside->WindowRect(), (LedRect{0, 0, 64, 32}));
    EXPECT_EQ(tooWide->WindowRect(), (LedRect{200, 0, 256, 32}));
    EXPECT_EQ(tooLow->WindowRect(), (LedRect{0, 0, 64, 32}));
    // left 250 > 256 - 16 and bottom 2 < 4: both replaced, leaving a usable window.
    EXPECT_EQ(tiny->WindowRect(), (LedRect{0, 0, 256, 32}));
    // Only windows with a replaced side are prepared again.
    EXPECT_EQ(hooks.zonesPrepared, 1);
}

TEST(FitWindows, TooSmallAfterFittingBecomesTheMinimumWindow)
{
    FixedBorder hooks(2);
    OneProgram p(20, 8);
    p.program->Border().enabled = 1;
    p.program->Prepare(RenderForm::Display);
    CPlayWindow* window = p.AddWindow({2, 2, 18, 6});
    p.screen->Params().SetU16(ControllerParams::Width, 16);
    p.screen->FitWindows();
    // Inner area 2..14 is narrower than 16: the window becomes (b, b, b + 16, b + 4).
    EXPECT_EQ(window->WindowRect(), (LedRect{2, 2, 18, 6}));
}
