// The send pipeline: chunking and progress arithmetic, and whole sends against
// lumivant-sim on UDP loopback with the faults it can play.
#include "comm_test_support.h"
#include "send_test_support.h"

#include "base/app_settings.h"
#include "base/string_table.h"
#include "comm/comm_port.h"
#include "comm/controller_link.h"
#include "comm/send_pipeline.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "platform/neighbour_cache.h"
#include "render/byte_buffer.h"
#include "render/compile_screen.h"
#include "support/test_support.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

const QString kSending = QStringLiteral("Sending...");
const QString kCanceled = QStringLiteral("Canceled.");
const QString kSucceed = QStringLiteral("Succeed!");

SendOptions NoPauses()
{
    SendOptions options;
    options.linkWaitMs = 0;
    options.endWaitMs = 0;
    options.serialPauseMs = 0;
    return options;
}

} // namespace

TEST(SendPlanTest, ChunkSizeFollowsPkgAndTheLink)
{
    EXPECT_EQ(CSendPipeline::ChunkSizeFor(64, 0), 64);
    EXPECT_EQ(CSendPipeline::ChunkSizeFor(128, 0), 128);
    EXPECT_EQ(CSendPipeline::ChunkSizeFor(256, 0), 256);
    EXPECT_EQ(CSendPipeline::ChunkSizeFor(100, 0), 128);
    EXPECT_EQ(CSendPipeline::ChunkSizeFor(0, 0), 128);
    // A network link sends at least 256 bytes a chunk.
    EXPECT_EQ(CSendPipeline::ChunkSizeFor(64, 1), 256);
    EXPECT_EQ(CSendPipeline::ChunkSizeFor(100, 1), 256);
    EXPECT_EQ(CSendPipeline::ChunkSizeFor(512, 1), 256);
}

TEST(SendPlanTest, ThreeHundredBytesGoAsThreeChunks)
{
    const auto chunks = CSendPipeline::PlanChunks(300, 128);
    ASSERT_EQ(chunks.size(), 3u);
    const std::uint32_t offsets[] = {0, 128, 256};
    const int lengths[] = {128, 128, 44};
    const int positions[] = {40, 57, 74};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(chunks[i].offset, offsets[i]);
        EXPECT_EQ(chunks[i].length, lengths[i]);
        EXPECT_EQ(CSendPipeline::ProgressPosition(chunks[i].offset, 300), positions[i]);
    }
    EXPECT_TRUE(CSendPipeline::PlanChunks(0, 128).empty());
    EXPECT_EQ(CSendPipeline::PlanChunks(256, 256).size(), 1u);
    EXPECT_EQ(CSendPipeline::PlanChunks(257, 256).back().length, 1);
}

TEST(SendPlanTest, PositionsStayInsideTheStreamSpanForLargeData)
{
    const std::uint64_t total = 16u << 20;
    EXPECT_EQ(CSendPipeline::ProgressPosition(0, total), 40);
    EXPECT_EQ(CSendPipeline::ProgressPosition(total - 256, total), 79);
    EXPECT_EQ(CSendPipeline::ProgressPosition(total / 2, total), 60);
    // A one-byte stream is shown at 80 while its only chunk goes.
    EXPECT_EQ(CSendPipeline::ProgressPosition(0, 1), 80);
}

class SendPipelineTest : public testing::Test
{
protected:
    void SetUp() override
    {
        SetNeighbourCacheFlusher([](const QString&) {});
        SetCommCancel(false);
        ASSERT_TRUE(dir.isValid());
        state = dir.filePath(QStringLiteral("state"));
    }
    void TearDown() override
    {
        SetNeighbourCacheFlusher({});
        SetCommCancel(false);
    }

    std::unique_ptr<SimProcess> StartSim(QStringList options = {})
    {
        options << QStringLiteral("--state") << state;
        auto sim = std::make_unique<SimProcess>(options);
        EXPECT_TRUE(sim->Started()) << sim->Output().toStdString();
        return sim;
    }

    QByteArray Received() const { return ReadFileBytes(state + QStringLiteral("/screen.bin")); }

