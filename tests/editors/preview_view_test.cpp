#include "base/app_settings.h"
#include "document/lumivant_doc.h"
#include "editors/preview_geometry.h"
#include "editors/preview_view.h"
#include "editors/preview_window_pane.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "model/text_zone.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

QImage Page(int width, int height, QRgb colour)
{
    QImage page(width, height, QImage::Format_RGB32);
    page.fill(colour);
    return page;
}

// A 128 x 64 screen whose program has an explicit window (10, 4, 74, 36) with a text of
// three pages and an implicit window (80, 40, 112, 56) with a single zone.
class PreviewViewTest : public testing::Test
{
protected:
    CLumivantDoc doc;
    AppSettings savedSettings = Settings();
    CProgram* program = nullptr;
    CPlayWindow* window = nullptr;
    CPlayWindow* implicitWindow = nullptr;
    CTextZone* text = nullptr;
    CTextZone* lone = nullptr;
    std::unique_ptr<CPreView> view;

    void SetUp() override
    {
        Settings().mul = 2;
        Settings().div = 1;
        auto* screen = static_cast<CScreen*>(doc.Root().GetChild(0));
        screen->Params().SetU16(ControllerParams::Width, 128);
        screen->Params().SetU16(ControllerParams::Height, 64);
        screen->Params().SetU8(ControllerParams::ColourType, 3);
        program = static_cast<CProgram*>(screen->GetChild(0));
        window = AddWindow({10, 4, 74, 36}, 1);
        implicitWindow = AddWindow({80, 40, 112, 56}, 0);
        text = AddText(window);
        lone = AddText(implicitWindow);
        doc.EnsurePrepared(*program);
        text->ClearPages();
        for (QRgb colour : {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)})
            text->AddPage(std::make_unique<CLedBitmap>(Page(64, 32, colour)));
        text->SetAction(4);
        text->SetSpeed(0);
        view = std::make_unique<CPreView>(doc);
        view->resize(400, 200);
        view->show();
        view->ShowProgram(program);
    }
    void TearDown() override
    {
        view.reset();
        Settings() = savedSettings;
    }

    CPlayWindow* AddWindow(const LedRect& rect, int fore)
    {
        auto object = std::make_unique<CPlayWindow>(program);
        CPlayWindow* raw = object.get();
        raw->SetFore(fore);
        raw->SetWindowRect(rect);
        program->AddChild(std::move(object));
        return raw;
    }
    CTextZone* AddText(CPlayWindow* parent)
    {
        auto zone = std::make_unique<CTextZone>(parent);
        CTextZone* raw = zone.get();
        parent->AddChild(std::move(zone));
        return raw;
    }
    template <typename T> T* Child(const char* name)
    {
        return view->findChild<T*>(QLatin1String(name));
    }
    CWindowPane* PaneOf(const CPlayWindow* of)
    {
        for (int i = 0; i < view->PaneCount(); ++i) {
            if (view->Pane(i)->Window() == of)
                return view->Pane(i);
        }
        return nullptr;
    }
};

TEST_F(PreviewViewTest, ZoomRunsFromHalfToEightAndScalesThePanes)
{
    ASSERT_EQ(view->PaneCount(), 2);
    EXPECT_EQ(PaneOf(window)->geometry(), QRect(20, 8, 128, 64));
    auto* zoomIn = Child<QToolButton>("zoomIn");
    auto* zoomOut = Child<QToolButton>("zoomOut");
    std::vector<std::pair<int, int>> levels;
    for (int i = 0; i < 4; ++i) {
        view->ZoomOut();
        levels.emplace_back(view->Zoom().numerator, view->Zoom().denominator);
    }
    EXPECT_EQ(levels, (std::vector<std::pair<int, int>>{{1, 1}, {1, 2}, {1, 2}, {1, 2}}));
    EXPECT_FALSE(zoomOut->isEnabled());
    EXPECT_TRUE(zoomIn->isEnabled());
    EXPECT_EQ(PaneOf(window)->geometry(), QRect(5, 2, 32, 16));
    for (int i = 0; i < 12; ++i)
        view->ZoomIn();
    EXPECT_EQ(view->Zoom().numerator, 8);
    EXPECT_EQ(view->Zoom().denominator, 1);
    EXPECT_FALSE(zoomIn->isEnabled());
    EXPECT_TRUE(zoomOut->isEnabled());
    EXPECT_EQ(PaneOf(window)->geometry(), QRect(80, 32, 512, 256));
    EXPECT_EQ(Settings().mul, 8); // kept for the settings file
    EXPECT_EQ(Settings().div, 1);
    EXPECT_EQ(view->sizeHint().height(), 64 * 8 + CPreView::kStripHeight);

    const PreviewZoom odd = PreviewZoom::FromSettings(9, 0);
    EXPECT_EQ(odd.numerator, 1);
    EXPECT_EQ(odd.denominator, 1);
}

