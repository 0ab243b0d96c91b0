#include "dialogs_test_support.h"
#include "support/accessible_names.h"

#include "app/frame_actions.h"
#include "app/left_view.h"
#include "app/main_frame.h"
#include "app/object_view.h"
#include "app/project_tree_model.h"
#include "base/app_paths.h"
#include "base/app_settings.h"
#include "base/earlier_versions.h"
#include "base/messages.h"
#include "base/string_table.h"
#include "config/model_info.h"
#include "document/lumivant_doc.h"
#include "document/recovery_keeper.h"
#include "editors/preview_view.h"
#include "editors/preview_window_pane.h"
#include "editors/property_page.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

class RecordingSink final : public IMessageSink
{
public:
    void Show(const QString& text, const QString&, MessageKind) override { texts << text; }
    QStringList texts;
};

// Answers the next message box with the button.
void AnswerNextBox(QMessageBox::StandardButton button)
{
    QTimer::singleShot(0, [button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box && box->button(button))
            box->button(button)->click();
    });
}

// Runs the step on the modal dialog of that name (or class) once it is open; gives up after
// about five seconds.
void WhenModal(const QString& name, const std::function<void(QWidget&)>& step, int tries = 500)
{
    QTimer::singleShot(10, [name, step, tries] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && (modal->objectName() == name ||
                      QLatin1String(modal->metaObject()->className()) == name))
            step(*modal);
        else if (tries > 0)
            WhenModal(name, step, tries - 1);
        else
            ADD_FAILURE() << "no dialog " << name.toStdString();
    });
}

void ClickChild(QWidget& parent, const char* name)
{
    auto* button = parent.findChild<QAbstractButton*>(QLatin1String(name));
    ASSERT_NE(button, nullptr) << name;
    button->click();
}

class MainFrameTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        SetDataFolderOverride(dir.path());
        qputenv("XDG_STATE_HOME", dir.filePath("state").toUtf8());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath("config"));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.filePath("config"));
        Settings() = AppSettings();
        SetLanguage(Language::English);
        SetMessageSink(&sink);
        frame = std::make_unique<CMainFrame>(doc);
    }
    void TearDown() override
    {
        frame.reset();
        SetMessageSink(nullptr);
        SetDataFolderOverride(QString());
    }

    CProjectObject* Screen() { return doc.Root().GetChild(0); }
    CProgram& FirstProgram() { return *static_cast<CProgram*>(Screen()->GetChild(0)); }
    void Select(CProjectObject* object) { frame->Tree().Select(object); }
    QAction* Action(int id) { return frame->Actions().Action(id); }
    CProjectObject* Current() { return doc.CurrentObject(); }

    QTemporaryDir dir;
    RecordingSink sink;
    CLumivantDoc doc;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(MainFrameTest, LayoutAndCommandsFollowTheModelAndThePreview)
{
    EXPECT_EQ(frame->minimumSize(), QSize(700, 380));
    EXPECT_EQ(frame->size(), QSize(800, 576));
    EXPECT_FALSE(Action(IdSendSelected)->isVisible());
    for (QAction* top : frame->menuBar()->actions())
        EXPECT_FALSE(top->menu()->actions().contains(Action(IdSendSelected)));
    // Every command of the table has its action, and the toolbar labels are short texts.
    for (int id : {IdAddProgram, IdAddTable, IdDelete, IdMoveUp, IdExport, IdSearchPanel,
                   IdClearPanel, IdLangTurkish, IdOptions})
        ASSERT_NE(Action(id), nullptr) << id;
    EXPECT_EQ(Action(IdDelete)->iconText(), QStringLiteral("Delete"));
    EXPECT_EQ(Action(IdDelete)->shortcut(), QKeySequence(QKeySequence::Delete));

    Select(Screen());
    EXPECT_TRUE(Action(IdAddClock)->isEnabled());
    EXPECT_TRUE(Action(IdSyncTimer)->isEnabled());

    CModelInfo basic;
    ASSERT_TRUE(basic.AssignFromName(QStringLiteral("RZ-S1")));
    auto* screen = static_cast<CScreen*>(Screen());
    doc.EditObject(*screen, RefreshCode::Content, false,
                   [&] { screen->SetIdentity(basic.Identity()); });
    for (int id : {IdAddClock, IdAddDateTime, IdAddTemperature, IdAddCountdown, IdSyncTimer})
        EXPECT_FALSE(Action(id)->isEnabled()) << id;
    EXPECT_TRUE(Action(IdAddText)->isEnabled());
    EXPECT_TRUE(Action(IdAddAnimate)->isEnabled());

    // While the preview plays, every menu, the toolbar and the commands are off.
    emit frame->Preview().runningChanged(true);
    for (QAction* top : frame->menuBar()->actions())
        EXPECT_FALSE(top->isEnabled());
    EXPECT_FALSE(frame->ToolBar().isEnabled());
    const int programs = Screen()->GetChildCount();
    frame->RunCommand(IdAddProgram);
    EXPECT_EQ(Screen()->GetChildCount(), programs);
    emit frame->Preview().runningChanged(false);
    EXPECT_TRUE(frame->ToolBar().isEnabled());
    EXPECT_TRUE(Action(IdAddProgram)->isEnabled());
}

