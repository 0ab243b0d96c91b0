// The document as the only writer of the project: every kind of change is one undo step
// that finds its objects by identity, and undoing any sequence gives back the same file.
#include "document/edit_commands.h"
#include "document/lumivant_doc.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

namespace {

std::vector<CProjectObject*> AllObjects(CProjectObject& object)
{
    std::vector<CProjectObject*> all;
    std::function<void(CProjectObject&)> visit = [&](CProjectObject& at) {
        if (at.GetKind() != KindRoot)
            all.push_back(&at);
        for (int i = 0; i < at.GetChildCount(); ++i)
            visit(*at.GetChild(i));
    };
    visit(object);
    return all;
}

std::vector<CScreen*> Screens(CLumivantDoc& doc)
{
    std::vector<CScreen*> screens;
    for (int i = 0; i < doc.Root().GetChildCount(); ++i)
        screens.push_back(static_cast<CScreen*>(doc.Root().GetChild(i)));
    return screens;
}

// A setup form's store: new sizes, colours and link settings for the screen.
void StoreSetup(CLumivantDoc& doc, CScreen& screen, std::mt19937& random, bool sent)
{
    const int width = 64 + 16 * int(random() % 8);
    const int height = 16 + 8 * int(random() % 4);
    const int colours = 1 + int(random() % 3);
    doc.ChangeScreenSettings(
        screen, QStringLiteral("Panel Setup"),
        [&] {
            screen.Params().SetU16(ControllerParams::Width, std::uint16_t(width));
            screen.Params().SetU16(ControllerParams::Height, std::uint16_t(height));
            screen.Params().SetU8(ControllerParams::ColourType, std::uint8_t(colours));
            screen.Link().remotePort = std::uint16_t(5000 + random() % 1000);
            screen.SetLinkKind(int(random() % 2));
            return sent;
        },
        CLumivantDoc::CardWrite::WhenOk);
}

const int kZoneKinds[] = {KindText,    KindImage,       KindClock,     KindDateTime,
                          KindAnimate, KindTemperature, KindCountdown, KindTable};

// One change of some kind on a random object, through the document.
void RandomChange(CLumivantDoc& doc, std::mt19937& random)
{
    std::vector<CProjectObject*> objects = AllObjects(doc.Root());
    doc.SetCurrentObject(objects[random() % objects.size()]);
    CProjectObject& current = *doc.CurrentObject();
    switch (random() % 12) {
    case 0:
        AddProgram(doc);
        break;
    case 1:
        AddWindow(doc);
        break;
    case 2:
    case 3:
        AddZone(doc, kZoneKinds[random() % std::size(kZoneKinds)]);
        break;
    case 4:
        DeleteCurrentObject(doc);
        break;
    case 5:
        MoveCurrentObject(doc, random() % 2 == 0);
        break;
    case 6:
        doc.EditObject(current, RefreshCode::Name, false,
                       [&] { current.SetName(QStringLiteral("N%1").arg(random() % 1000)); });
        break;
    case 7:
        if (current.GetKind() == KindWindow) {
            auto& window = static_cast<CPlayWindow&>(current);
            const int left = int(random() % 32);
            doc.EditObject(window, RefreshCode::Geometry, false, [&] {
                window.SetWindowRect({left, 0, left + 16, 8});
            });
        }
        break;
    case 8: {
        std::vector<CScreen*> screens = Screens(doc);
        StoreSetup(doc, *screens[random() % screens.size()], random, random() % 2 == 0);
        break;
    }
    case 9: {
        auto screen = doc.Root().CreateChild(KindScreen);
        screen->AddChild(screen->CreateChild(KindProgram));
        doc.AddScreen(std::move(screen));
        break;
    }
    case 10: {
        std::vector<CScreen*> screens = Screens(doc);
        doc.RemoveScreen(*screens[random() % screens.size()]);
        break;
    }
    case 11: {
        std::vector<CScreen*> screens = Screens(doc);
        CScreen& screen = *screens[random() % screens.size()];
        doc.ChangeScreenSettings(
            screen, QStringLiteral("Send flag"),
            [&] {
                screen.SetSelected(screen.GetSelected() ? 0 : 1);
                return true;
            },
            CLumivantDoc::CardWrite::None);
        break;
    }
    }
}

TEST(DocumentSteps, UndoOfAnySequenceGivesBackEveryFileOnTheWay)
{
    for (unsigned seed : {1u, 2u, 3u, 4u, 5u}) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        CLumivantDoc doc;
        // files[i] is the project after i steps.
        std::vector<QByteArray> files{doc.Root().SaveProjectBuffer()};
        for (int change = 0; change < 120; ++change) {
            const int before = doc.UndoStack().index();
            RandomChange(doc, random);
            doc.FlushPendingRender();
            ASSERT_LE(doc.UndoStack().index(), before + 1) << "one change, one step";
            if (doc.UndoStack().index() == before + 1)
                files.push_back(doc.Root().SaveProjectBuffer());
            else
                ASSERT_EQ(doc.Root().SaveProjectBuffer(), files.back())
                    << "a change without a step";
        }
        ASSERT_EQ(int(files.size()) - 1, doc.UndoStack().index());
        ASSERT_GT(files.size(), 40u);
        for (int i = doc.UndoStack().index(); i > 0; --i) {
            doc.UndoStack().undo();
            ASSERT_EQ(doc.Root().SaveProjectBuffer(), files[size_t(i - 1)]) << "undo to " << i - 1;
        }
        for (size_t i = 1; i < files.size(); ++i) {
            doc.UndoStack().redo();
            ASSERT_EQ(doc.Root().SaveProjectBuffer(), files[i]) << "redo to " << i;
        }
    }
}

class DocumentStepsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        auto screen = doc.Root().CreateChild(KindScreen);
        screen->AddChild(screen->CreateChild(KindProgram));
        second = doc.AddScreen(std::move(screen));
        doc.UndoStack().clear();
    }
    CScreen& First() { return *static_cast<CScreen*>(doc.Root().GetChild(0)); }
    CProjectObject& ProgramOf(CScreen& screen) { return *screen.GetChild(0); }

    CLumivantDoc doc;
    CScreen* second = nullptr;
};

TEST_F(DocumentStepsTest, RemovedScreenComesBackAsTheSameObjectAndLaterStepsStillFindTheirs)
{
    CProjectObject& program = ProgramOf(*second);
    doc.SetCurrentObject(&program);
    ASSERT_TRUE(AddWindow(doc));
    CProjectObject* window = program.GetChild(0);
    doc.SetCurrentObject(window);
    ASSERT_TRUE(AddZone(doc, KindText));
    CProjectObject* zone = window->GetChild(0);
    doc.EditObject(program, RefreshCode::Name, false, [&] { program.SetName("Menu"); });
    doc.SetCurrentObject(zone);
    ASSERT_TRUE(DeleteCurrentObject(doc));

    // -Panel on the first screen: its place goes, the steps before it still find their
    // objects in the second screen.
    QSignalSpy removing(&doc, &CLumivantDoc::aboutToRemove);
    CScreen* first = &First();
    ASSERT_TRUE(doc.RemoveScreen(*first));
    ASSERT_EQ(removing.count(), 1);
    EXPECT_EQ(removing[0][0].value<CProjectObject*>(), first);
    EXPECT_FALSE(doc.RemoveScreen(*second)) << "the last screen stays";

    doc.UndoStack().undo(); // -Panel
    EXPECT_EQ(doc.Root().GetChild(0), first);
    doc.UndoStack().undo(); // the delete: the very same zone, in its own window
    EXPECT_EQ(window->GetChild(0), zone);
    EXPECT_EQ(ProgramOf(*first).GetChildCount(), 0);
    doc.UndoStack().undo(); // the rename
    EXPECT_NE(program.GetName(), QStringLiteral("Menu"));
    EXPECT_EQ(doc.UndoStack().undoText(), QStringLiteral("Add ") + zone->GetName());
}