TEST_F(PreviewViewTest, PagesOfTheSelectedZoneAtRest)
{
    auto* status = Child<QLabel>("pageStatus");
    auto* previous = Child<QToolButton>("previousPage");
    auto* next = Child<QToolButton>("nextPage");
    EXPECT_TRUE(status->text().isEmpty());
    EXPECT_TRUE(previous->isHidden());
    EXPECT_TRUE(next->isHidden());

    doc.SetCurrentObject(text);
    EXPECT_EQ(status->text(), QStringLiteral("P 1 of 3"));
    EXPECT_FALSE(previous->isHidden());
    EXPECT_FALSE(previous->isEnabled());
    EXPECT_TRUE(next->isEnabled());
    view->NextPage();
    view->NextPage();
    view->NextPage(); // clamped to the last page
    EXPECT_EQ(status->text(), QStringLiteral("P 3 of 3"));
    EXPECT_FALSE(next->isEnabled());
    EXPECT_TRUE(previous->isEnabled());
    // The still pane shows the page stretched, pixels sharp.
    const QImage shot = PaneOf(window)->grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(20, 20)), QColor(0, 0, 255));

    doc.SetCurrentObject(window); // a window: no paging
    EXPECT_TRUE(status->text().isEmpty());
    EXPECT_TRUE(next->isHidden());
}