TEST_F(MainFrameTest, ImplicitWindowsStayHiddenAndTravelWithTheirZone)
{
    CProgram& program = FirstProgram();
    CProjectTreeModel& model = frame->Tree().Model();
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);

    Select(&program);
    frame->RunCommand(IdAddWindow);
    Select(&program);
    frame->RunCommand(IdAddClock);
    ASSERT_EQ(program.GetChildCount(), 2);
    CProjectObject* hidden = program.GetChild(1);
    EXPECT_EQ(hidden->GetFore(), 0);
    CProjectObject* clock = hidden->GetChild(0);
    // The clock is selected, and the tree shows it directly under the program.
    EXPECT_EQ(Current(), clock);
    const QModelIndex clockIndex = model.IndexOf(clock);
    EXPECT_EQ(model.ObjectOf(clockIndex.parent()), &program);
    EXPECT_EQ(clockIndex.row(), 1);
    EXPECT_FALSE(model.IndexOf(hidden).isValid());

    // Moving the clock up moves its hidden window before the explicit one.
    frame->RunCommand(IdMoveUp);
    EXPECT_EQ(program.GetChild(0), hidden);
    EXPECT_EQ(Current(), clock);
    frame->RunCommand(IdMoveUp); // already first: nothing
    EXPECT_EQ(program.GetChild(0), hidden);

    // Deleting the clock takes its hidden window with it and selects the program.
    frame->RunCommand(IdDelete);
    EXPECT_EQ(program.GetChildCount(), 1);
    EXPECT_EQ(program.GetChild(0)->GetFore(), 1);
    EXPECT_EQ(Current(), &program);

    // A screen is never deleted.
    Select(Screen());
    frame->RunCommand(IdDelete);
    EXPECT_EQ(doc.Root().GetChildCount(), 1);
    EXPECT_TRUE(sink.texts.isEmpty());
}

TEST_F(MainFrameTest, LimitsShowTheirMessagesAndChangeNothing)
{
    CProgram& program = FirstProgram();
    Select(&program);
    for (int i = 0; i < CProgram::kMaxWindows; ++i) {
        Select(&program);
        frame->RunCommand(IdAddWindow);
    }
    ASSERT_EQ(program.GetChildCount(), 16);
    const QByteArray full = doc.Root().SaveProjectBuffer();
    Select(&program);
    frame->RunCommand(IdAddWindow);
    frame->RunCommand(IdAddText);
    EXPECT_EQ(sink.texts, QStringList({LoadString(41064), LoadString(41064)}));
    EXPECT_EQ(doc.Root().SaveProjectBuffer(), full);

    // A zone selected in an explicit window adds to that window.
    CProjectObject* window = program.GetChild(0);
    Select(window);
    frame->RunCommand(IdAddText);
    Select(window->GetChild(0));
    frame->RunCommand(IdAddAnimate);
    EXPECT_EQ(window->GetChildCount(), 2);

    // Without a selection nothing is added.
    sink.texts.clear();
    frame->Tree().selectionModel()->clear();
    doc.SetCurrentObject(nullptr);
    const int steps = doc.UndoStack().count();
    frame->RunCommand(IdAddText);
    EXPECT_EQ(doc.UndoStack().count(), steps);

    auto* screen = static_cast<CScreen*>(Screen());
    while (screen->GetChildCount() < CScreen::kMaxPrograms)
        screen->AddChild(screen->CreateChild(KindProgram));
    doc.NotifyStructureChanged(screen);
    frame->RunCommand(IdAddProgram);
    EXPECT_EQ(sink.texts, QStringList({LoadString(41066)}));
    EXPECT_EQ(screen->GetChildCount(), CScreen::kMaxPrograms);
}

