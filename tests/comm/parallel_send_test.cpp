// Send All with several screens in flight, against one lumivant-sim per screen on UDP
// loopback: the transfers overlap, and a failure, a slow card or a cancel of one screen
// leaves the others alone.
#include "comm_test_support.h"
#include "send_test_support.h"

#include "comm/comm_port.h"
#include "comm/parallel_send.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "platform/neighbour_cache.h"
#include "render/byte_buffer.h"
#include "render/compile_screen.h"
#include "support/test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <map>
#include <thread>

namespace {

const QString kSucceed = QStringLiteral("Succeed!");
const QString kEndComplete = QStringLiteral("command 21 (end data) p1=5");
const QString kEndIncomplete = QStringLiteral("command 21 (end data) p1=0");

// Records what each screen shows; cancels as told.
class RecordingParallelUi final : public IParallelSendUi
{
public:
    struct Event
    {
        int screen;
        int position;
        QString text;
    };
    void Begin(const QStringList& names) override { screens = names; }
    void Update(int screen, int position, const QString& text) override
    {
        events.push_back({screen, position, text});
        highest[screen] = std::max(highest[screen], position);
    }
    Answer Ask(int screen, const QString& text) override
    {
        events.push_back({screen, -1, text});
        return Answer::Yes;
    }
    void Inform(int screen, const QString& text) override { events.push_back({screen, -2, text}); }
    void Warn(int screen, const QString& text) override
    {
        warnings << QStringLiteral("%1:%2").arg(screen).arg(text);
    }
    bool CancelAll() override { return cancelAll && cancelAll(); }
    bool CancelScreen(int screen) override { return cancelScreen && cancelScreen(screen); }

    // Where the first event of the screen with the text stands among all events.
    int IndexOf(int screen, const QString& text) const
    {
        for (size_t i = 0; i < events.size(); ++i) {
            if (events[i].screen == screen && events[i].text == text)
                return static_cast<int>(i);
        }
        return -1;
    }

    QStringList screens;
    std::vector<Event> events;
    std::map<int, int> highest;
    QStringList warnings;
    std::function<bool()> cancelAll;
    std::function<bool(int)> cancelScreen;
};

SendOptions NoPauses()
{
    SendOptions options;
    options.linkWaitMs = 0;
    options.endWaitMs = 0;
    return options;
}

class ParallelSendTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetNeighbourCacheFlusher([](const QString&) {});
        SetCommCancel(false);
        ASSERT_TRUE(dir.isValid());
    }
    void TearDown() override
    {
        SetNeighbourCacheFlusher({});
        SetCommCancel(false);
    }

    // One simulator per screen, each with its own state folder; replies a little slow so
    // that a send lasts long enough to be watched.
    SimProcess& StartSim(QStringList options = {}, int delayMs = 8)
    {
        const QString state = dir.filePath(QStringLiteral("state%1").arg(sims.size()));
        states << state;
        options << QStringLiteral("--state") << state << QStringLiteral("--delay")
                << QString::number(delayMs);
        sims.push_back(std::make_unique<SimProcess>(options));
        EXPECT_TRUE(sims.back()->Started()) << sims.back()->Output().toStdString();
        return *sims.back();
    }

    // Screens of 256 x 32 (about a dozen chunks each), screen i talking to port i.
    std::unique_ptr<CProjectRoot> Project(const std::vector<int>& ports)
    {
        auto root = TextProject(256, 32, ports.front(), static_cast<int>(ports.size()), 300);
        for (size_t i = 0; i < ports.size(); ++i)
            PointAt(*static_cast<CScreen*>(root->GetChild(static_cast<int>(i))), ports[i], 300);
        return root;
    }

    static QByteArray Compiled(CScreen& screen)
    {
        screen.Prepare(RenderForm::Controller);
        CByteBuffer buffer(kScreenBufferCapacity, kScreenBufferGrowth);
        EXPECT_TRUE(WriteData(screen, buffer));
        screen.Prepare(RenderForm::Display);
        return QByteArray(reinterpret_cast<const char*>(buffer.Data()),
                          static_cast<int>(buffer.Length()));
    }

    QTemporaryDir dir;
    QStringList states;
    std::vector<std::unique_ptr<SimProcess>> sims;
};

