// Reading files with an upper size: regular files, pipes with and without a writer, and
// what is neither.
#include "base/bounded_file.h"
#include "base/string_table.h"
#include "support/test_support.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class BoundedFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        // A writer whose reader has gone must see EPIPE, not end the test program.
        m_previousPipe = std::signal(SIGPIPE, SIG_IGN);
    }
    void TearDown() override { std::signal(SIGPIPE, m_previousPipe); }

    QString Path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }

    QString MakeFifo(const char* name) const
    {
        const QString path = Path(name);
        EXPECT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        return path;
    }

    QTemporaryDir m_dir;
    void (*m_previousPipe)(int) = SIG_DFL;
};

void WriteAllTo(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(fd, bytes.constData() + done, bytes.size() - done);
        if (wrote <= 0)
            return;
        done += wrote;
    }
}

TEST_F(BoundedFileTest, RegularFilesAreReadUpToTheLimitAndRefusedBeyondIt)
{
    const QString exact = Path("exact.txt");
    ASSERT_TRUE(WriteFileBytes(exact, QByteArray(4096, 'a')));
    QByteArray bytes;
    QString reason;
    ASSERT_TRUE(ReadFileBounded(exact, 4096, &bytes, &reason)) << reason.toStdString();
    EXPECT_EQ(bytes, QByteArray(4096, 'a'));

    const QString over = Path("over.txt");
    ASSERT_TRUE(WriteFileBytes(over, QByteArray(4097, 'b')));
    EXPECT_FALSE(ReadFileBounded(over, 4096, &bytes, &reason));
    EXPECT_TRUE(bytes.isEmpty());
    EXPECT_EQ(reason, QStringLiteral("The file is larger than 4 KB."));

    // A huge sparse file is refused from its size, without reading it.
    const QString sparse = Path("sparse.bin");
    QFile file(sparse);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(qint64(64) << 30));
    file.close();
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(ReadFileBounded(sparse, file_limits::kZoneText, &bytes, &reason));
    EXPECT_EQ(reason, QStringLiteral("The file is larger than 16 MB."));
    EXPECT_LT(clock.elapsed(), 2000);

    const QString empty = Path("empty.txt");
    ASSERT_TRUE(WriteFileBytes(empty, QByteArray()));
    EXPECT_TRUE(ReadFileBounded(empty, 10, &bytes, &reason));
    EXPECT_TRUE(bytes.isEmpty());
}

TEST_F(BoundedFileTest, FoldersDevicesAndMissingFilesAreRefusedAtOnce)
{
    QByteArray bytes("left over");
    QString reason;
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(ReadFileBounded(m_dir.path(), 100, &bytes, &reason));
    EXPECT_EQ(reason, QStringLiteral("It is a folder, not a file."));
    EXPECT_TRUE(bytes.isEmpty());
    // /dev/zero would give bytes without end; it is never opened.
    EXPECT_FALSE(
        ReadFileBounded(QStringLiteral("/dev/zero"), file_limits::kZoneText, &bytes, &reason));
    EXPECT_EQ(reason, QStringLiteral("It is not a regular file or a pipe."));
    EXPECT_FALSE(ReadFileBounded(Path("missing.txt"), 100, &bytes, &reason));
    EXPECT_EQ(reason, QStringLiteral("The file does not exist."));
    EXPECT_FALSE(ReadFileBounded(QString(), 100, &bytes, &reason));
    EXPECT_EQ(reason, QStringLiteral("The file does not exist."));
    EXPECT_LT(clock.elapsed(), 2000);

    // The reason follows the language.
    SetLanguage(Language::SimplifiedChinese);
    EXPECT_FALSE(ReadFileBounded(m_dir.path(), 100, &bytes, &reason));
    SetLanguage(Language::English);
    EXPECT_EQ(reason, QStringLiteral("这是文件夹，不是文件。"));
}