TEST_F(MainFrameTest, UndoAndRedoOfTreeCommandsGiveBackTheSameFile)
{
    CProgram& program = FirstProgram();
    Select(&program);
    frame->RunCommand(IdAddWindow);
    const QByteArray start = doc.Root().SaveProjectBuffer();

    Select(&program);
    frame->RunCommand(IdAddClock);
    frame->RunCommand(IdMoveUp);
    frame->RunCommand(IdAddProgram);
    Select(program.GetChild(1)->GetChild(0) ? program.GetChild(1) : &program);
    frame->RunCommand(IdAddText);
    Select(&program);
    frame->RunCommand(IdDelete); // the whole program, with its windows
    const QByteArray end = doc.Root().SaveProjectBuffer();
    const int steps = doc.UndoStack().index();
    ASSERT_GE(steps, 5);

    for (int i = 0; i < steps - 1; ++i)
        frame->RunCommand(IdUndo);
    EXPECT_EQ(doc.Root().SaveProjectBuffer(), start);
    for (int i = 0; i < steps - 1; ++i)
        frame->RunCommand(IdRedo);
    EXPECT_EQ(doc.Root().SaveProjectBuffer(), end);
    // The tree follows: the deleted program is gone from it.
    EXPECT_EQ(frame->Tree().Model().rowCount(frame->Tree().Model().IndexOf(Screen())),
              Screen()->GetChildCount());
}