TEST_F(DocumentStepsTest, ScreenSettingsStepChangesOnlyWhatItChanged)
{
    CScreen& screen = First();
    const int width = screen.Width();
    doc.ChangeScreenSettings(
        screen, QStringLiteral("Panel Setup of Panel1"),
        [&] {
            screen.Params().SetU16(ControllerParams::Width, 320);
            return true;
        },
        CLumivantDoc::CardWrite::WhenOk);
    ASSERT_EQ(doc.UndoStack().count(), 1);
    EXPECT_EQ(doc.UndoStack().undoText(),
              QStringLiteral("Panel Setup of Panel1 (sent to the panel)"));
    // Something the step did not change (a link's time-out learnt elsewhere) stays on undo.
    screen.Link().timeoutMs = 4321;
    doc.UndoStack().undo();
    EXPECT_EQ(screen.Width(), width);
    EXPECT_EQ(screen.Link().timeoutMs, 4321);

    // A store that changes nothing, or fails without changing anything, is no step.
    doc.UndoStack().clear();
    EXPECT_FALSE(doc.ChangeScreenSettings(
        screen, QStringLiteral("x"), [] { return false; }, CLumivantDoc::CardWrite::WhenOk));
    EXPECT_EQ(doc.UndoStack().count(), 0);

    // A failed write that changed the project: a step that does not claim the card has it.
    doc.ChangeScreenSettings(
        screen, QStringLiteral("Brightness of Panel1"),
        [&] {
            screen.Params().SetU8(ControllerParams::Brightness, 3);
            return false;
        },
        CLumivantDoc::CardWrite::WhenOk);
    EXPECT_EQ(doc.UndoStack().undoText(), QStringLiteral("Brightness of Panel1"));

    // Steps with one merge id make one (the automatic scan-type trial), sent if any was.
    doc.UndoStack().clear();
    const int merge = CLumivantDoc::NewMergeId();
    for (int scan : {0x10, 0x20, 0x30}) {
        doc.ChangeScreenSettings(
            screen, QStringLiteral("Trial"),
            [&] {
                screen.Params().SetU8(ControllerParams::ScanMode, std::uint8_t(scan));
                return scan == 0x20;
            },
            CLumivantDoc::CardWrite::WhenOk, merge);
    }
    EXPECT_EQ(doc.UndoStack().count(), 1);
    EXPECT_EQ(doc.UndoStack().undoText(), QStringLiteral("Trial (sent to the panel)"));

    // A screen outside the project (a new one of +Panel) is changed without a step.
    auto loose = doc.Root().CreateChild(KindScreen);
    auto& looseScreen = static_cast<CScreen&>(*loose);
    doc.ChangeScreenSettings(
        looseScreen, QStringLiteral("y"),
        [&] {
            looseScreen.Link().remotePort = 7000;
            return true;
        },
        CLumivantDoc::CardWrite::None);
    EXPECT_EQ(looseScreen.Link().remotePort, 7000);
    EXPECT_EQ(doc.UndoStack().count(), 1);
}

TEST_F(DocumentStepsTest, DeleteAndMoveAreOffWhereTheyWouldDoNothing)
{
    doc.SetCurrentObject(nullptr);
    EXPECT_FALSE(CanDeleteCurrentObject(doc));
    doc.SetCurrentObject(&First());
    EXPECT_FALSE(CanDeleteCurrentObject(doc));
    EXPECT_FALSE(CanMoveCurrentObject(doc, true));
    CProjectObject& program = ProgramOf(First());
    doc.SetCurrentObject(&program);
    EXPECT_TRUE(CanDeleteCurrentObject(doc));
    EXPECT_FALSE(CanMoveCurrentObject(doc, true));
    EXPECT_FALSE(CanMoveCurrentObject(doc, false));
    ASSERT_TRUE(AddProgram(doc));
    doc.SetCurrentObject(&program);
    EXPECT_FALSE(CanMoveCurrentObject(doc, true));
    EXPECT_TRUE(CanMoveCurrentObject(doc, false));
    // A zone of a hidden window moves its window.
    doc.SetCurrentObject(&program);
    ASSERT_TRUE(AddZone(doc, KindClock));
    CProjectObject* clock = program.GetChild(0)->GetChild(0);
    ASSERT_EQ(clock->GetKind(), KindClock);
    doc.SetCurrentObject(clock);
    EXPECT_FALSE(CanMoveCurrentObject(doc, true));
    EXPECT_FALSE(CanMoveCurrentObject(doc, false));
}

TEST(DocumentReplace, ViewsHearOfTheOldProjectBeforeItGoes)
{
    CLumivantDoc doc;
    CProjectRoot* old = &doc.Root();
    QSignalSpy removing(&doc, &CLumivantDoc::aboutToRemove);
    QSignalSpy replaced(&doc, &CLumivantDoc::projectReplaced);
    doc.SetRoot(std::make_unique<CProjectRoot>(), QString());
    ASSERT_EQ(removing.count(), 1);
    EXPECT_EQ(removing[0][0].value<CProjectObject*>(), old);
    EXPECT_EQ(replaced.count(), 1);
    // A project without a screen gets one, without being modified.
    EXPECT_EQ(doc.Root().GetChildCount(), 1);
    EXPECT_FALSE(doc.IsModified());
}

} // namespace
