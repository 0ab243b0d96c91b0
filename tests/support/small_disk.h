#pragma once

// A 3 MB tmpfs mounted under a temporary folder for the length of a test, to see what
// saves do when the disk is full or read-only. Mounting needs root: tests skip without it.

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

class SmallDiskTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "mounting a small tmpfs needs root";
        ASSERT_TRUE(m_folder.isValid());
        if (::mount("tmpfs", Mountpoint().constData(), "tmpfs", 0, "size=3m,mode=0777") != 0)
            GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
        m_mounted = true;
    }
    void TearDown() override
    {
        if (m_mounted)
            ::umount2(Mountpoint().constData(), MNT_DETACH);
    }

    QString Disk() const { return m_folder.path(); }
    QString PathOnDisk(const QString& name) const { return QDir(Disk()).filePath(name); }

    // Fills the disk with one file until freeBytes (a multiple of 4096) are left.
    void FillLeaving(qint64 freeBytes)
    {
        const QByteArray name = QFile::encodeName(PathOnDisk(QStringLiteral(".filler")));
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        static const char block[4096] = {};
        while (::write(fd, block, sizeof block) > 0) {
        }
        off_t size = ::lseek(fd, 0, SEEK_END);
        ASSERT_EQ(::ftruncate(fd, size > freeBytes ? size - freeBytes : 0), 0);
        ::close(fd);
    }
    void MakeReadOnly()
    {
        ASSERT_EQ(
            ::mount("tmpfs", Mountpoint().constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=3m"),
            0)
            << std::strerror(errno);
    }
    // Names on the disk other than the filler: what a failed save may have left behind.
    QStringList Entries() const
    {
        QStringList names = QDir(Disk()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot |
                                                   QDir::Hidden | QDir::System);
        names.removeAll(QStringLiteral(".filler"));
        return names;
    }

private:
    QByteArray Mountpoint() const { return QFile::encodeName(m_folder.path()); }

    QTemporaryDir m_folder;
    bool m_mounted = false;
};
