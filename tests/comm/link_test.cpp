// The controller link over UDP loopback against a controller played by the test.
#include "comm_test_support.h"

#include "comm/controller_link.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "platform/neighbour_cache.h"

#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const std::vector<std::uint8_t> kIdentity = {0x91, 0x01, 0, 5, 1};

std::vector<std::uint8_t> PatternBlock()
{
    std::vector<std::uint8_t> block(112);
    for (int i = 0; i < 112; ++i)
        block[i] = static_cast<std::uint8_t>(i * 7 + 3);
    block[4] = 1; // panel ID 1
    block[5] = 0;
    return block;
}

// Answers identify and read parameters like a healthy controller.
ScriptedController::Reply Healthy(const ParsedRequest& request, int)
{
    if (request.command == CmdIdentify)
        return ScriptedController::Answer(0, kIdentity);
    if (request.command == CmdReadParams)
        return ScriptedController::Answer(0, PatternBlock());
    return ScriptedController::Answer(0);
}

class LinkTest : public testing::Test
{
protected:
    void SetUp() override
    {
        SetNeighbourCacheFlusher([this](const QString& address) {
            ++flushes;
            flushedAddress = address;
        });
    }
    void TearDown() override { SetNeighbourCacheFlusher({}); }

    int flushes = 0;
    QString flushedAddress;
};

} // namespace

TEST_F(LinkTest, ReadParamsIdentifiesThenReadsAndClosesAgain)
{
    ScriptedController controller(Healthy);
    UdpProject project(controller.Port());
    CControllerLink& link = LinkOf(*project.screen);
    ASSERT_TRUE(link.ReadParams()) << link.GetErrorText().toStdString();
    EXPECT_EQ(controller.Commands(), (std::vector<int>{CmdIdentify, CmdReadParams}));
    const auto block = PatternBlock();
    EXPECT_TRUE(std::equal(block.begin(), block.end(), project.screen->Params().Bytes().begin()));
    EXPECT_EQ(project.screen->Identity()[0], 0x91);
    EXPECT_EQ(link.ModelInfo().GetName(), QStringLiteral("RZ-C2"));
    EXPECT_EQ(link.ModelInfo().GetVersionText(), QStringLiteral("0.5.1"));
    EXPECT_FALSE(link.Udp().IsOpen());
    EXPECT_TRUE(link.GetErrorText().isEmpty());
    EXPECT_EQ(link.GetLinkStatusText(), QStringLiteral("Connected127.0.0.1"));
    EXPECT_EQ(flushes, 0);
}

TEST_F(LinkTest, ShortIdentifyReplyFailsWithTimeoutButCountsAsHealthy)
{
    ScriptedController controller([](const ParsedRequest& request, int) {
        return ScriptedController::Answer(0, {0x91, 0x01, 0, 5}); // a 16-byte frame
    });
    UdpProject project(controller.Port(), 2000);
    CControllerLink& link = LinkOf(*project.screen);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(link.ReadParams());
    EXPECT_LT(timer.elapsed(), 1000); // a datagram of the wrong size ends the wait at once
    EXPECT_EQ(link.GetErrorText(), QStringLiteral("Timeout."));
    EXPECT_TRUE(link.IsLinkConnected());
    EXPECT_EQ(controller.Commands(), (std::vector<int>{CmdIdentify}));
    EXPECT_EQ(flushes, 1);
    EXPECT_EQ(flushedAddress, QStringLiteral("127.0.0.1"));
}

TEST_F(LinkTest, ConnectedLinkRetriesOnceAfterAFailedTransfer)
{
    ScriptedController controller(
        [](const ParsedRequest& request, int index) -> ScriptedController::Reply {
            if (request.command == CmdReadParams && index == 1)
                return std::nullopt; // the first read goes unanswered
            return Healthy(request, index);
        });
    UdpProject project(controller.Port(), 200);
    CControllerLink& link = LinkOf(*project.screen);
    ASSERT_TRUE(link.ReadParams()) << link.GetErrorText().toStdString();
    EXPECT_EQ(controller.Commands(), (std::vector<int>{CmdIdentify, CmdReadParams, CmdReadParams}));
}

TEST_F(LinkTest, DisconnectedLinkDoesNotRetry)
{
    ScriptedController controller(
        [](const ParsedRequest&, int) -> ScriptedController::Reply { return std::nullopt; });
    UdpProject project(controller.Port(), 150);
    CControllerLink& link = LinkOf(*project.screen);
    ASSERT_TRUE(link.OpenLink());
    const CCommPacket packet(CmdClearPanel, 1);
    EXPECT_FALSE(link.Exchange(packet, 0));
    EXPECT_EQ(link.GetErrorText(), QStringLiteral("Timeout."));
    EXPECT_EQ(controller.Commands().size(), 1u);
    link.CloseLink();
}