    // What the compiler makes of the screen now, with the controller's form of the pages.
    static QByteArray Compiled(CScreen& screen)
    {
        screen.Prepare(RenderForm::Controller);
        CByteBuffer buffer(kScreenBufferCapacity, kScreenBufferGrowth);
        EXPECT_TRUE(WriteData(screen, buffer));
        screen.Prepare(RenderForm::Display);
        return QByteArray(reinterpret_cast<const char*>(buffer.Data()),
                          static_cast<int>(buffer.Length()));
    }

    // How often the text is in the simulator's log once its last expected line is there.
    static int CountInLog(SimProcess& sim, const QString& text,
                          const QString& last = QStringLiteral("command 21 (end data)"))
    {
        sim.WaitForOutput(last);
        return static_cast<int>(sim.Output().count(text));
    }

    QTemporaryDir dir;
    QString state;
};

TEST_F(SendPipelineTest, SendsAScreenWithTheExactProgress)
{
    auto sim = StartSim();
    auto root = TextProject(64, 16, sim->Port());
    auto* screen = static_cast<CScreen*>(root->GetChild(0));
    RecordingUi ui;
    CSendPipeline pipeline(NoPauses());
    ASSERT_TRUE(pipeline.SendScreen(*screen, ui)) << pipeline.FailureText().toStdString();
    EXPECT_TRUE(pipeline.FailureText().isEmpty());
    EXPECT_EQ(ui.range, 90);

    const QByteArray compiled = Compiled(*screen);
    EXPECT_TRUE(SameScreenData(Received(), compiled));

    // Every step of the bar, in order.
    std::vector<std::pair<int, QString>> expected = {{1, QStringLiteral("Processing data...")},
                                                     {10, QStringLiteral("Creating...")},
                                                     {30, QStringLiteral("Building...")},
                                                     {30, kSending},
                                                     {40, kSending}};
    const auto chunks = CSendPipeline::PlanChunks(static_cast<std::uint64_t>(compiled.size()), 256);
    ASSERT_GE(chunks.size(), 3u);
    for (const SendChunk& chunk : chunks)
        expected.emplace_back(CSendPipeline::ProgressPosition(
                                  chunk.offset, static_cast<std::uint64_t>(compiled.size())),
                              kSending);
    expected.emplace_back(80, QStringLiteral("Finish..."));
    expected.emplace_back(90, kSucceed);
    std::vector<std::pair<int, QString>> updates;
    for (const auto& event : ui.events) {
        if (event.kind == 'U')
            updates.emplace_back(event.position, event.text);
    }
    EXPECT_EQ(updates, expected);
    EXPECT_EQ(ui.Count('A'), 0);
    EXPECT_EQ(ui.Count('W'), 0);
    ASSERT_FALSE(ui.events.empty());
    EXPECT_EQ(ui.events.back().kind, 'B');
    EXPECT_EQ(ui.events.back().position, 0); // the information beep

    const QJsonObject summary =
        QJsonDocument::fromJson(ReadFileBytes(state + QStringLiteral("/summary.json"))).object();
    EXPECT_EQ(summary.value(QStringLiteral("chunks")).toInt(), static_cast<int>(chunks.size()));
    EXPECT_EQ(CountInLog(*sim, QStringLiteral("command 21 (end data) p1=5")), 1);
    EXPECT_FALSE(LinkOf(*screen).Udp().IsOpen());
}

TEST_F(SendPipelineTest, ChunkSizeComesFromTheSettingOnASerialLinkOnly)
{
    // A network link raises 64 to 256: the same data goes in the same chunks.
    const int saved = Settings().pkg;
    Settings().pkg = 64;
    auto sim = StartSim();
    auto root = TextProject(64, 16, sim->Port());
    RecordingUi ui;
    CSendPipeline pipeline(NoPauses());
    EXPECT_TRUE(pipeline.SendScreen(*static_cast<CScreen*>(root->GetChild(0)), ui));
    Settings().pkg = saved;
    const int size = Received().size();
    EXPECT_EQ(CountInLog(*sim, QStringLiteral("command 19 (data chunk)")), (size + 255) / 256);
}