TEST_F(MainFrameTest, CheckBoxOfAScreenIsTheSendFlagAndOneUndoStep)
{
    CProjectTreeModel& model = frame->Tree().Model();
    const QModelIndex screen = model.IndexOf(Screen());
    ASSERT_EQ(model.data(screen, Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
    model.setData(screen, Qt::Unchecked, Qt::CheckStateRole);
    EXPECT_EQ(static_cast<CScreen*>(Screen())->GetSelected(), 0);
    frame->RunCommand(IdUndo);
    EXPECT_EQ(static_cast<CScreen*>(Screen())->GetSelected(), 1);
    EXPECT_EQ(model.data(screen, Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
}

TEST_F(MainFrameTest, ClosingFollowsTheExitSetting)
{
    // 2: no question; a project without a file goes to temp.ledprj, which enters the
    // recent list.
    Settings().exit = 2;
    frame->show();
    EXPECT_TRUE(frame->close());
    EXPECT_TRUE(QFile::exists(TempProjectPath()));
    EXPECT_EQ(frame->RecentFiles().value(0), QFileInfo(TempProjectPath()).absoluteFilePath());

    // 1: Cancel keeps the window open, No closes without writing.
    const QString path = dir.filePath("shop.ledprj");
    ASSERT_TRUE(frame->SaveTo(path));
    Select(&FirstProgram());
    frame->RunCommand(IdAddWindow);
    Settings().exit = 1;
    frame->show();
    AnswerNextBox(QMessageBox::Cancel);
    EXPECT_FALSE(frame->close());
    AnswerNextBox(QMessageBox::No);
    frame->show();
    const QByteArray before = [&] {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();
    EXPECT_TRUE(frame->close());
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), before);
    saved.close();

    // 0: the quit question; No keeps it open, Yes saves to the document's file.
    Settings().exit = 0;
    frame->show();
    AnswerNextBox(QMessageBox::No);
    EXPECT_FALSE(frame->close());
    AnswerNextBox(QMessageBox::Yes);
    frame->show();
    EXPECT_TRUE(frame->close());
    CProjectRoot reloaded;
    ASSERT_TRUE(reloaded.LoadProject(path));
    EXPECT_EQ(reloaded.SaveProjectBuffer(), doc.Root().SaveProjectBuffer());
}

TEST_F(MainFrameTest, LanguageSwitchRelabelsAtOnceAndWritesLang)
{
    QMenu* file = frame->menuBar()->actions().value(0)->menu();
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->title(), QStringLiteral("&File"));
    frame->RunCommand(IdLangSimplified);
    EXPECT_EQ(CurrentLanguage(), Language::SimplifiedChinese);
    EXPECT_TRUE(Action(IdLangSimplified)->isChecked());
    EXPECT_EQ(AppSettings::Load(SettingsFilePath()).lang, 1);
    EXPECT_NE(file->title(), QStringLiteral("&File"));
    EXPECT_NE(Action(IdAddProgram)->text(), QStringLiteral("Add Program"));
    EXPECT_EQ(frame->InfoText(), LoadString(43034)); // the link summary, relabelled

    frame->RunCommand(IdLangTurkish);
    EXPECT_EQ(CurrentLanguage(), Language::English);
    EXPECT_EQ(AppSettings::Load(SettingsFilePath()).lang, 5);
    EXPECT_EQ(file->title(), QStringLiteral("&File"));
    EXPECT_EQ(Action(IdAddProgram)->text(), QStringLiteral("Add Program"));
}

TEST_F(MainFrameTest, AFileThatDoesNotOpenLeavesTheOpenProjectAsItWas)
{
    const QString good = dir.filePath("good.ledprj");
    Select(&FirstProgram());
    frame->RunCommand(IdAddWindow);
    ASSERT_TRUE(frame->SaveTo(good));
    frame->RunCommand(IdAddText); // an edit not yet saved
    const QByteArray open = doc.Root().SaveProjectBuffer();
    const int steps = doc.UndoStack().count();

    const QString junk = dir.filePath("junk.ledprj");
    {
        QFile file(junk);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a project");
    }
    for (const QString& path : {junk, dir.filePath("missing.ledprj"), dir.path()}) {
        sink.texts.clear();
        EXPECT_FALSE(frame->OpenFile(path));
        // The reason, with the file it is about; the project, its file and its history stay.
        ASSERT_EQ(sink.texts.size(), 1) << path.toStdString();
        EXPECT_TRUE(sink.texts[0].contains(QDir::toNativeSeparators(path)));
        EXPECT_TRUE(sink.texts[0].contains(LoadString(59142))) << sink.texts[0].toStdString();
        EXPECT_EQ(doc.Root().SaveProjectBuffer(), open);
        EXPECT_EQ(doc.FilePath(), QFileInfo(good).absoluteFilePath());
        EXPECT_EQ(doc.UndoStack().count(), steps);
        EXPECT_TRUE(doc.IsModified());
    }
    EXPECT_EQ(frame->RecentFiles().value(0), QFileInfo(good).absoluteFilePath());
    QFile file(junk);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("not a project"));

    // A dropped picture is nothing to open; a dropped project that does not load is said.
    sink.texts.clear();
    EXPECT_FALSE(frame->OpenDroppedFiles({QUrl::fromLocalFile(dir.filePath("photo.png"))}));
    EXPECT_TRUE(sink.texts.isEmpty());
    AnswerNextBox(QMessageBox::No); // keep the unsaved edit? not needed here
    EXPECT_TRUE(frame->OpenDroppedFiles({QUrl::fromLocalFile(junk)}));
    EXPECT_EQ(sink.texts.size(), 1);
    EXPECT_EQ(doc.Root().SaveProjectBuffer(), open);

    // A save that fails says why and keeps the edits.
    sink.texts.clear();
    EXPECT_FALSE(frame->SaveTo(dir.filePath("no/such/folder/x.ledprj")));
    EXPECT_EQ(sink.texts.size(), 1);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(MainFrameTest, EveryUntitledProjectIsClosedIntoAFileOfItsOwn)
{
    Settings().exit = 2;
    Select(&FirstProgram());
    frame->RunCommand(IdAddWindow);
    const QByteArray first = doc.Root().SaveProjectBuffer();
    frame->show();
    ASSERT_TRUE(frame->close());
    ASSERT_TRUE(QFile::exists(TempProjectPath()));

    // A second untitled session: its own file, the first one's stays as it was.
    CLumivantDoc next;
    CMainFrame again(next);
    again.NewProject();
    again.Tree().Select(next.Root().GetChild(0));
    again.RunCommand(IdAddProgram);
    again.show();
    ASSERT_TRUE(again.close());
    CProjectRoot kept;
    ASSERT_TRUE(kept.LoadProject(TempProjectPath()));
    EXPECT_EQ(kept.SaveProjectBuffer(), first);
    const QString second = QFileInfo(TempProjectPath()).absolutePath() + "/temp-2.ledprj";
    ASSERT_EQ(next.FilePath(), second);
    CProjectRoot secondKept;
    ASSERT_TRUE(secondKept.LoadProject(second));
    EXPECT_EQ(secondKept.SaveProjectBuffer(), next.Root().SaveProjectBuffer());
    EXPECT_EQ(again.RecentFiles().value(0), second);
}

TEST_F(MainFrameTest, ASaveOnCloseThatFailsKeepsTheWindowAndTheCopyAndOffersSaveAs)
{
    Settings().exit = 2;
    // The project's file stands where nothing can be written (its folder is a file).
    const QString blocker = dir.filePath("blocker");
    {
        QFile file(blocker);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QString unreachable = blocker + "/shop.ledprj";
    doc.SetFilePath(unreachable);
    Select(&FirstProgram());
    frame->RunCommand(IdAddWindow);
    ASSERT_TRUE(frame->Recovery().WriteNow());
    ASSERT_TRUE(frame->Recovery().HasCopy());
    frame->show();

    // Cancel: the window stays, with the edits and the copy.
    {
        BoxAnswerer cancel([](QMessageBox&) { return int(QMessageBox::Cancel); });
        EXPECT_FALSE(frame->close());
        ASSERT_EQ(cancel.texts.size(), 1);
        EXPECT_TRUE(cancel.texts[0].contains(QDir::toNativeSeparators(unreachable)));
        EXPECT_TRUE(cancel.texts[0].contains(LoadString(41029)) ||
                    cancel.texts[0].split('\n').size() > 2)
            << cancel.texts[0].toStdString();
        EXPECT_TRUE(doc.IsModified());
        EXPECT_TRUE(frame->Recovery().HasCopy());
    }

    // Save As: the file goes where it can, and the window closes.
    const QString elsewhere = dir.filePath("elsewhere.ledprj");
    WhenModal(QStringLiteral("saveFailedBox"), [&elsewhere](QWidget& box) {
        WhenModal(QStringLiteral("QFileDialog"), [&elsewhere](QWidget& chooser) {
            auto& files = static_cast<QFileDialog&>(chooser);
            files.selectFile(elsewhere);
            if (auto* name = files.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                name->setText(elsewhere);
            static_cast<QDialog&>(files).accept();
        });
        for (QAbstractButton* button : static_cast<QMessageBox&>(box).buttons()) {
            if (static_cast<QMessageBox&>(box).buttonRole(button) == QMessageBox::AcceptRole)
                button->click();
        }
    });
    EXPECT_TRUE(frame->close());
    // Wherever the file dialog put it (the name typed, or the one it offered), the project
    // is in a file there now.
    EXPECT_NE(doc.FilePath(), unreachable);
    CProjectRoot saved;
    ASSERT_TRUE(saved.LoadProject(doc.FilePath())) << doc.FilePath().toStdString();
    EXPECT_EQ(saved.SaveProjectBuffer(), doc.Root().SaveProjectBuffer());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(frame->Recovery().HasCopy());
}

TEST_F(MainFrameTest, AQuitAnsweredYesCanBeTakenBackWithRestoreEarlierVersion)
{
    Settings().exit = 0;
    const QString path = dir.filePath("menu.ledprj");
    ASSERT_TRUE(frame->SaveTo(path));
    const QByteArray asItWas = doc.Root().SaveProjectBuffer();
    EXPECT_FALSE(Action(IdRestoreVersion)->isEnabled() && CEarlierVersions(path).List().isEmpty());
    Select(&FirstProgram());
    frame->RunCommand(IdAddWindow);
    frame->show();
    AnswerNextBox(QMessageBox::Yes);
    ASSERT_TRUE(frame->close());
    CProjectRoot saved;
    ASSERT_TRUE(saved.LoadProject(path));
    EXPECT_NE(saved.SaveProjectBuffer(), asItWas);

    // The next start opens the file; its earlier version gives the project as it was.
    CLumivantDoc next;
    CMainFrame again(next);
    again.OpenStartupProject(QString());
    ASSERT_EQ(next.FilePath(), QFileInfo(path).absoluteFilePath());
    ASSERT_TRUE(again.Actions().Action(IdRestoreVersion)->isEnabled());
    WhenModal(QStringLiteral("earlierVersionsDialog"), [](QWidget& dialog) {
        auto* list = dialog.findChild<QTreeWidget*>(QStringLiteral("versionList"));
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->topLevelItemCount(), 1);
        EXPECT_EQ(list->headerItem()->text(0), QStringLiteral("Date"));
        EXPECT_TRUE(list->topLevelItem(0)->text(2).endsWith(QStringLiteral(" bytes")));
        ClickChild(dialog, "openButton");
    });
    again.RunCommand(IdRestoreVersion);
    EXPECT_TRUE(next.FilePath().isEmpty());
    EXPECT_TRUE(next.IsModified());
    EXPECT_EQ(next.Root().SaveProjectBuffer(), asItWas);
    // The file itself is as the save left it.
    CProjectRoot still;
    ASSERT_TRUE(still.LoadProject(path));
    EXPECT_EQ(still.SaveProjectBuffer(), saved.SaveProjectBuffer());
}

TEST_F(MainFrameTest, ACopyIsWrittenSecondsAfterAChangeAndOfferedAfterACrash)
{
    Select(&FirstProgram());
    frame->RunCommand(IdAddWindow);
    frame->RunCommand(IdAddText);
    EXPECT_FALSE(frame->Recovery().HasCopy());
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame->Recovery().HasCopy(); },
                                CRecoveryKeeper::kDelayMs * 3));
    const QByteArray crashed = doc.Root().SaveProjectBuffer();

    // Another program running beside it has a copy of its own.
    {
        CLumivantDoc beside;
        CMainFrame besideFrame(beside);
        besideFrame.NewProject();
        ASSERT_TRUE(besideFrame.Recovery().WriteNow());
        EXPECT_NE(besideFrame.Recovery().ProjectPath(), frame->Recovery().ProjectPath());
        // A copy of a program that still runs is not offered.
        for (const CRecoveryKeeper::LeftCopy& copy : CRecoveryKeeper::LeftBehind())
            EXPECT_NE(copy.projectPath, frame->Recovery().ProjectPath());
        besideFrame.Recovery().Discard();
    }

    // The program ends without closing; the next start offers its copy.
    const QString copyPath = frame->Recovery().ProjectPath();
    frame.reset();
    CLumivantDoc next;
    CMainFrame again(next);
    AnswerNextBox(QMessageBox::Yes);
    again.OpenStartupProject(QString());
    EXPECT_EQ(next.Root().SaveProjectBuffer().toStdString(), crashed.toStdString());
    EXPECT_TRUE(next.IsModified());
    EXPECT_FALSE(QFile::exists(copyPath));
    EXPECT_TRUE(again.Recovery().HasCopy());

    // A clean close removes the copy.
    Settings().exit = 2;
    again.show();
    EXPECT_TRUE(again.close());
    EXPECT_FALSE(again.Recovery().HasCopy());
    EXPECT_TRUE(CRecoveryKeeper::LeftBehind().isEmpty());
}

