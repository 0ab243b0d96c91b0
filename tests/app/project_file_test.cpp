// One writer at a time and a file changed on the disk: the desktop program saves under the
// project lock (a held file is said, and the person tries again or saves elsewhere), and
// notices when another program changed its file: it loads it again when nothing is unsaved,
// else the person chooses; its own saves are never taken for a change.
#include "dialogs_test_support.h"

#include "app/frame_actions.h"
#include "app/left_view.h"
#include "app/main_frame.h"
#include "base/app_paths.h"
#include "base/app_settings.h"
#include "base/messages.h"
#include "base/project_lock.h"
#include "base/string_table.h"
#include "document/lumivant_doc.h"
#include "document/project_file.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

namespace {

// Answers every message box that opens with its button of that text, recording the texts;
// before answering it runs the step, if any.
class NamedAnswerer : public QObject
{
public:
    explicit NamedAnswerer(QString button, std::function<void()> before = {})
        : m_button(std::move(button)), m_before(std::move(before))
    {
        m_timer.setInterval(20);
        connect(&m_timer, &QTimer::timeout, this, [this] { Poll(); });
        m_timer.start();
    }
    QStringList texts;

private:
    void Poll()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || box->property("answered").toBool())
            return;
        box->setProperty("answered", true);
        texts << box->text();
        if (m_before)
            m_before();
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == m_button) {
                button->click();
                return;
            }
        }
        ADD_FAILURE() << "no button " << m_button.toStdString();
        box->done(0);
    }

    QString m_button;
    std::function<void()> m_before;
    QTimer m_timer;
};

class ProjectFileTest : public testing::Test
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
        path = dir.filePath(QStringLiteral("shop.ledprj"));
        auto root = CProjectRoot::NewProject();
        root->GetChild(0)->SetName(QStringLiteral("Shop front"));
        ASSERT_TRUE(root->SaveProject(path));
        frame = std::make_unique<CMainFrame>(doc);
        ASSERT_TRUE(frame->OpenFile(path));
        frame->show();
    }
    void TearDown() override
    {
        frame.reset();
        SetDataFolderOverride(QString());
    }

    // Another program writes the file: the screen gets another name.
    void WriteElsewhere(const QString& screenName)
    {
        CProjectRoot other;
        ASSERT_TRUE(other.LoadProject(path));
        other.GetChild(0)->SetName(screenName);
        ASSERT_TRUE(other.SaveProject(path));
    }
    QString ScreenName() { return doc.Root().GetChild(0)->GetName(); }
    void Rename(const QString& name)
    {
        CProjectObject& screen = *doc.Root().GetChild(0);
        doc.EditObject(screen, RefreshCode::Name, false, [&] { screen.SetName(name); });
    }

    QTemporaryDir dir;
    QString path;
    CLumivantDoc doc;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(ProjectFileTest, AChangedFileIsLoadedAgainWhenNothingIsUnsavedAndOwnSavesAreNotChanges)
{
    QSignalSpy replaced(&doc, &CLumivantDoc::projectReplaced);
    // This program's own save: no change of another one.
    Rename(QStringLiteral("Mine"));
    ASSERT_TRUE(frame->Save());
    QTest::qWait(CProjectFile::kSettleMs * 3);
    EXPECT_EQ(replaced.count(), 0);
    EXPECT_FALSE(frame->ProjectFile().ChangedOnDisk());

    // The selected program stays selected after the reload.
    frame->Tree().Select(doc.Root().GetChild(0)->GetChild(0));
    WriteElsewhere(QStringLiteral("Theirs"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ScreenName() == QStringLiteral("Theirs"); }, 5000));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.FilePath(), path);
    EXPECT_TRUE(frame->StatusText().contains(QStringLiteral("loaded again")))
        << frame->StatusText().toStdString();
    EXPECT_EQ(doc.CurrentObject(), doc.Root().GetChild(0)->GetChild(0));

    // Removed: said, and the open project stays as it is.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return frame->StatusText().contains(QStringLiteral("removed")); }, 5000));
    EXPECT_EQ(ScreenName(), QStringLiteral("Theirs"));
    ASSERT_TRUE(frame->Save());
    EXPECT_TRUE(QFileInfo::exists(path));
}

