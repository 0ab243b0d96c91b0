// Saves that replace a file whole or not at all, on a disk that is full or read-only.
#include "base/durable_file.h"
#include "support/small_disk.h"
#include "support/test_support.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

const QByteArray kOld = QByteArray("old contents\n");

QByteArray Large(int size)
{
    return QByteArray(size, 'x');
}

int ModeOf(const QString& path)
{
    struct stat status
    {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : -1;
}

} // namespace

using DurableFileFullDisk = SmallDiskTest;

TEST_F(DurableFileFullDisk, NoRoomLeavesTheOldFileAndNamesTheReason)
{
    const QString path = PathOnDisk(QStringLiteral("project.ledprj"));
    ASSERT_TRUE(WriteFileDurably(path, kOld));
    // 4 KB free and a file that needs three times that; then nothing free at all.
    for (const qint64 free : {4096, 0}) {
        SCOPED_TRACE(free);
        FillLeaving(free);
        QString reason;
        EXPECT_FALSE(WriteFileDurably(path, Large(12000), &reason));
        EXPECT_EQ(reason, path + QStringLiteral(": No space left on device"));
        EXPECT_EQ(ReadFileBytes(path), kOld);
        EXPECT_EQ(Entries(), QStringList{QStringLiteral("project.ledprj")});
    }
    // A new file that does not fit is not left behind empty.
    QString reason;
    EXPECT_FALSE(WriteFileDurably(PathOnDisk(QStringLiteral("new.ledprj")), Large(9000), &reason));
    EXPECT_FALSE(QFileInfo::exists(PathOnDisk(QStringLiteral("new.ledprj"))));
}

TEST_F(DurableFileFullDisk, ReadOnlyDiskIsReported)
{
    const QString path = PathOnDisk(QStringLiteral("LED.RZU"));
    ASSERT_TRUE(WriteFileDurably(path, kOld));
    MakeReadOnly();
    QString reason;
    EXPECT_FALSE(WriteFileDurably(path, Large(100), &reason));
    EXPECT_EQ(reason, path + QStringLiteral(": Read-only file system"));
    EXPECT_EQ(ReadFileBytes(path), kOld);
}

TEST(DurableFile, ReplacesKeepingModeAndFollowingLinks)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kept.ledprj"));
    ASSERT_TRUE(WriteFileDurably(path, kOld));
    EXPECT_EQ(
        ModeOf(path), 0666 & ~[] {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            return int(mask);
        }());
    for (const int mode : {0444, 0640}) {
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode_t(mode)), 0);
        ASSERT_TRUE(WriteFileDurably(path, Large(10)));
        EXPECT_EQ(ReadFileBytes(path), Large(10));
        EXPECT_EQ(ModeOf(path), mode);
    }

    const QString link = dir.filePath(QStringLiteral("link.ledprj"));
    ASSERT_TRUE(QFile::link(path, link));
    ASSERT_TRUE(WriteFileDurably(link, kOld));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(ReadFileBytes(path), kOld);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST(DurableFile, RefusalsNameThePathAndTheReason)
{
    QTemporaryDir dir;
    QString reason;
    const QString missing = dir.filePath(QStringLiteral("no/such/folder.ledprj"));
    EXPECT_FALSE(WriteFileDurably(missing, kOld, &reason));
    EXPECT_EQ(reason, missing + QStringLiteral(": No such file or directory"));
    EXPECT_FALSE(WriteFileDurably(dir.path(), kOld, &reason));
    EXPECT_TRUE(reason.endsWith(QStringLiteral(": Is a directory"))) << reason.toStdString();
    EXPECT_EQ(SaveFailureText(QStringLiteral("Error on save project!"), reason),
              QStringLiteral("Error on save project! ") + reason);
}