TEST_F(MainFrameTest, StartupOpensTheMostRecentFileElseTheDefaultElseANewProject)
{
    frame->OpenStartupProject(QString());
    EXPECT_EQ(doc.Root().GetChildCount(), 1);
    EXPECT_EQ(Screen()->GetChildCount(), 1);

    Select(Screen());
    frame->RunCommand(IdAddProgram);
    ASSERT_TRUE(frame->SaveTo(DefaultProjectPath()));
    const QString recent = dir.filePath("recent.ledprj");
    frame->RunCommand(IdAddProgram);
    ASSERT_TRUE(frame->SaveTo(recent));

    CLumivantDoc second;
    CMainFrame start(second);
    start.OpenStartupProject(QString());
    EXPECT_EQ(second.FilePath(), recent);
    EXPECT_EQ(second.Root().GetChild(0)->GetChildCount(), 3);

    // A file dropped on the window is opened.
    EXPECT_FALSE(start.OpenDroppedFiles({QUrl(QStringLiteral("https://example.invalid/x"))}));
    EXPECT_TRUE(start.OpenDroppedFiles({QUrl::fromLocalFile(DefaultProjectPath())}));
    EXPECT_EQ(second.FilePath(), QFileInfo(DefaultProjectPath()).absoluteFilePath());

    QFile::remove(recent); // a recent file that no longer exists is skipped
    CLumivantDoc third;
    CMainFrame fallback(third);
    fallback.OpenStartupProject(QString());
    EXPECT_EQ(third.FilePath(), QFileInfo(DefaultProjectPath()).absoluteFilePath());
    EXPECT_TRUE(sink.texts.isEmpty());
}

} // namespace