TEST_F(ProjectFileTest, WithUnsavedChangesThePersonKeepsTheirsOrLoadsTheOther)
{
    Rename(QStringLiteral("Mine"));
    {
        NamedAnswerer keep(QStringLiteral("Keep Mine"));
        WriteElsewhere(QStringLiteral("Theirs"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !keep.texts.isEmpty(); }, 5000));
        EXPECT_TRUE(keep.texts[0].contains(QStringLiteral("shop.ledprj")));
        QTest::qWait(CProjectFile::kSettleMs * 2);
        EXPECT_EQ(keep.texts.size(), 1); // asked once
    }
    EXPECT_EQ(ScreenName(), QStringLiteral("Mine"));
    EXPECT_TRUE(doc.IsModified());
    // Kept: the save writes this project over theirs without asking again.
    {
        BoxAnswerer none;
        ASSERT_TRUE(frame->Save());
        EXPECT_TRUE(none.texts.isEmpty());
    }
    CProjectRoot saved;
    ASSERT_TRUE(saved.LoadProject(path));
    EXPECT_EQ(saved.GetChild(0)->GetName(), QStringLiteral("Mine"));

    Rename(QStringLiteral("Mine again"));
    {
        NamedAnswerer load(QStringLiteral("Load Theirs"));
        WriteElsewhere(QStringLiteral("Theirs again"));
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return ScreenName() == QStringLiteral("Theirs again"); }, 5000));
        EXPECT_EQ(load.texts.size(), 1);
    }
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(ProjectFileTest, ASaveBeforeTheChangeWasNoticedAsksFirst)
{
    Rename(QStringLiteral("Mine"));
    WriteElsewhere(QStringLiteral("Theirs")); // saved at once, before the watch settles
    NamedAnswerer load(QStringLiteral("Load Theirs"));
    EXPECT_FALSE(frame->Save());
    ASSERT_EQ(load.texts.size(), 1);
    EXPECT_EQ(ScreenName(), QStringLiteral("Theirs"));
    CProjectRoot onDisk;
    ASSERT_TRUE(onDisk.LoadProject(path));
    EXPECT_EQ(onDisk.GetChild(0)->GetName(), QStringLiteral("Theirs"));
}

TEST_F(ProjectFileTest, AFileHeldByAnotherWriterIsSaidAndNothingIsLost)
{
    // lumivant-cli holds the lock while it writes; here a lock this test holds stands for it.
    auto held = std::make_unique<CProjectLock>();
    ASSERT_TRUE(held->Acquire(path, 0));
    Rename(QStringLiteral("Mine"));

    // Cancel: nothing saved, nothing lost.
    {
        NamedAnswerer cancel(QStringLiteral("Cancel"));
        EXPECT_FALSE(frame->Save());
        ASSERT_EQ(cancel.texts.size(), 1);
        EXPECT_TRUE(cancel.texts[0].contains(QDir::toNativeSeparators(path)));
        EXPECT_TRUE(cancel.texts[0].contains(QStringLiteral("is being changed by")))
            << cancel.texts[0].toStdString();
    }
    EXPECT_TRUE(doc.IsModified());
    CProjectRoot onDisk;
    ASSERT_TRUE(onDisk.LoadProject(path));
    EXPECT_EQ(onDisk.GetChild(0)->GetName(), QStringLiteral("Shop front"));

    // Try Again once the other writer is done.
    {
        NamedAnswerer retry(QStringLiteral("Try Again"), [&held] { held.reset(); });
        EXPECT_TRUE(frame->Save());
        EXPECT_EQ(retry.texts.size(), 1);
    }
    EXPECT_FALSE(doc.IsModified());
    CProjectRoot written;
    ASSERT_TRUE(written.LoadProject(path));
    EXPECT_EQ(written.GetChild(0)->GetName(), QStringLiteral("Mine"));
    EXPECT_FALSE(QFileInfo::exists(CProjectLock::LockPathFor(path))); // let go after writing
}

} // namespace
