// Sends through a network that loses, doubles, delays, reorders and spoils datagrams, to a
// card run by the test itself: a send succeeds only when the card holds exactly the data
// sent, and the faults a link can make up for cost neither the send nor a question.
#include "comm_test_support.h"
#include "send_test_support.h"

#include "comm/comm_port.h"
#include "comm/controller_link.h"
#include "comm/send_pipeline.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "platform/neighbour_cache.h"
#include "sim/sim_fault_relay.h"
#include "sim/sim_server.h"

#include <QCryptographicHash>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using Direction = CUdpFaultRelay::Direction;
using Action = CUdpFaultRelay::Action;

// A card on a port of 127.0.0.1, served by a thread of the test.
class InProcessCard
{
public:
    InProcessCard() : m_server(m_controller)
    {
        m_controller.SetLogging(false);
        QString error;
        if (!m_server.ListenUdp(QStringLiteral("127.0.0.1"), 0, QString(), error))
            return;
        m_thread = std::thread([this] { m_server.Run(m_stop); });
    }
    ~InProcessCard() { Stop(); }
    int Port() const { return m_server.UdpPort(); }
    CSimController& Controller() { return m_controller; }
    // Stops serving; what the card holds may be read after.
    void Stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    QByteArray HeldDigest() const
    {
        const auto& data = m_controller.ScreenData();
        if (data.empty())
            return {};
        return QCryptographicHash::hash(
                   QByteArrayView(data.data(), static_cast<qsizetype>(data.size())),
                   QCryptographicHash::Sha256)
            .toHex();
    }

private:
    CSimController m_controller;
    CSimServer m_server;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

SendOptions Unpaused()
{
    SendOptions options;
    options.linkWaitMs = 0;
    options.endWaitMs = 0;
    options.retryLimit = 3;
    return options;
}

class SendFaultsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        SetNeighbourCacheFlusher([](const QString&) {});
        SetCommCancel(false);
    }
    void TearDown() override { SetNeighbourCacheFlusher({}); }

    // A screen of a few dozen chunks whose card is behind the relay.
    static std::unique_ptr<CProjectRoot> Project(const CUdpFaultRelay& relay, int timeoutMs = 200)
    {
        return TextProject(128, 64, relay.Port(), 1, timeoutMs);
    }
    static CScreen& Screen(CProjectRoot& root) { return *static_cast<CScreen*>(root.GetChild(0)); }
};

} // namespace

TEST_F(SendFaultsTest, NoSendSucceedsUnlessTheCardHoldsWhatWasSent)
{
    RelayFaults faults;
    faults.drop = 0.05;
    faults.duplicate = 0.05;
    faults.corrupt = 0.02;
    faults.reorder = 0.05;
    faults.delayMs = 3;
    int succeeded = 0;
    constexpr int kSeeds = 12;
    for (std::uint32_t seed = 1; seed <= kSeeds; ++seed) {
        InProcessCard card;
        CUdpFaultRelay relay(card.Port(), seed);
        ASSERT_GT(relay.Port(), 0);
        relay.SetFaults(Direction::ToCard, faults);
        relay.SetFaults(Direction::ToLink, faults);
        auto root = Project(relay);
        RecordingUi ui;
        ui.answers = std::vector<Answer>(20, Answer::Yes);
        CSendPipeline pipeline(Unpaused());
        QElapsedTimer timer;
        timer.start();
        const bool sent = pipeline.SendScreen(Screen(*root), ui);
        EXPECT_LT(timer.elapsed(), 30000) << "seed " << seed;
        card.Stop();
        if (sent) {
            ++succeeded;
            EXPECT_EQ(card.HeldDigest(), pipeline.SentDigest()) << "seed " << seed;
            EXPECT_EQ(ui.Positions(QStringLiteral("Succeed!")), std::vector<int>{90});
        } else {
            // A failure may have got the data there (only the last word was lost), never
            // other data.
            const QByteArray held = card.HeldDigest();
            EXPECT_TRUE(held.isEmpty() || held == pipeline.SentDigest()) << "seed " << seed;
            EXPECT_TRUE(ui.Positions(QStringLiteral("Succeed!")).empty());
        }
    }
    // These faults are what the link makes up for.
    EXPECT_GE(succeeded, kSeeds * 3 / 4);
}

TEST_F(SendFaultsTest, ALostReplyToTheEndIsAskedAboutInAWayTheCardAnswers)
{
    // The card stored the screen; its reply was lost. It answers the end sent again with a
    // refusal (the transfer is closed), which says nothing: the data goes once more.
    InProcessCard card;
    CUdpFaultRelay relay(card.Port(), 1);
    relay.Script(Direction::ToLink, CmdEndData, 1, Action::Drop);
    auto root = Project(relay);
    RecordingUi ui;
    CSendPipeline pipeline(Unpaused());
    ASSERT_TRUE(pipeline.SendScreen(Screen(*root), ui)) << pipeline.FailureText().toStdString();
    EXPECT_EQ(ui.Count('A'), 0);
    EXPECT_EQ(ui.Count('W'), 0);
    EXPECT_EQ(relay.Requests(CmdBeginData), 2);
    EXPECT_EQ(ui.Positions(QStringLiteral(
                  "The controller did not confirm the end of the data; sending it again...")),
              std::vector<int>{40});
    card.Stop();
    EXPECT_EQ(card.HeldDigest(), pipeline.SentDigest());
}