namespace {

TEST_F(MainFrameTest, MinusPanelOnTheScreenInThePreviewLetsEveryViewGo)
{
    // Two screens; the first one's program with a text zone is in the preview, as right
    // after opening a project.
    auto added = doc.Root().CreateChild(KindScreen);
    added->AddChild(added->CreateChild(KindProgram));
    CScreen* second = doc.AddScreen(std::move(added));
    CScreen* first = static_cast<CScreen*>(Screen());
    Select(&FirstProgram());
    frame->RunCommand(IdAddText);
    frame->show();
    Select(&FirstProgram());
    ASSERT_EQ(frame->Preview().Program(), &FirstProgram());
    ASSERT_GT(frame->Preview().PaneCount(), 0);
    const QByteArray before = doc.Root().SaveProjectBuffer();

    WhenModal(QStringLiteral("passwordDialog"), [](QWidget& prompt) {
        WhenModal(QStringLiteral("advancedSetupDialog"), [](QWidget& setup) {
            ClickChild(setup, "removePanel");
            ClickChild(setup, "cancel");
        });
        prompt.findChild<QLineEdit*>(QStringLiteral("password"))->setText(QStringLiteral("351"));
        static_cast<QDialog&>(prompt).accept();
    });
    frame->RunCommand(IdAdvancedSetup);
    QApplication::processEvents();
    frame->Preview().repaint();

    ASSERT_EQ(doc.Root().GetChildCount(), 1);
    EXPECT_EQ(doc.Root().GetChild(0), second);
    // Nothing shows the screen that went.
    CProgram* shown = frame->Preview().Program();
    EXPECT_TRUE(!shown || doc.Contains(shown));
    for (int i = 0; i < frame->Preview().PaneCount(); ++i)
        EXPECT_TRUE(doc.Contains(frame->Preview().Pane(i)->Window()));
    ASSERT_NE(Current(), nullptr);
    EXPECT_TRUE(doc.Contains(Current()));
    EXPECT_TRUE(CLumivantDoc::IsWithin(Current(), second));

    // Edit > Undo names the step and brings the same screen back, with the same file.
    EXPECT_EQ(Action(IdUndo)->text(), QStringLiteral("&Undo Delete ") + first->GetName());
    frame->RunCommand(IdUndo);
    EXPECT_EQ(doc.Root().GetChild(0), first);
    EXPECT_EQ(doc.Root().SaveProjectBuffer(), before);
    Select(&FirstProgram());
    EXPECT_EQ(frame->Preview().Program(), &FirstProgram());
}

TEST_F(MainFrameTest, DeletedZoneLeavesThePropertyHostAndThePreview)
{
    Select(&FirstProgram());
    frame->RunCommand(IdAddWindow);
    frame->RunCommand(IdAddText);
    frame->show();
    CProjectObject* zone = Current();
    ASSERT_NE(zone, nullptr);
    ASSERT_TRUE(IsZoneKind(zone->GetKind()));
    ASSERT_NE(frame->Host().Page(), nullptr);
    ASSERT_EQ(&frame->Host().Page()->Object(), zone);
    frame->RunCommand(IdDelete);
    QApplication::processEvents();
    EXPECT_TRUE(!frame->Host().Page() || &frame->Host().Page()->Object() != zone);
    EXPECT_TRUE(doc.Contains(Current()));
    frame->RunCommand(IdUndo);
    QApplication::processEvents();
    EXPECT_EQ(Current(), zone);
    ASSERT_NE(frame->Host().Page(), nullptr);
    EXPECT_EQ(&frame->Host().Page()->Object(), zone);
}

} // namespace