TEST_F(SendPipelineTest, LostChunkRepliesAreMadeUpWithoutAsking)
{
    // The second chunk goes unanswered twice: it simply goes out again.
    auto sim = StartSim({QStringLiteral("--drop"), QStringLiteral("19:2-3")});
    auto root = TextProject(64, 16, sim->Port(), 1, 200);
    auto* screen = static_cast<CScreen*>(root->GetChild(0));
    RecordingUi ui;
    CSendPipeline pipeline(NoPauses());
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(pipeline.SendScreen(*screen, ui)) << pipeline.FailureText().toStdString();
    EXPECT_LT(timer.elapsed(), 200); // within the time-out of the one chunk
    EXPECT_EQ(ui.Count('A'), 0);
    EXPECT_TRUE(SameScreenData(Received(), Compiled(*screen)));
    const int chunks = (Received().size() + 255) / 256;
    EXPECT_EQ(CountInLog(*sim, QStringLiteral("command 19 (data chunk)")), chunks + 2);
}

TEST_F(SendPipelineTest, ChunkUnansweredThroughItsTimeoutIsAskedAboutAndSentAgain)
{
    // The second chunk stays unanswered through its time-out and the retry after it.
    auto sim = StartSim({QStringLiteral("--drop"), QStringLiteral("19:2-9")});
    auto root = TextProject(64, 16, sim->Port(), 1, 200);
    auto* screen = static_cast<CScreen*>(root->GetChild(0));
    RecordingUi ui;
    ui.answers = {Answer::Yes, Answer::Yes, Answer::Yes};
    CSendPipeline pipeline(NoPauses());
    ASSERT_TRUE(pipeline.SendScreen(*screen, ui)) << pipeline.FailureText().toStdString();
    ASSERT_GE(ui.Count('A'), 1);
    EXPECT_EQ(ui.Texts('A').first(),
              QStringLiteral("Failed on send data (256):Timeout. , try again ?"));
    // The warning beep comes with the question.
    const auto ask = std::find_if(ui.events.begin(), ui.events.end(),
                                  [](const RecordingUi::Event& e) { return e.kind == 'A'; });
    ASSERT_NE(ask, ui.events.begin());
    EXPECT_EQ(std::prev(ask)->kind, 'B');
    EXPECT_EQ(std::prev(ask)->position, 1);
    EXPECT_TRUE(SameScreenData(Received(), Compiled(*screen)));
    EXPECT_EQ(ui.Positions(kSucceed), std::vector<int>{90});
}

TEST_F(SendPipelineTest, AnsweringNoEndsTheDataWithZero)
{
    auto sim = StartSim({QStringLiteral("--drop"), QStringLiteral("19:2-")});
    auto root = TextProject(64, 16, sim->Port(), 1, 200);
    RecordingUi ui;
    ui.answers = {Answer::No};
    CSendPipeline pipeline(NoPauses());
    EXPECT_FALSE(pipeline.SendScreen(*static_cast<CScreen*>(root->GetChild(0)), ui));
    EXPECT_EQ(ui.Count('A'), 1);
    EXPECT_EQ(ui.Count('W'), 0); // the question was the one message
    EXPECT_TRUE(ui.Positions(kSucceed).empty());
    EXPECT_TRUE(ui.Positions(QStringLiteral("Finish...")).empty());
    EXPECT_TRUE(pipeline.FailureText().startsWith(QStringLiteral("Failed on send data (256)")));
    EXPECT_FALSE(pipeline.AbortAll());
    EXPECT_TRUE(sim->WaitForOutput(QStringLiteral("command 21 (end data) p1=0")));
    EXPECT_TRUE(Received().isEmpty());
}