TEST_F(LinkTest, HealthFollowsOutcomes)
{
    ScriptedController controller(
        [](const ParsedRequest& request, int) -> ScriptedController::Reply {
            if (request.command == CmdClearPanel)
                return std::nullopt;
            return ScriptedController::Answer(0);
        });
    UdpProject project(controller.Port(), 100);
    CControllerLink& link = LinkOf(*project.screen);
    ASSERT_TRUE(link.OpenLink());
    ASSERT_TRUE(link.Exchange(CCommPacket(CmdResetParams, 1), 0));
    EXPECT_TRUE(link.IsLinkConnected());
    // Each failed exchange (with its retry) counts one failure; the third disconnects.
    EXPECT_FALSE(link.Exchange(CCommPacket(CmdClearPanel, 1), 0));
    EXPECT_FALSE(link.Exchange(CCommPacket(CmdClearPanel, 1), 0));
    EXPECT_TRUE(link.IsLinkConnected());
    EXPECT_FALSE(link.Exchange(CCommPacket(CmdClearPanel, 1), 0));
    EXPECT_FALSE(link.IsLinkConnected());
    EXPECT_EQ(link.GetLinkStatusText(), QStringLiteral("Disconnected"));
    const size_t before = controller.Commands().size();
    EXPECT_FALSE(link.Exchange(CCommPacket(CmdClearPanel, 1), 0));
    EXPECT_EQ(controller.Commands().size(), before + 1); // no retry once disconnected
    EXPECT_EQ(link.GetLinkStatusText(), QStringLiteral("Disconnected"));
    ASSERT_TRUE(link.Exchange(CCommPacket(CmdResetParams, 1), 0));
    EXPECT_TRUE(link.IsLinkConnected());
    link.CloseLink();
}

TEST(LinkHealth, ThirdConsecutiveFailureDisconnects)
{
    CUdpPort port;
    EXPECT_FALSE(port.IsConnected());
    port.UpdateHealth(true);
    EXPECT_TRUE(port.IsConnected());
    port.UpdateHealth(false);
    port.UpdateHealth(false);
    EXPECT_TRUE(port.IsConnected());
    port.UpdateHealth(false);
    EXPECT_FALSE(port.IsConnected());
    port.UpdateHealth(true);
    EXPECT_TRUE(port.IsConnected());
    EXPECT_EQ(port.FailureCount(), 0);
}

TEST_F(LinkTest, ReplyStatusAndFrameFaults)
{
    struct Case
    {
        std::function<std::vector<std::uint8_t>()> reply;
        const char* text;
        bool healthy;
    };
    const Case cases[] = {
        {[] { return BuildReply(15, nullptr, 0); }, "Too many Messages.", true},
        {[] { return BuildReply(12, nullptr, 0); }, "Low power, Please restart the Panel.", true},
        {[] {
             auto r = BuildReply(0, nullptr, 0);
             r[2] = 0x0B;
             return r;
         },
         "Failed on send data.", false},
        {[] {
             auto r = BuildReply(0, nullptr, 0);
             r[11] ^= 1;
             return r;
         },
         "Data bad.", false},
        {[] {
             auto r = BuildReply(0, nullptr, 0);
             r[3] = 2;
             const auto sum = Sum16(r.data(), 10);
             r[10] = static_cast<std::uint8_t>(sum);
             r[11] = static_cast<std::uint8_t>(sum >> 8);
             return r;
         },
         "Unknow error.", false},
    };
    for (const Case& c : cases) {
        ScriptedController controller(
            [&](const ParsedRequest& request, int) -> ScriptedController::Reply {
                if (request.command == CmdIdentify)
                    return ScriptedController::Answer(0, kIdentity);
                return c.reply();
            });
        UdpProject project(controller.Port(), 300);
        CControllerLink& link = LinkOf(*project.screen);
        EXPECT_FALSE(link.ClearPanel());
        EXPECT_EQ(link.GetErrorText(), QString::fromLatin1(c.text));
        // The identify succeeded; a frame fault counts one failure, which leaves the link
        // connected, and status replies count as successes.
        EXPECT_TRUE(link.IsLinkConnected());
        EXPECT_EQ(link.Udp().FailureCount(),
                  c.healthy ? 0 : (c.text == std::string("Failed on send data.") ? 1 : 0));
    }
    EXPECT_EQ(flushes, 5);
}