TEST_F(PreviewViewTest, PlayButtonStartsAndStopsTheAnimation)
{
    QSignalSpy running(view.get(), &CPreView::runningChanged);
    auto* play = Child<QToolButton>("play");
    EXPECT_EQ(play->text(), QStringLiteral("PV"));
    EXPECT_EQ(play->toolTip(), QStringLiteral("Start preview"));
    play->click();
    EXPECT_TRUE(view->IsRunning());
    EXPECT_EQ(play->text(), QStringLiteral("SP"));
    EXPECT_EQ(play->toolTip(), QStringLiteral("Stop preview"));
    ASSERT_EQ(running.count(), 1);
    EXPECT_TRUE(running.at(0).at(0).toBool());
    // The 8 ms timer plays the zones: the red page comes in from the right.
    CWindowPane* pane = PaneOf(window);
    QTRY_VERIFY_WITH_TIMEOUT(pane->Player().Player().StepIndex() >= 3, 5000);
    EXPECT_EQ(QColor(pane->Player().Output().pixel(63, 5)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(pane->Player().Output().pixel(0, 5)), QColor(0, 0, 0));
    // Rebuilding while running plays the new panes at once.
    view->ZoomIn();
    EXPECT_TRUE(PaneOf(window)->Player().Player().IsLoaded());

    view->StopIfRunning();
    EXPECT_FALSE(view->IsRunning());
    EXPECT_EQ(play->text(), QStringLiteral("PV"));
    ASSERT_EQ(running.count(), 2);
    EXPECT_FALSE(running.at(1).at(0).toBool());
    view->StopIfRunning(); // nothing more
    EXPECT_EQ(running.count(), 2);
}

TEST_F(PreviewViewTest, DraggingMovesAndResizesInsideTheScreenThroughUndo)
{
    CWindowPane* pane = PaneOf(window);
    // Move by (+200, +200) screen pixels at zoom 2: stops at the screen's edge.
    QTest::mousePress(pane, Qt::LeftButton, {}, QPoint(60, 30));
    QTest::mouseMove(pane, QPoint(260, 230));
    QTest::mouseRelease(pane, Qt::LeftButton, {}, QPoint(260, 230));
    EXPECT_EQ(window->WindowRect(), (LedRect{64, 32, 128, 64}));
    EXPECT_EQ(pane->geometry(), QRect(128, 64, 128, 64));
    EXPECT_EQ(doc.UndoStack().count(), 1);
    doc.UndoStack().undo();
    EXPECT_EQ(window->WindowRect(), (LedRect{10, 4, 74, 36}));
    EXPECT_EQ(PaneOf(window)->geometry(), QRect(20, 8, 128, 64));

    // The right band resizes; the window keeps at least 16 x 4 panel pixels.
    pane = PaneOf(window);
    QTest::mousePress(pane, Qt::LeftButton, {}, QPoint(126, 30));
    QTest::mouseMove(pane, QPoint(-300, 30));
    QTest::mouseRelease(pane, Qt::LeftButton, {}, QPoint(-300, 30));
    EXPECT_EQ(window->WindowRect(), (LedRect{10, 4, 26, 36}));
    EXPECT_EQ(PaneOf(window)->Player().Output().size(), QSize(16, 32));

    EXPECT_EQ(DraggedRect({10, 4, 74, 36}, GripTop | GripLeft, -50, -50, 128, 64),
              (LedRect{0, 0, 74, 36}));
    EXPECT_EQ(DraggedRect({10, 4, 74, 36}, GripBottom, 100, 100, 128, 64),
              (LedRect{10, 4, 74, 64}));
    EXPECT_EQ(DraggedRect({10, 4, 74, 36}, GripBottom, -100, 0, 128, 64), (LedRect{10, 4, 74, 36}));
    EXPECT_EQ(DraggedRect({10, 4, 74, 36}, GripBottom, 0, -100, 128, 64), (LedRect{10, 4, 74, 8}));
    EXPECT_EQ(PaneGripAt({2, 2}, {100, 50}), GripLeft | GripTop);
    EXPECT_EQ(PaneGripAt({50, 47}, {100, 50}), GripBottom);
    EXPECT_EQ(PaneGripAt({50, 25}, {100, 50}), GripMove);
}

TEST_F(PreviewViewTest, AClickSelectsTheWindowOrTheZoneOfAnImplicitWindow)
{
    QSignalSpy clicked(view.get(), &CPreView::objectClicked);
    QTest::mouseClick(PaneOf(window), Qt::LeftButton, {}, QPoint(40, 20));
    QTest::mouseClick(PaneOf(implicitWindow), Qt::LeftButton, {}, QPoint(30, 15));
    ASSERT_EQ(clicked.count(), 2);
    EXPECT_EQ(clicked.at(0).at(0).value<CProjectObject*>(), window);
    EXPECT_EQ(clicked.at(1).at(0).value<CProjectObject*>(), lone);
    EXPECT_EQ(doc.UndoStack().count(), 0); // a click moves nothing
}

TEST_F(PreviewViewTest, ProgramsWithoutWindowsAndRemovedProgramsLeaveNoPanes)
{
    auto* screen = static_cast<CScreen*>(doc.Root().GetChild(0));
    auto empty = std::make_unique<CProgram>(screen);
    CProgram* bare = empty.get();
    screen->AddChild(std::move(empty));
    view->ShowProgram(bare);
    EXPECT_EQ(view->PaneCount(), 0);
    view->ToggleRunning();
    QTest::qWait(30);
    view->StopIfRunning();

    view->ShowProgram(program);
    screen->DeleteChild(program);
    doc.NotifyStructureChanged(nullptr);
    EXPECT_EQ(view->PaneCount(), 0);
    QTest::qWait(10);
    EXPECT_EQ(view->Program(), nullptr);
}

} // namespace
