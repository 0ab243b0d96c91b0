// One writer of a project at a time: the lock file beside the project, waiting for it,
// taking over a lock whose process is gone, and telling a replaced file from an unchanged one.
#include "base/durable_file.h"
#include "base/project_lock.h"
#include "support/test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

namespace {

class ProjectLockTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        project = m_dir.filePath(QStringLiteral("shop.ledprj"));
        ASSERT_TRUE(WriteFileBytes(project, "<project/>"));
    }

    QTemporaryDir m_dir;
    QString project;
};

} // namespace

TEST_F(ProjectLockTest, HoldsALockFileBesideTheProjectUntilReleased)
{
    const QString lockPath = project + QStringLiteral(".lock");
    EXPECT_EQ(CProjectLock::LockPathFor(project), lockPath);
    {
        CProjectLock lock;
        ASSERT_TRUE(lock.Acquire(project, 0)) << lock.Error().toStdString();
        EXPECT_TRUE(lock.IsHeld());
        EXPECT_TRUE(QFile::exists(lockPath));
    }
    EXPECT_FALSE(QFile::exists(lockPath));
}

TEST_F(ProjectLockTest, ASecondWriterWaitsAndThenSaysWhoHoldsIt)
{
    CProjectLock first;
    ASSERT_TRUE(first.Acquire(project, 0));
    CProjectLock second;
    QElapsedTimer waited;
    waited.start();
    EXPECT_FALSE(second.Acquire(project, 300));
    EXPECT_GE(waited.elapsed(), 280);
    EXPECT_LT(waited.elapsed(), 3000);
    EXPECT_FALSE(second.IsHeld());
    EXPECT_TRUE(second.Error().contains(QDir::toNativeSeparators(project)))
        << second.Error().toStdString();
    EXPECT_TRUE(second.Error().contains(QString::number(QCoreApplication::applicationPid())))
        << second.Error().toStdString();
}

TEST_F(ProjectLockTest, AWaitingWriterGetsTheLockOnceItIsReleased)
{
    auto first = std::make_unique<CProjectLock>();
    ASSERT_TRUE(first->Acquire(project, 0));
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        first.reset();
    });
    CProjectLock second;
    QElapsedTimer waited;
    waited.start();
    const bool acquired = second.Acquire(project, 5000);
    releaser.join();
    EXPECT_TRUE(acquired) << second.Error().toStdString();
    EXPECT_LT(waited.elapsed(), 2000);
}

TEST_F(ProjectLockTest, TakesOverALockWhoseProcessIsGone)
{
    // A lock file as a process that ended without releasing it leaves it.
    QByteArray contents;
    {
        QLockFile probe(m_dir.filePath(QStringLiteral("probe.lock")));
        ASSERT_TRUE(probe.tryLock(0));
        contents = ReadFileBytes(m_dir.filePath(QStringLiteral("probe.lock")));
    }
    QProcess gone;
    gone.start(QStringLiteral("true"), {});
    ASSERT_TRUE(gone.waitForStarted(5000));
    const qint64 deadPid = gone.processId();
    ASSERT_TRUE(gone.waitForFinished(5000));
    const qsizetype newline = contents.indexOf('\n');
    ASSERT_GT(newline, 0);
    contents = QByteArray::number(deadPid) + contents.mid(newline);
    ASSERT_TRUE(WriteFileBytes(CProjectLock::LockPathFor(project), contents));

    CProjectLock lock;
    EXPECT_TRUE(lock.Acquire(project, 1000)) << lock.Error().toStdString();
    EXPECT_TRUE(lock.IsHeld());
}

TEST_F(ProjectLockTest, ALinkedProjectIsLockedBesideTheFileItNames)
{
    const QString link = m_dir.filePath(QStringLiteral("link.ledprj"));
    ASSERT_TRUE(QFile::link(project, link));
    EXPECT_EQ(CProjectLock::LockPathFor(link), CProjectLock::LockPathFor(project));
    CProjectLock first;
    ASSERT_TRUE(first.Acquire(link, 0));
    CProjectLock second;
    EXPECT_FALSE(second.Acquire(project, 0));
}

TEST_F(ProjectLockTest, AFolderWithoutRoomForTheLockLeavesTheSaveToSayWhy)
{
    CProjectLock lock;
    EXPECT_TRUE(lock.Acquire(m_dir.filePath(QStringLiteral("missing/shop.ledprj")), 0));
    EXPECT_FALSE(lock.IsHeld());
    EXPECT_TRUE(lock.Error().contains(QStringLiteral(".lock"))) << lock.Error().toStdString();
}

TEST_F(ProjectLockTest, StampsTellAReplacedFileFromAnUnchangedOne)
{
    const FileStamp before = FileStamp::Of(project);
    EXPECT_TRUE(before.Exists());
    EXPECT_EQ(FileStamp::Of(project), before);
    // Same size, written in the same instant: the rename still gives it away.
    ASSERT_TRUE(WriteFileDurably(project, "<tcejorp/>"));
    EXPECT_NE(FileStamp::Of(project), before);
    EXPECT_FALSE(FileStamp::Of(m_dir.filePath(QStringLiteral("none.ledprj"))).Exists());
}