TEST_F(LinkTest, GarbageRepliesOfEveryShapeFailCleanly)
{
    const std::vector<std::vector<std::uint8_t>> shapes = {
        {},
        {0x0A},
        std::vector<std::uint8_t>(11, 0x0A),
        std::vector<std::uint8_t>(12, 0),
        std::vector<std::uint8_t>(12, 0xFF),
        std::vector<std::uint8_t>(124, 0x05),
        std::vector<std::uint8_t>(4000, 0x0A),
    };
    for (const auto& shape : shapes) {
        ScriptedController controller(
            [&](const ParsedRequest& request, int) -> ScriptedController::Reply {
                if (request.command == CmdIdentify)
                    return ScriptedController::Answer(0, kIdentity);
                return shape;
            });
        UdpProject project(controller.Port(), 200);
        CControllerLink& link = LinkOf(*project.screen);
        QElapsedTimer timer;
        timer.start();
        EXPECT_FALSE(link.ReadParams());
        EXPECT_FALSE(link.GetErrorText().isEmpty()) << shape.size();
        EXPECT_LT(timer.elapsed(), 2000);
        EXPECT_EQ(project.screen->Params(), ControllerParams()); // nothing taken from garbage
    }
}

TEST_F(LinkTest, FlushOnlyForFailedNetworkCommands)
{
    {
        SilentPeer peer;
        UdpProject project(peer.Port(), 100);
        EXPECT_FALSE(LinkOf(*project.screen).SyncTime());
        EXPECT_EQ(LinkOf(*project.screen).GetErrorText(), QStringLiteral("Timeout."));
    }
    EXPECT_EQ(flushes, 1);
    auto root = CProjectRoot::NewProject();
    auto* screen = static_cast<CScreen*>(root->GetChild(0));
    screen->Link().comPort = 0; // serial, not configured
    EXPECT_FALSE(LinkOf(*screen).ClearPanel());
    EXPECT_EQ(LinkOf(*screen).GetErrorText(), QStringLiteral("Need initialize.(Try Search)"));
    EXPECT_EQ(flushes, 1);
}

TEST(UdpPort, OpenRules)
{
    LinkSettings settings;
    settings.linkKind = 1;
    CUdpPort port;
    EXPECT_FALSE(port.Open(&settings));
    EXPECT_EQ(port.GetErrorText(), QStringLiteral("Need initialize.(Try Search)"));
    settings.remoteIp = QStringLiteral("0.0.0.0");
    EXPECT_FALSE(port.Open(&settings));
    EXPECT_EQ(port.GetErrorText(), QStringLiteral("Need initialize.(Try Search)"));
    settings.linkKind = 0;
    settings.remoteIp = QStringLiteral("127.0.0.1");
    EXPECT_FALSE(port.Open(&settings));
    EXPECT_TRUE(port.GetErrorText().isEmpty());
    EXPECT_FALSE(port.Open(nullptr));
    settings.linkKind = 1;
    EXPECT_TRUE(port.Open(&settings));
    EXPECT_TRUE(port.IsOpen());
    port.Close();
    EXPECT_FALSE(port.IsOpen());
}

TEST(UdpPort, TimeoutAndWrongSize)
{
    SilentPeer peer;
    LinkSettings settings;
    settings.linkKind = 1;
    settings.remoteIp = QStringLiteral("127.0.0.1");
    settings.remotePort = static_cast<std::uint16_t>(peer.Port());
    settings.timeoutMs = 150;
    CUdpPort port;
    ASSERT_TRUE(port.Open(&settings));
    const CCommPacket packet(CmdIdentify, 1);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(port.Transfer(packet.GetData(), packet.GetLength(), 17));
    EXPECT_GE(timer.elapsed(), 150);
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_EQ(port.GetErrorText(), QStringLiteral("Timeout."));
    EXPECT_EQ(port.GetReplyCount(), 0);

    ScriptedController controller([](const ParsedRequest&, int) {
        return ScriptedController::Reply(std::vector<std::uint8_t>(13, 0x0A));
    });
    settings.remotePort = static_cast<std::uint16_t>(controller.Port());
    settings.timeoutMs = 3000;
    timer.restart();
    EXPECT_FALSE(port.Transfer(packet.GetData(), packet.GetLength(), 12));
    EXPECT_LT(timer.elapsed(), 1500);
    EXPECT_EQ(port.GetErrorText(), QStringLiteral("Timeout."));
    EXPECT_EQ(port.GetReplyCount(), 13);
}