namespace {

TEST_F(MainFrameTest, DeleteKeyDeletesOnlyWhenTheTreeOrThePreviewHasTheFocus)
{
    Select(&FirstProgram());
    frame->RunCommand(IdAddWindow);
    frame->RunCommand(IdAddTable);
    CProjectObject* table = Current();
    ASSERT_EQ(table->GetKind(), KindTable);
    frame->show();
    QApplication::setActiveWindow(frame.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));

    // In the table page's grid and in the name field the key is the control's own.
    auto* grid = frame->Host().findChild<QTableWidget*>(QStringLiteral("grid"));
    ASSERT_NE(grid, nullptr);
    grid->setFocus();
    ASSERT_TRUE(grid->hasFocus());
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(Current(), table);
    EXPECT_TRUE(doc.Contains(table));
    auto* cellText = frame->Host().findChild<QLineEdit*>(QStringLiteral("cellText"));
    ASSERT_NE(cellText, nullptr);
    cellText->setFocus();
    QTest::keyClick(cellText, Qt::Key_Delete);
    EXPECT_TRUE(doc.Contains(table));

    // In the tree it deletes the selected object.
    frame->Tree().setFocus();
    QTest::keyClick(&frame->Tree(), Qt::Key_Delete);
    EXPECT_FALSE(doc.Contains(table));
}

TEST_F(MainFrameTest, TheContextMenuAndTheButtonsAreTheCommandsThemselves)
{
    auto* menu = frame->findChild<QMenu*>(QStringLiteral("treeContextMenu"));
    ASSERT_NE(menu, nullptr);
    for (int id : {IdDelete, IdAddProgram, IdAddText, IdMoveUp, IdMoveDown})
        EXPECT_TRUE(menu->actions().contains(Action(id))) << id;

    // Delete and Move are off where they would do nothing.
    Select(Screen());
    EXPECT_FALSE(Action(IdDelete)->isEnabled());
    EXPECT_FALSE(Action(IdMoveUp)->isEnabled());
    Select(&FirstProgram());
    EXPECT_TRUE(Action(IdDelete)->isEnabled());
    EXPECT_FALSE(Action(IdMoveUp)->isEnabled());
    EXPECT_FALSE(Action(IdMoveDown)->isEnabled());
    frame->RunCommand(IdAddProgram);
    EXPECT_TRUE(Action(IdMoveUp)->isEnabled());
    EXPECT_FALSE(Action(IdMoveDown)->isEnabled());
}

TEST_F(MainFrameTest, AScreenPageButtonRunsItsCommandOnceAlsoAfterLanguageSwitches)
{
    doc.SetRoot(DialogsTextProject(1, 100), QString()); // nothing answers on port 1
    Select(Screen());
    QSignalSpy runs(&frame->Actions(), &CFrameActions::triggered);
    const auto clickSync = [&] {
        auto* button = frame->Host().findChild<QPushButton*>(QStringLiteral("syncTimer"));
        ASSERT_NE(button, nullptr);
        BoxAnswerer boxes; // "Command failed:..."
        button->click();
        EXPECT_EQ(boxes.texts.size(), 1);
    };
    clickSync();
    frame->RunCommand(IdLangSimplified);
    frame->RunCommand(IdLangEnglish);
    Select(Screen());
    clickSync();
    int syncs = 0;
    for (const QList<QVariant>& run : runs)
        syncs += run[0].toInt() == IdSyncTimer ? 1 : 0;
    EXPECT_EQ(syncs, 2);
}

} // namespace