TEST_F(BoundedFileTest, AFifoIsReadFromItsWriterAndGivenUpWithoutOne)
{
    const QString fifo = MakeFifo("in.fifo");
    QByteArray bytes;
    QString reason;

    // The writer comes after the reader has started waiting, and writes in two parts.
    std::thread writer([&] {
        // Opened without blocking, so that a reader that never comes cannot hang the test.
        int fd = -1;
        for (int tries = 0; fd < 0 && tries < 500; ++tries) {
            fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
            if (fd < 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (fd < 0)
            return;
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        WriteAllTo(fd, "first line\n");
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        WriteAllTo(fd, "second line\n");
        ::close(fd);
    });
    const bool read = ReadFileBounded(fifo, 1000, &bytes, &reason, 5000);
    writer.join();
    ASSERT_TRUE(read) << reason.toStdString();
    EXPECT_EQ(bytes, QByteArray("first line\nsecond line\n"));

    // Nobody ever writes: the wait ends after the bound.
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(ReadFileBounded(fifo, 1000, &bytes, &reason, 300));
    EXPECT_GE(clock.elapsed(), 250);
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(reason, QStringLiteral("Nothing came from the pipe for 1 seconds."));
    EXPECT_TRUE(bytes.isEmpty());
}

TEST_F(BoundedFileTest, APipeIsReadLikeAProcessSubstitutionAndStoppedPastTheLimit)
{
    // <(command) hands the program /dev/fd/N of a pipe whose writer is already there.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const QString path = QStringLiteral("/dev/fd/%1").arg(ends[0]);
    std::thread writer([&] {
        WriteAllTo(ends[1], "Sat Jan  1 12:00:00 UTC 2028\n");
        ::close(ends[1]);
    });
    QByteArray bytes;
    QString reason;
    const bool read = ReadFileBounded(path, 1000, &bytes, &reason, 5000);
    writer.join();
    ::close(ends[0]);
    ASSERT_TRUE(read) << reason.toStdString();
    EXPECT_EQ(bytes, QByteArray("Sat Jan  1 12:00:00 UTC 2028\n"));

    // An endless writer (yes, /dev/zero behind a pipe): reading stops just past the limit.
    ASSERT_EQ(::pipe(ends), 0);
    const QString endless = QStringLiteral("/dev/fd/%1").arg(ends[0]);
    std::atomic<bool> stop{false};
    std::thread flood([&] {
        const QByteArray block(65536, 'y');
        while (!stop && ::write(ends[1], block.constData(), block.size()) > 0) {
        }
    });
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(ReadFileBounded(endless, 1024 * 1024, &bytes, &reason, 5000));
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(reason, QStringLiteral("More than 1 MB came from the pipe; reading stopped there."));
    EXPECT_TRUE(bytes.isEmpty());
    stop = true;
    ::close(ends[0]);
    flood.join();
    ::close(ends[1]);
}

TEST_F(BoundedFileTest, NamedFilesMustBeRegularAndOfASaneSize)
{
    const QString picture = Path("picture.bmp");
    ASSERT_TRUE(WriteFileBytes(picture, QByteArray(100, 'p')));
    QString reason;
    EXPECT_TRUE(IsSafeNamedFile(picture, &reason));
    EXPECT_TRUE(IsSafeNamedFile(picture, nullptr, 100));
    EXPECT_FALSE(IsSafeNamedFile(picture, &reason, 99));
    EXPECT_EQ(reason, QStringLiteral("The file is larger than 99 bytes."));

    // A link to a regular file counts as one.
    const QString link = Path("link.bmp");
    ASSERT_TRUE(QFile::link(picture, link));
    EXPECT_TRUE(IsSafeNamedFile(link, &reason));

    // None of these is ever opened, so none can block.
    const QString fifo = MakeFifo("picture.fifo");
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(IsSafeNamedFile(fifo, &reason));
    EXPECT_EQ(reason, QStringLiteral("It is not a regular file."));
    EXPECT_FALSE(IsSafeNamedFile(QStringLiteral("/dev/zero"), &reason));
    EXPECT_EQ(reason, QStringLiteral("It is not a regular file."));
    EXPECT_FALSE(IsSafeNamedFile(m_dir.path(), &reason));
    EXPECT_EQ(reason, QStringLiteral("It is a folder, not a file."));
    EXPECT_FALSE(IsSafeNamedFile(Path("gone.bmp"), &reason));
    EXPECT_EQ(reason, QStringLiteral("The file does not exist."));
    EXPECT_LT(clock.elapsed(), 1000);

    EXPECT_EQ(FileSizeText(256ll << 20), QStringLiteral("256 MB"));
    EXPECT_EQ(FileSizeText(1536), QStringLiteral("1536 bytes"));
    EXPECT_EQ(CannotReadText(QStringLiteral("a%sb.txt"), QStringLiteral("Why.")),
              QStringLiteral("Cannot read 'a%sb.txt': Why."));
}

} // namespace