TEST(UdpPort, CancelEndsTheWait)
{
    SilentPeer peer;
    LinkSettings settings;
    settings.linkKind = 1;
    settings.remoteIp = QStringLiteral("127.0.0.1");
    settings.remotePort = static_cast<std::uint16_t>(peer.Port());
    settings.timeoutMs = 5000;
    CUdpPort port;
    ASSERT_TRUE(port.Open(&settings));
    // The pumped wait delivers the timer that plays the Cancel button.
    QTimer::singleShot(50, [] { SetCommCancel(true); });
    const CCommPacket packet(CmdIdentify, 1);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(port.Transfer(packet.GetData(), packet.GetLength(), 17));
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_EQ(port.GetErrorText(), QStringLiteral("Canceled."));
    SetCommCancel(false);
}

TEST(LinkPayloads, TimeSyncCountsLocalSecondsFrom1970)
{
    const QDateTime dayTwo(QDate(1970, 1, 2), QTime(0, 0));
    const auto payload = CControllerLink::TimeSyncPayload(dayTwo);
    EXPECT_EQ(payload, (std::array<std::uint8_t, 8>{0x80, 0x51, 0x01, 0, 0, 0, 0, 0}));
    const QDateTime later(QDate(2024, 3, 5), QTime(13, 14, 15));
    const auto p2 = CControllerLink::TimeSyncPayload(later);
    const std::uint32_t seconds =
        p2[0] | (p2[1] << 8) | (p2[2] << 16) | (static_cast<std::uint32_t>(p2[3]) << 24);
    EXPECT_EQ(seconds, 1709644455u);
}

TEST(LinkPayloads, BeginDataCarriesLargestProgramBufferAndLength)
{
    auto root = CProjectRoot::NewProject();
    auto* screen = static_cast<CScreen*>(root->GetChild(0));
    screen->Params().SetU8(ControllerParams::ColourType, 2);
    auto* program = static_cast<CProgram*>(screen->GetChild(0));
    ASSERT_NE(program, nullptr);
    // Whatever windows the new program holds, compute the same figure by hand.
    std::uint32_t expected = 0;
    program->ForEachChild([&](const CProjectObject& child) {
        if (child.GetKind() != KindWindow)
            return;
        const LedRect& r = static_cast<const CPlayWindow&>(child).WindowRect();
        expected += r.Height() * ((r.Width() + 31) / 32 * 32) * 2 / 8;
    });
    EXPECT_EQ(LargestProgramBuffer(*screen), expected);
    const auto payload = CControllerLink::BeginDataPayload(0x01020304, 300);
    EXPECT_EQ(payload, (std::array<std::uint8_t, 8>{4, 3, 2, 1, 0x2C, 1, 0, 0}));
}

TEST(LinkStatus, SerialShowsPortNumber)
{
    auto root = CProjectRoot::NewProject();
    auto* screen = static_cast<CScreen*>(root->GetChild(0));
    CControllerLink& link = LinkOf(*screen);
    link.SelectLink(0);
    screen->Link().comPort = 3;
    EXPECT_EQ(link.GetLinkStatusText(), QStringLiteral("Disconnected"));
    link.Serial().UpdateHealth(true);
    EXPECT_EQ(link.GetLinkStatusText(), QStringLiteral("ConnectedCOM3"));
}

TEST(LinkSelect, SelectingTheOtherKindClosesTheTransportInUse)
{
    SilentPeer peer;
    UdpProject project(peer.Port());
    CControllerLink& link = LinkOf(*project.screen);
    ASSERT_TRUE(link.OpenLink());
    EXPECT_TRUE(link.Udp().IsOpen());
    link.SelectLink(0);
    EXPECT_FALSE(link.Udp().IsOpen());
    EXPECT_EQ(project.screen->Link().linkKind, 0);
    EXPECT_EQ(&link.Port(), static_cast<CCommPort*>(&link.Serial()));
    // The model's own setter closes through the link as well.
    link.SelectLink(1);
    ASSERT_TRUE(link.OpenLink());
    project.screen->SetLinkKind(0);
    EXPECT_FALSE(link.Udp().IsOpen());
    EXPECT_EQ(&LinkOf(*project.screen), &link);
}

TEST(LinkBroadcast, BroadcastReadAimsAtTheBroadcastAddress)
{
    // Checked on a serial link without a port, so that nothing goes out on any network.
    auto root = CProjectRoot::NewProject();
    auto* screen = static_cast<CScreen*>(root->GetChild(0));
    screen->Link().remoteIp = QStringLiteral("127.0.0.1");
    CControllerLink& link = LinkOf(*screen);
    EXPECT_FALSE(link.ReadParams(true));
    EXPECT_EQ(screen->Link().remoteIp, QStringLiteral("255.255.255.255"));
    EXPECT_EQ(link.GetErrorText(), QStringLiteral("Need initialize.(Try Search)"));
}