TEST_F(SendPipelineTest, CancelFromTheProgressEndsTheDataWithZero)
{
    auto sim = StartSim();
    auto root = TextProject(64, 16, sim->Port());
    RecordingUi ui;
    ui.onUpdate = [](int position, const QString& text) {
        return text == kSending && position > 40;
    };
    CSendPipeline pipeline(NoPauses());
    EXPECT_FALSE(pipeline.SendScreen(*static_cast<CScreen*>(root->GetChild(0)), ui));
    EXPECT_TRUE(pipeline.AbortAll());
    ASSERT_EQ(ui.Positions(kCanceled).size(), 1u);
    EXPECT_GT(ui.Positions(kCanceled)[0], 40);
    EXPECT_EQ(ui.Count('A'), 0);
    EXPECT_TRUE(sim->WaitForOutput(QStringLiteral("command 21 (end data) p1=0")));
    EXPECT_EQ(CountInLog(*sim, QStringLiteral("command 19 (data chunk)")), 1);
    EXPECT_TRUE(Received().isEmpty());
}

TEST_F(SendPipelineTest, ProcessWideCancelDuringAWaitAsksNothing)
{
    auto sim = StartSim({QStringLiteral("--delay"), QStringLiteral("150")});
    auto root = TextProject(64, 16, sim->Port(), 1, 1000);
    RecordingUi ui;
    std::thread canceller;
    ui.onUpdate = [&](int position, const QString& text) {
        if (text == kSending && position > 40 && !canceller.joinable())
            canceller = std::thread([] {
                QThread::msleep(50);
                SetCommCancel(true);
            });
        return false;
    };
    CSendPipeline pipeline(NoPauses());
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(pipeline.SendScreen(*static_cast<CScreen*>(root->GetChild(0)), ui));
    if (canceller.joinable())
        canceller.join();
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_TRUE(pipeline.AbortAll());
    EXPECT_EQ(ui.Count('A'), 0);
    EXPECT_EQ(ui.Positions(kCanceled).size(), 1u);
    EXPECT_TRUE(sim->WaitForOutput(QStringLiteral("command 21 (end data) p1=0")));
}

TEST_F(SendPipelineTest, RejectedEndOfTheDataFailsTheSend)
{
    // Every chunk was acknowledged, but the card does not take the data.
    for (const QString& status : {QStringLiteral("21:5"), QStringLiteral("21:15")}) {
        auto sim = StartSim({QStringLiteral("--status"), status});
        auto root = TextProject(64, 16, sim->Port());
        RecordingUi ui;
        CSendPipeline pipeline(NoPauses());
        EXPECT_FALSE(pipeline.SendScreen(*static_cast<CScreen*>(root->GetChild(0)), ui));
        const QString text = status.endsWith(QStringLiteral(":5"))
                                 ? QStringLiteral("Command failed:Bad data.")
                                 : QStringLiteral("Command failed:Too many Messages.");
        EXPECT_EQ(ui.Texts('W'), QStringList{text});
        EXPECT_EQ(pipeline.FailureText(), text);
        EXPECT_TRUE(ui.Positions(kSucceed).empty());
        EXPECT_FALSE(pipeline.AbortAll());
        // Asked once: a refusal of the one end sent is the card's last word.
        EXPECT_EQ(CountInLog(*sim, QStringLiteral("command 21 (end data) p1=5")), 1);
        EXPECT_EQ(CountInLog(*sim, QStringLiteral("command 20 (begin data)")), 1);
    }
}

TEST_F(SendPipelineTest, WrongStatusOnTheChunksIsAskedAboutAndEndsWithZero)
{
    auto sim = StartSim({QStringLiteral("--status"), QStringLiteral("19:4")});
    auto root = TextProject(64, 16, sim->Port());
    RecordingUi ui;
    ui.answers = {Answer::Yes, Answer::No};
    CSendPipeline pipeline(NoPauses());
    EXPECT_FALSE(pipeline.SendScreen(*static_cast<CScreen*>(root->GetChild(0)), ui));
    EXPECT_EQ(
        ui.Texts('A'),
        QStringList(2, QStringLiteral("Failed on send data (0):Parameter error. , try again ?")));
    EXPECT_TRUE(sim->WaitForOutput(QStringLiteral("command 21 (end data) p1=0")));
    EXPECT_EQ(ui.Count('W'), 0);
}