TEST(ThreadCommCancelTest, AThreadsFlagAndTheProcessWideFlagAreApart)
{
    SetCommCancel(true); // as Ctrl+C sets it
    std::atomic<bool> own{false};
    bool seenInThread = true;
    std::thread worker([&] {
        CThreadCommCancel scope(own);
        seenInThread = CommCancelled();
        // Every exchange clears the flag first: only the thread's own.
        SetCommCancel(false);
        own = true;
    });
    worker.join();
    EXPECT_FALSE(seenInThread);
    EXPECT_TRUE(CommCancelled());
    EXPECT_TRUE(own);
    SetCommCancel(false);
    {
        CThreadCommCancel scope(own);
        EXPECT_TRUE(CommCancelled());
    }
    EXPECT_FALSE(CommCancelled());
}

TEST_F(ParallelSendTest, ScreensGoAtOnceAndAnAbsentOrDroppingCardHarmsNoOther)
{
    StartSim();
    // The third chunk goes unanswered through its time-out and the retry after it.
    StartSim({QStringLiteral("--drop"), QStringLiteral("19:3-10")});
    StartSim();
    SilentPeer absent;
    auto root = Project({sims[0]->Port(), sims[1]->Port(), sims[2]->Port(), absent.Port()});
    RecordingParallelUi ui;
    QElapsedTimer timer;
    timer.start();
    const SendAllResult result = CParallelSend(NoPauses(), 4).SendAll(*root, ui);
    EXPECT_LT(timer.elapsed(), 10000);

    EXPECT_EQ(ui.screens, (QStringList{QStringLiteral("Panel1"), QStringLiteral("Panel2"),
                                       QStringLiteral("Panel3"), QStringLiteral("Panel4")}));
    EXPECT_EQ(result.marked, 4);
    EXPECT_EQ(result.succeeded, 3);
    EXPECT_FALSE(result.aborted);
    EXPECT_EQ(result.failed, QStringList{QStringLiteral("Panel4")});
    ASSERT_EQ(ui.warnings.size(), 2) << ui.warnings.join(u'\n').toStdString();
    EXPECT_EQ(ui.warnings[0], QStringLiteral("3:Command failed:Timeout."));
    EXPECT_TRUE(ui.warnings[1].startsWith(QStringLiteral("-1:The following screen failed")));
    // The dropping card was asked about and sent again; the others were never held up by it.
    EXPECT_GE(ui.IndexOf(1, QStringLiteral("Sending...")), 0);
    bool asked = false;
    for (const auto& event : ui.events)
        asked = asked || (event.screen == 1 && event.position == -1);
    EXPECT_TRUE(asked);
    // Every screen was under way before the first one finished.
    const int firstDone =
        std::min({ui.IndexOf(0, kSucceed), ui.IndexOf(1, kSucceed), ui.IndexOf(2, kSucceed)});
    for (int screen = 0; screen < 4; ++screen) {
        const int started = ui.IndexOf(screen, QStringLiteral("Processing data..."));
        EXPECT_GE(started, 0);
        EXPECT_LT(started, firstDone) << "screen " << screen;
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(sims[static_cast<size_t>(i)]->WaitForOutput(kEndComplete));
        EXPECT_TRUE(SameScreenData(ReadFileBytes(states[i] + QStringLiteral("/screen.bin")),
                                   Compiled(*static_cast<CScreen*>(root->GetChild(i)))));
    }
}