namespace {

TEST_F(MainFrameTest, EveryControlOfTheWindowAndItsPagesHasAName)
{
    Select(&FirstProgram());
    frame->RunCommand(IdAddWindow);
    for (int id : {IdAddText, IdAddImage, IdAddClock, IdAddDateTime, IdAddAnimate, IdAddTemperature,
                   IdAddCountdown, IdAddTable})
        frame->RunCommand(id);
    frame->show();
    std::vector<CProjectObject*> objects{Screen(), &FirstProgram(), FirstProgram().GetChild(0)};
    for (int i = 0; i < FirstProgram().GetChild(0)->GetChildCount(); ++i)
        objects.push_back(FirstProgram().GetChild(0)->GetChild(i));
    QStringList missing;
    for (CProjectObject* object : objects) {
        Select(object);
        QApplication::processEvents();
        for (const QString& control : ControlsWithoutName(frame.get()))
            missing << object->GetName() + QStringLiteral(": ") + control;
    }
    missing.removeDuplicates();
    EXPECT_TRUE(missing.isEmpty()) << missing.join(u'\n').toStdString();
}

} // namespace

namespace {

TEST_F(MainFrameTest, UndoOfTreeCommandsSetupFormsAndPanelsGivesBackTheSameFiles)
{
    Select(&FirstProgram());
    frame->RunCommand(IdAddWindow);
    frame->RunCommand(IdAddText);
    std::vector<QByteArray> files{doc.Root().SaveProjectBuffer()};
    const int start = doc.UndoStack().index();
    const auto stepped = [&] {
        ASSERT_EQ(doc.UndoStack().index(), start + int(files.size()));
        files.push_back(doc.Root().SaveProjectBuffer());
    };

    // Panel Setup on a card that does not answer: the values stay in the project.
    BoxAnswerer boxes([](QMessageBox& box) {
        return int(box.button(QMessageBox::No) ? QMessageBox::No : QMessageBox::Ok);
    });
    WhenModal(QStringLiteral("passwordDialog"), [](QWidget& prompt) {
        WhenModal(QStringLiteral("panelSetupDialog"), [](QWidget& setup) {
            setup.findChild<QSpinBox*>(QStringLiteral("height"))->setValue(64);
            ClickChild(setup, "setup");
            ClickChild(setup, "cancel");
        });
        prompt.findChild<QLineEdit*>(QStringLiteral("password"))->setText(QStringLiteral("274"));
        static_cast<QDialog&>(prompt).accept();
    });
    frame->RunCommand(IdPanelSetup);
    EXPECT_EQ(static_cast<CScreen*>(Screen())->Height(), 64);
    stepped();

    // +Panel (kept although nothing answers), then -Panel on the first screen.
    WhenModal(QStringLiteral("passwordDialog"), [](QWidget& prompt) {
        WhenModal(QStringLiteral("advancedSetupDialog"), [](QWidget& setup) {
            WhenModal(QStringLiteral("commSetupDialog"),
                      [](QWidget& comm) { ClickChild(comm, "save"); });
            ClickChild(setup, "addPanel");
            setup.findChild<QListWidget*>(QStringLiteral("panelList"))->setCurrentRow(0);
            ClickChild(setup, "removePanel");
            ClickChild(setup, "cancel");
        });
        prompt.findChild<QLineEdit*>(QStringLiteral("password"))->setText(QStringLiteral("351"));
        static_cast<QDialog&>(prompt).accept();
    });
    frame->RunCommand(IdAdvancedSetup);
    ASSERT_EQ(doc.Root().GetChildCount(), 1);
    ASSERT_EQ(doc.UndoStack().index(), start + 3);
    doc.UndoStack().undo();
    files.push_back(doc.Root().SaveProjectBuffer()); // after +Panel
    doc.UndoStack().redo();
    files.push_back(doc.Root().SaveProjectBuffer()); // after -Panel

    // The send flag of the remaining screen, and a tree command on it.
    frame->Tree().Model().setData(frame->Tree().Model().IndexOf(Screen()), Qt::Unchecked,
                                  Qt::CheckStateRole);
    stepped();
    Select(Screen());
    frame->RunCommand(IdAddProgram);
    stepped();

    for (int i = int(files.size()) - 1; i > 0; --i) {
        frame->RunCommand(IdUndo);
        ASSERT_EQ(doc.Root().SaveProjectBuffer(), files[size_t(i - 1)]) << "undo to " << i - 1;
    }
    for (size_t i = 1; i < files.size(); ++i) {
        frame->RunCommand(IdRedo);
        ASSERT_EQ(doc.Root().SaveProjectBuffer(), files[i]) << "redo to " << i;
    }
}

} // namespace