TEST_F(SendFaultsTest, ALostEndIsSentAgainAndSettlesTheTransfer)
{
    InProcessCard card;
    CUdpFaultRelay relay(card.Port(), 1);
    relay.Script(Direction::ToCard, CmdEndData, 1, Action::Drop);
    auto root = Project(relay);
    RecordingUi ui;
    CSendPipeline pipeline(Unpaused());
    ASSERT_TRUE(pipeline.SendScreen(Screen(*root), ui)) << pipeline.FailureText().toStdString();
    EXPECT_EQ(relay.Requests(CmdBeginData), 1);
    EXPECT_EQ(relay.Requests(CmdEndData), 2);
    card.Stop();
    EXPECT_EQ(card.HeldDigest(), pipeline.SentDigest());
}

TEST_F(SendFaultsTest, AStaleReplyIsNeverAnAcknowledgement)
{
    // The second chunk's reply comes twice, the copy while the third chunk (lost on the
    // way) waits; the fifth chunk's reply comes after its time-out.
    InProcessCard card;
    CUdpFaultRelay relay(card.Port(), 1);
    relay.Script(Direction::ToLink, CmdDataChunk, 2, Action::Duplicate, 1);
    relay.Script(Direction::ToCard, CmdDataChunk, 3, Action::Drop);
    relay.Script(Direction::ToLink, CmdDataChunk, 5, Action::Delay, 300);
    auto root = Project(relay);
    RecordingUi ui;
    CSendPipeline pipeline(Unpaused());
    ASSERT_TRUE(pipeline.SendScreen(Screen(*root), ui)) << pipeline.FailureText().toStdString();
    EXPECT_EQ(ui.Count('A'), 0);
    EXPECT_EQ(relay.Requests(CmdBeginData), 1);
    card.Stop();
    // Every chunk reached the card: the end was taken at once.
    EXPECT_EQ(card.HeldDigest(), pipeline.SentDigest());
}

TEST_F(SendFaultsTest, ALostFirstReplyIsSentAgain)
{
    InProcessCard card;
    CUdpFaultRelay relay(card.Port(), 1);
    relay.Script(Direction::ToLink, CmdIdentify, 1, Action::Drop);
    relay.Script(Direction::ToCard, CmdReadParams, 1, Action::Drop);
    auto root = Project(relay, 400);
    RecordingUi ui;
    CSendPipeline pipeline(Unpaused());
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(pipeline.SendScreen(Screen(*root), ui)) << pipeline.FailureText().toStdString();
    EXPECT_LT(timer.elapsed(), 3000);
    EXPECT_EQ(ui.Count('A'), 0);
    EXPECT_EQ(ui.Count('W'), 0);
}

TEST_F(SendFaultsTest, ACardRestartedDuringTheTransferIsNoSuccess)
{
    {
        // Restarted at the fourth chunk: it no longer knows the transfer.
        InProcessCard card;
        card.Controller().Faults().restart[CmdDataChunk] = 4;
        card.Controller().Faults().restartMs = 100;
        CUdpFaultRelay relay(card.Port(), 1);
        auto root = Project(relay);
        RecordingUi ui;
        ui.answers = std::vector<Answer>(5, Answer::Yes);
        CSendPipeline pipeline(Unpaused());
        EXPECT_FALSE(pipeline.SendScreen(Screen(*root), ui));
        EXPECT_TRUE(ui.Positions(QStringLiteral("Succeed!")).empty());
        EXPECT_TRUE(pipeline.FailureText().contains(QStringLiteral("Command failed.")))
            << pipeline.FailureText().toStdString();
        card.Stop();
        EXPECT_TRUE(card.HeldDigest().isEmpty());
    }
    {
        // Restarted on the end, before storing anything: the end sent again is refused as
        // the transfer is gone, and the data goes once more.
        InProcessCard card;
        card.Controller().Faults().restart[CmdEndData] = 1;
        card.Controller().Faults().restartMs = 100;
        CUdpFaultRelay relay(card.Port(), 1);
        auto root = Project(relay);
        RecordingUi ui;
        CSendPipeline pipeline(Unpaused());
        ASSERT_TRUE(pipeline.SendScreen(Screen(*root), ui)) << pipeline.FailureText().toStdString();
        EXPECT_EQ(relay.Requests(CmdBeginData), 2);
        card.Stop();
        EXPECT_EQ(card.HeldDigest(), pipeline.SentDigest());
    }
}
