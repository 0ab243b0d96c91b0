#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "model/text_zone.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// A 64 x 16 full-colour screen with two programs: one with a 32 x 16 text window moving
// in from the right at one column per tick, one without windows.
class PlayCliTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString project;

    void SetUp() override
    {
        CProjectRoot root;
        auto screen = std::make_unique<CScreen>(&root);
        screen->Params().SetU16(ControllerParams::Width, 64);
        screen->Params().SetU16(ControllerParams::Height, 16);
        screen->Params().SetU8(ControllerParams::ColourType, 3);
        auto program = std::make_unique<CProgram>(screen.get());
        auto window = std::make_unique<CPlayWindow>(program.get());
        window->SetWindowRect(LedRect{16, 0, 48, 16});
        auto text = std::make_unique<CTextZone>(window.get());
        text->SetAction(4); // move left
        text->SetSpeed(0);
        text->SetHold(20);
        window->AddChild(std::move(text));
        program->AddChild(std::move(window));
        screen->AddChild(std::move(program));
        screen->AddChild(std::make_unique<CProgram>(screen.get()));
        root.AddChild(std::move(screen));
        project = dir.filePath(QStringLiteral("p.ledprj"));
        ASSERT_TRUE(root.SaveProject(project));
    }
};

TEST_F(PlayCliTest, FramesAreTheWholeScreenAfterEveryTickInFullChannels)
{
    const QString out = dir.filePath(QStringLiteral("frames"));
    const CliRun run =
        RunCli({QStringLiteral("play"), project, QStringLiteral("--ticks"), QStringLiteral("40"),
                QStringLiteral("--seed"), QStringLiteral("3"), QStringLiteral("--frames"), out});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList files = QDir(out).entryList({QStringLiteral("*.png")}, QDir::Files);
    ASSERT_EQ(files.size(), 40);
    EXPECT_EQ(files.first(), QStringLiteral("tick-000001.png"));
    EXPECT_EQ(files.last(), QStringLiteral("tick-000040.png"));
    int litOutside = 0;
    int litFirst = 0;
    int litFull = 0;
    for (int tick : {1, 32}) {
        const QImage frame(
            QDir(out).filePath(QStringLiteral("tick-%1.png").arg(tick, 6, 10, QLatin1Char('0'))));
        ASSERT_EQ(frame.size(), QSize(64, 16));
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 64; ++x) {
                const QRgb rgb = frame.pixel(x, y);
                for (int channel : {qRed(rgb), qGreen(rgb), qBlue(rgb)})
                    ASSERT_TRUE(channel == 0 || channel == 255);
                const bool lit = rgb != qRgb(0, 0, 0);
                if (lit && (x < 16 || x >= 48))
                    ++litOutside;
                if (lit && tick == 1)
                    ++litFirst;
                if (lit && tick == 32)
                    ++litFull;
            }
        }
    }
    EXPECT_EQ(litOutside, 0);
    EXPECT_LE(litFirst, 16); // one column has come in
    EXPECT_GT(litFull, 16);  // the whole page is in after 32 ticks

    // The same seed gives the same frames.
    const QString again = dir.filePath(QStringLiteral("again"));
    ASSERT_EQ(
        RunCli({QStringLiteral("play"), project, QStringLiteral("--ticks"), QStringLiteral("40"),
                QStringLiteral("--seed"), QStringLiteral("3"), QStringLiteral("--frames"), again})
            .exitCode,
        0);
    EXPECT_EQ(ReadFileBytes(QDir(out).filePath(QStringLiteral("tick-000020.png"))),
              ReadFileBytes(QDir(again).filePath(QStringLiteral("tick-000020.png"))));
}

TEST_F(PlayCliTest, GifMergesIdenticalFramesAndKeepsTheTotalTime)
{
    const QString gif = dir.filePath(QStringLiteral("p.gif"));
    const CliRun run =
        RunCli({QStringLiteral("play"), project, QStringLiteral("--ticks"), QStringLiteral("125"),
                QStringLiteral("--gif"), gif, QStringLiteral("--zoom"), QStringLiteral("3"),
                QStringLiteral("--dots")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QImageReader reader(gif);
    ASSERT_TRUE(reader.canRead());
    EXPECT_EQ(reader.size(), QSize(192, 48));
    int frames = 0;
    int total = 0;
    QImage image;
    while (reader.read(&image)) {
        ++frames;
        const int delay = reader.nextImageDelay(); // milliseconds
        EXPECT_GE(delay, 20);
        total += delay;
        EXPECT_EQ(QColor(image.pixel(0, 0)), QColor(48, 48, 48)); // between the dots
    }
    // 125 ticks are 1000 ms; 32 ticks of motion, then the held page as one frame.
    EXPECT_EQ(total, 1000);
    EXPECT_GT(frames, 5);
    EXPECT_LT(frames, 40);
}

TEST_F(PlayCliTest, ReportsWhatCannotBePlayedOrWritten)
{
    const QString gif = dir.filePath(QStringLiteral("x.gif"));
    const auto play = [&](QStringList words) {
        words.prepend(project);
        words.prepend(QStringLiteral("play"));
        return RunCli(words);
    };
    EXPECT_EQ(play({QStringLiteral("--gif"), gif, QStringLiteral("--frames"), gif}).exitCode, 2);
    EXPECT_EQ(play({}).exitCode, 2);
    EXPECT_EQ(play({QStringLiteral("--frames"), gif, QStringLiteral("--zoom"), QStringLiteral("2")})
                  .exitCode,
              2);
    EXPECT_EQ(play({QStringLiteral("--ticks"), QStringLiteral("0"), QStringLiteral("--gif"), gif})
                  .exitCode,
              2);
    CliRun run =
        play({QStringLiteral("--program"), QStringLiteral("3"), QStringLiteral("--gif"), gif});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("no program 3")) << run.err.toStdString();
    run = play({QStringLiteral("--screen"), QStringLiteral("2"), QStringLiteral("--gif"), gif});
    EXPECT_EQ(run.exitCode, 1);
    run = play({QStringLiteral("--program"), QStringLiteral("2"), QStringLiteral("--gif"), gif});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("nothing to play")) << run.err.toStdString();
    run = play({QStringLiteral("--ticks"), QStringLiteral("5"), QStringLiteral("--gif"),
                dir.filePath(QStringLiteral("missing/x.gif"))});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(QFile::exists(gif));

    // An existing file stays as it was when the new one cannot be written.
    ASSERT_TRUE(WriteFileBytes(gif, "old"));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    run = play({QStringLiteral("--ticks"), QStringLiteral("5"), QStringLiteral("--gif"), gif});
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (::geteuid() != 0) {
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(ReadFileBytes(gif), QByteArray("old"));
    }
}

} // namespace
