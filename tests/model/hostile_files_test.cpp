// Project files that are huge, endless or full of windows: loading stays linear and
// refuses what it cannot hold before reading it.
#include "base/last_error.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "support/test_support.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace {

// Windows with the rectangle, or without one when it is empty.
QByteArray ProjectWithWindows(int windows, const QByteArray& rect = "0,0,16,4")
{
    QByteArray xml = "<?xml version=\"1.0\"?><project><Varnolite><varno>0</varno>"
                     "<Varnolite><varno>120</varno><pw>256</pw><ph1>32</ph1>"
                     "<Varnolite><varno>110</varno>";
    for (int i = 0; i < windows; ++i)
        xml += "<Varnolite><varno>100</varno><lite>W</lite>" +
               (rect.isEmpty() ? QByteArray() : "<rect>" + rect + "</rect>") + "</Varnolite>";
    return xml + "</Varnolite></Varnolite></Varnolite></project>";
}

qint64 ThreadNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// The processor time of this thread, so that other programs running meanwhile do not count.
qint64 BestLoadNanoseconds(const QByteArray& xml)
{
    qint64 best = LLONG_MAX;
    for (int run = 0; run < 4; ++run) {
        CProjectRoot root;
        const qint64 start = ThreadNanoseconds();
        EXPECT_TRUE(root.LoadProjectBuffer(xml));
        best = std::min(best, ThreadNanoseconds() - start);
    }
    return best;
}

} // namespace

TEST(HostileFiles, WindowsLoadInLinearTime)
{
    // With rectangles of their own, and without: then each gets the default beside the
    // others.
    for (const QByteArray& rect : {QByteArray("0,0,16,4"), QByteArray()}) {
        SCOPED_TRACE(rect.toStdString());
        const qint64 smallNs = BestLoadNanoseconds(ProjectWithWindows(10000, rect));
        const qint64 largeNs = BestLoadNanoseconds(ProjectWithWindows(40000, rect));
        const double ratio = double(largeNs) / double(std::max<qint64>(smallNs, 1));
        // Four times the windows: about four times the time, somewhat more once the tree
        // outgrows the caches (a quadratic load gives sixteen times and more).
        EXPECT_LT(ratio, 9.0);
    }
}

TEST(HostileFiles, LoadedWindowsKeepTheirRectanglesOrGetTheDefault)
{
    CProjectRoot root;
    QByteArray xml = ProjectWithWindows(2);
    // A third window without a rectangle of its own goes beside the others.
    xml.replace("</Varnolite></Varnolite></Varnolite></project>",
                "<Varnolite><varno>100</varno></Varnolite></Varnolite></Varnolite></Varnolite>"
                "</project>");
    ASSERT_TRUE(root.LoadProjectBuffer(xml));
    const CProjectObject* program = root.GetChild(0)->GetChild(0);
    ASSERT_EQ(program->GetChildCount(), 3);
    EXPECT_EQ(static_cast<const CPlayWindow*>(program->GetChild(0))->WindowRect(),
              (LedRect{0, 0, 16, 4}));
    EXPECT_EQ(static_cast<const CPlayWindow*>(program->GetChild(2))->WindowRect(),
              (LedRect{16, 0, 80, 32}));

    CProjectRoot extreme;
    ASSERT_TRUE(
        extreme.LoadProjectBuffer(ProjectWithWindows(1, "-2147483648,-2147483648,2147483647,"
                                                        "2147483647")));
    const auto* window =
        static_cast<const CPlayWindow*>(extreme.GetChild(0)->GetChild(0)->GetChild(0));
    EXPECT_EQ(window->Width(), INT_MAX);
    EXPECT_EQ(window->Height(), INT_MAX);
}

TEST(HostileFiles, HugeFilesAndFifosAreRefusedBeforeReading)
{
    QTemporaryDir dir;
    // A sparse file: 257 MB long without taking the disk.
    const QString huge = dir.filePath(QStringLiteral("huge.ledprj"));
    {
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(257LL * 1024 * 1024));
    }
    CProjectRoot root;
    ClearLastError();
    EXPECT_FALSE(root.LoadProject(huge));
    EXPECT_EQ(LastError(),
              QStringLiteral("Failed on load project. The file is larger than 256 MB."));

    const QString fifo = dir.filePath(QStringLiteral("fifo.ledprj"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    auto loaded = std::async(std::launch::async, [&] { return root.LoadProject(fifo); });
    if (loaded.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY);
        ::close(fd);
        ADD_FAILURE() << "loading a FIFO blocked";
    }
    EXPECT_FALSE(loaded.get());
    EXPECT_EQ(LastError(), QStringLiteral("Failed on load project. It is not a regular file."));
}