TEST_F(ParallelSendTest, CancellingOneScreenEndsOnlyItsData)
{
    for (int i = 0; i < 3; ++i)
        StartSim();
    auto root = Project({sims[0]->Port(), sims[1]->Port(), sims[2]->Port()});
    RecordingParallelUi ui;
    ui.cancelScreen = [&ui](int screen) { return screen == 1 && ui.highest[1] > 45; };
    const SendAllResult result = CParallelSend(NoPauses(), 3).SendAll(*root, ui);
    EXPECT_EQ(result.succeeded, 2);
    EXPECT_FALSE(result.aborted);
    EXPECT_EQ(result.failed, QStringList{QStringLiteral("Panel2")});
    EXPECT_GE(ui.IndexOf(1, QStringLiteral("Canceled.")), 0);
    EXPECT_TRUE(sims[1]->WaitForOutput(kEndIncomplete));
    EXPECT_FALSE(sims[1]->Output().contains(kEndComplete));
    EXPECT_TRUE(sims[0]->WaitForOutput(kEndComplete));
    EXPECT_TRUE(sims[2]->WaitForOutput(kEndComplete));
}

TEST_F(ParallelSendTest, CancelAllEndsEveryTransferAndStartsNoMore)
{
    for (int i = 0; i < 3; ++i)
        StartSim();
    auto root = Project({sims[0]->Port(), sims[1]->Port(), sims[2]->Port()});
    RecordingParallelUi ui;
    ui.cancelAll = [&ui] { return ui.highest[0] > 45 || ui.highest[1] > 45; };
    const SendAllResult result = CParallelSend(NoPauses(), 2).SendAll(*root, ui);
    EXPECT_TRUE(result.aborted);
    EXPECT_EQ(result.succeeded, 0);
    EXPECT_TRUE(result.failed.isEmpty());
    EXPECT_TRUE(ui.warnings.isEmpty()) << ui.warnings.join(u'\n').toStdString();
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(sims[static_cast<size_t>(i)]->WaitForOutput(kEndIncomplete)) << i;
        EXPECT_FALSE(sims[static_cast<size_t>(i)]->Output().contains(kEndComplete));
    }
    EXPECT_FALSE(sims[2]->Output().contains(QStringLiteral("command 33")));
    EXPECT_EQ(ui.IndexOf(2, QStringLiteral("Processing data...")), -1);
}

TEST_F(ParallelSendTest, ScreensBehindOneAddressTakeTurns)
{
    SimProcess& shared = StartSim();
    StartSim();
    auto root = Project({shared.Port(), sims[1]->Port(), shared.Port()});
    RecordingParallelUi ui;
    const SendAllResult result = CParallelSend(NoPauses(), 3).SendAll(*root, ui);
    EXPECT_EQ(result.succeeded, 3);
    ASSERT_TRUE(shared.WaitForOutput(QStringLiteral("#2 ") + kEndComplete));
    // The second screen of the shared card starts only after the first has ended.
    const QString log = shared.Output();
    const qsizetype firstEnd = log.indexOf(kEndComplete);
    const qsizetype secondRead =
        log.indexOf(QStringLiteral("command 33"), log.indexOf(QStringLiteral("command 33")) + 1);
    EXPECT_GT(secondRead, firstEnd);
    EXPECT_LT(ui.IndexOf(1, QStringLiteral("Processing data...")), ui.IndexOf(0, kSucceed));
}

TEST_F(ParallelSendTest, CommandLineSendsInParallelAndRefusesBadCounts)
{
    StartSim();
    StartSim();
    auto root = Project({sims[0]->Port(), sims[1]->Port()});
    const QString project = dir.filePath(QStringLiteral("two.ledprj"));
    ASSERT_TRUE(root->SaveProject(project));
    const QByteArray saved = ReadFileBytes(project);

    const CliRun run = RunCli({QStringLiteral("send"), project, QStringLiteral("--all"),
                               QStringLiteral("--parallel"), QStringLiteral("2")},
                              30000);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("Panel1: progress 90/90 Succeed!")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("Panel2: progress 90/90 Succeed!")) << run.err.toStdString();
    EXPECT_TRUE(sims[0]->WaitForOutput(kEndComplete));
    EXPECT_TRUE(sims[1]->WaitForOutput(kEndComplete));

    for (const QString& count : {QStringLiteral("0"), QStringLiteral("1000"), QStringLiteral("x")})
        EXPECT_EQ(RunCli({QStringLiteral("send"), project, QStringLiteral("--all"),
                          QStringLiteral("--parallel"), count})
                      .exitCode,
                  2);
    EXPECT_EQ(
        RunCli({QStringLiteral("send"), project, QStringLiteral("--parallel"), QStringLiteral("2")})
            .exitCode,
        2);
    EXPECT_EQ(ReadFileBytes(project), saved);
}