TEST_F(SendPipelineTest, ControllerThatStopsAnsweringEndsTheSendWithoutHanging)
{
    auto sim = StartSim();
    auto root = TextProject(64, 16, sim->Port(), 1, 200);
    auto* screen = static_cast<CScreen*>(root->GetChild(0));
    RecordingUi ui;
    ui.answers = {Answer::Yes, Answer::No};
    ui.onUpdate = [&](int position, const QString& text) {
        if (text == kSending && position > 40)
            sim->Stop();
        return false;
    };
    CSendPipeline pipeline(NoPauses());
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(pipeline.SendScreen(*screen, ui));
    EXPECT_LT(timer.elapsed(), 10000);
    EXPECT_EQ(ui.Count('A'), 2);
    EXPECT_TRUE(ui.Texts('A')[0].contains(QStringLiteral(":Timeout. , try again ?")));
    // The end data that nobody answers fails silently after the question.
    EXPECT_EQ(ui.Count('W'), 0);
    EXPECT_FALSE(LinkOf(*screen).Udp().IsOpen());
}

TEST_F(SendPipelineTest, RetryLimitStopsAnAutomaticYes)
{
    auto sim = StartSim({QStringLiteral("--status"), QStringLiteral("19:15")});
    auto root = TextProject(64, 16, sim->Port());
    RecordingUi ui;
    ui.answers = std::vector<Answer>(100, Answer::Yes);
    SendOptions options = NoPauses();
    options.retryLimit = 2;
    CSendPipeline pipeline(options);
    EXPECT_FALSE(pipeline.SendScreen(*static_cast<CScreen*>(root->GetChild(0)), ui));
    EXPECT_EQ(ui.Count('A'), 3);
    EXPECT_EQ(CountInLog(*sim, QStringLiteral("command 19 (data chunk)")), 3);
}

TEST_F(SendPipelineTest, AStrangersReplyDoesNotCountNorRedirectTheLink)
{
    auto sim = StartSim();
    UdpRelay relay(sim->Port());
    relay.StrangerAnswersChunks({2});
    auto root = TextProject(64, 16, relay.Port());
    auto* screen = static_cast<CScreen*>(root->GetChild(0));
    RecordingUi ui;
    CSendPipeline pipeline(NoPauses());
    ASSERT_TRUE(pipeline.SendScreen(*screen, ui)) << pipeline.FailureText().toStdString();
    // The stranger's reply is not the card's: the card's own reply acknowledges the chunk.
    EXPECT_EQ(relay.StrangerReplies(), 1);
    EXPECT_EQ(ui.Count('A'), 0);
    EXPECT_EQ(screen->Link().remoteIp, QStringLiteral("127.0.0.1"));
    EXPECT_TRUE(SameScreenData(Received(), Compiled(*screen)));
}

TEST_F(SendPipelineTest, OverlapQuestion)
{
    auto sim = StartSim();
    auto root = TextProject(64, 16, sim->Port());
    auto* screen = static_cast<CScreen*>(root->GetChild(0));
    AddWindowWithText(*screen, 8, 4, 40, 12);
    {
        // Yes: the person wants to edit the zones; nothing goes out.
        RecordingUi ui;
        ui.answers = {Answer::Yes};
        CSendPipeline pipeline(NoPauses());
        EXPECT_FALSE(pipeline.SendScreen(*screen, ui));
        ASSERT_EQ(ui.Count('A'), 1);
        EXPECT_TRUE(ui.Texts('A')[0].startsWith(QStringLiteral("Zone is overlap in: ")));
        EXPECT_TRUE(ui.Texts('A')[0].endsWith(QStringLiteral(", do you want to edit it ?")));
        EXPECT_EQ(ui.Count('U'), 0);
        EXPECT_EQ(CountInLog(*sim, QStringLiteral(" command "), QStringLiteral("controller ")), 0);
    }
    RecordingUi ui;
    ui.answers = {Answer::No};
    CSendPipeline pipeline(NoPauses());
    EXPECT_TRUE(pipeline.SendScreen(*screen, ui));
    EXPECT_EQ(ui.Count('A'), 1);
}