TEST_F(ParallelSendTest, InterruptEndsEveryScreenWithIncompleteData)
{
    // Slow cards: both are still streaming when the interrupt comes.
    StartSim({}, 25);
    StartSim({}, 25);
    auto root = Project({sims[0]->Port(), sims[1]->Port()});
    const QString project = dir.filePath(QStringLiteral("two.ledprj"));
    ASSERT_TRUE(root->SaveProject(project));
    QProcess cli;
    cli.start(QStringLiteral(LUMIVANT_CLI_PATH),
              {QStringLiteral("send"), project, QStringLiteral("--all"),
               QStringLiteral("--parallel"), QStringLiteral("2")});
    ASSERT_TRUE(cli.waitForStarted(5000));
    QByteArray err;
    QElapsedTimer timer;
    timer.start();
    while (!(err.contains("Panel1: progress 4") && err.contains("Panel2: progress 4")) &&
           timer.elapsed() < 15000) {
        cli.waitForReadyRead(20);
        err += cli.readAllStandardError();
    }
    ASSERT_TRUE(err.contains("Panel2: progress 4")) << err.toStdString();
    ::kill(static_cast<pid_t>(cli.processId()), SIGINT);
    ASSERT_TRUE(cli.waitForFinished(10000));
    err += cli.readAllStandardError();
    EXPECT_EQ(cli.exitCode(), 1);
    EXPECT_TRUE(err.contains("Panel1: progress")) << err.toStdString();
    // Like every other command, the interrupted send ends with "Canceled.".
    EXPECT_TRUE(err.endsWith("\nCanceled.\n")) << err.toStdString();
    for (auto& sim : sims) {
        EXPECT_TRUE(sim->WaitForOutput(kEndIncomplete)) << sim->Output().toStdString();
        EXPECT_FALSE(sim->Output().contains(kEndComplete));
    }
}

} // namespace

TEST_F(ParallelSendTest, RenderingGoesToTheRenderingTheRunWasGiven)
{
    StartSim();
    StartSim();
    auto root = Project({sims[0]->Port(), sims[1]->Port()});
    // A renderer that lives on the calling thread too, and counts what it is handed.
    class CountingRendering final : public ISendRendering
    {
    public:
        void Prepare(CScreen& screen, RenderForm form) override
        {
            ++prepared;
            sameThread = sameThread && std::this_thread::get_id() == owner;
            screen.Prepare(form);
        }
        bool Compile(CScreen& screen, CByteBuffer& buffer, QString& reason) override
        {
            ++compiled;
            sameThread = sameThread && std::this_thread::get_id() == owner;
            reason.clear();
            return WriteData(screen, buffer);
        }
        std::thread::id owner = std::this_thread::get_id();
        int prepared = 0;
        int compiled = 0;
        bool sameThread = true;
    } rendering;
    SendOptions options = NoPauses();
    options.rendering = &rendering;
    RecordingParallelUi ui;
    const SendAllResult result = CParallelSend(options, 2).SendAll(*root, ui);
    EXPECT_EQ(result.succeeded, 2) << ui.warnings.join(u'\n').toStdString();
    EXPECT_EQ(rendering.compiled, 2);
    // For the controller and for the editor again, per screen.
    EXPECT_EQ(rendering.prepared, 4);
    EXPECT_TRUE(rendering.sameThread);
}