TEST_F(SendPipelineTest, SendAllListsTheScreensThatFailed)
{
    auto sim = StartSim();
    SilentPeer silent;
    auto root = TextProject(32, 16, sim->Port(), 4, 200);
    PointAt(*static_cast<CScreen*>(root->GetChild(1)), silent.Port(), 150);
    static_cast<CScreen*>(root->GetChild(2))->SetSelected(0);
    RecordingUi ui;
    CSendPipeline pipeline(NoPauses());
    const SendAllResult result = pipeline.SendAll(*root, ui);
    EXPECT_EQ(result.marked, 3);
    EXPECT_EQ(result.succeeded, 2);
    EXPECT_FALSE(result.aborted);
    EXPECT_FALSE(result.AllSucceeded());
    EXPECT_EQ(result.failed, QStringList{QStringLiteral("Panel2")});
    EXPECT_EQ(result.failureList, QStringLiteral("'Panel2', "));
    EXPECT_EQ(ui.Texts('W'),
              (QStringList{QStringLiteral("Command failed:Timeout."),
                           QStringLiteral("The following screen failed: \n\n'Panel2',  \n\nPlease "
                                          "re-send.")}));
    EXPECT_EQ(ui.Positions(kSucceed).size(), 2u);
    EXPECT_TRUE(sim->WaitForOutput(QStringLiteral("#2 command 21 (end data) p1=5")));
    EXPECT_EQ(CountInLog(*sim, QStringLiteral("command 21 (end data) p1=5")), 2);
}

TEST_F(SendPipelineTest, SendAllWithOneScreenShowsNoList)
{
    SilentPeer silent;
    auto root = TextProject(32, 16, silent.Port(), 1, 150);
    RecordingUi ui;
    CSendPipeline pipeline(NoPauses());
    const SendAllResult result = pipeline.SendAll(*root, ui);
    EXPECT_EQ(result.failed.size(), 1);
    EXPECT_EQ(ui.Texts('W'), QStringList{QStringLiteral("Command failed:Timeout.")});
}

TEST_F(SendPipelineTest, SendAllWithoutMarkedScreens)
{
    auto root = TextProject(32, 16, 9, 2);
    for (int i = 0; i < 2; ++i)
        static_cast<CScreen*>(root->GetChild(i))->SetSelected(0);
    RecordingUi ui;
    CSendPipeline pipeline(NoPauses());
    const SendAllResult result = pipeline.SendAll(*root, ui);
    EXPECT_EQ(result.marked, 0);
    EXPECT_FALSE(result.AllSucceeded());
    EXPECT_EQ(ui.Texts('W'), QStringList{QStringLiteral("Must select a Panel!")});
    EXPECT_EQ(ui.Count('U'), 0);
}

TEST_F(SendPipelineTest, CancelStopsSendAll)
{
    auto sim = StartSim();
    auto root = TextProject(32, 16, sim->Port(), 3);
    RecordingUi ui;
    ui.onUpdate = [](int, const QString& text) { return text == kSending; };
    CSendPipeline pipeline(NoPauses());
    const SendAllResult result = pipeline.SendAll(*root, ui);
    EXPECT_TRUE(result.aborted);
    EXPECT_EQ(result.marked, 1);
    EXPECT_TRUE(result.failed.isEmpty());
    EXPECT_EQ(ui.Count('W'), 0);
    // Cancelled before the begin data: nothing of the transfer went out.
    EXPECT_EQ(
        CountInLog(*sim, QStringLiteral("command 20 (begin data)"), QStringLiteral("command 33")),
        0);
}

TEST_F(SendPipelineTest, ClosedLinkIsAFailure)
{
    auto root = TextProject(32, 16, 9, 2);
    for (int i = 0; i < 2; ++i)
        static_cast<CScreen*>(root->GetChild(i))->Link().remoteIp.clear();
    RecordingUi ui;
    CSendPipeline pipeline(NoPauses());
    const SendAllResult result = pipeline.SendAll(*root, ui);
    EXPECT_EQ(result.failed.size(), 2);
    EXPECT_EQ(ui.Texts('W').first(), QStringLiteral("Command failed:Need initialize.(Try Search)"));
    EXPECT_TRUE(ui.Texts('W').last().startsWith(QStringLiteral("The following screen failed")));
}
