// Replies matched to their requests and the requests that go out again: a card played step
// by step by the test, over UDP loopback and a pseudo-terminal.
#include "comm_test_support.h"

#include "base/app_paths.h"
#include "comm/controller_link.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "platform/neighbour_cache.h"
#include "platform/serial_devices.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <arpa/inet.h>
#include <netinet/in.h>

#include <optional>
#include <thread>

namespace {

const std::vector<std::uint8_t> kIdentity = {0x91, 0x01, 0, 5, 1};

int Bind(const char* address, int port)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<std::uint16_t>(port));
    ::inet_pton(AF_INET, address, &local.sin_addr);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int PortOf(int fd)
{
    sockaddr_in local{};
    socklen_t length = sizeof local;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length);
    return ntohs(local.sin_port);
}

// A card whose every move the test makes: it takes the next request and answers it, or
// an earlier one, when told.
class ManualCard
{
public:
    explicit ManualCard(const char* address = "127.0.0.1", int port = 0)
        : m_socket(Bind(address, port))
    {}
    ~ManualCard() { ::close(m_socket); }
    int Port() const { return PortOf(m_socket); }
    int Socket() const { return m_socket; }

    // The next request (bounded wait); its sender is where Answer replies.
    std::optional<ParsedRequest> Next(sockaddr_in* from = nullptr, int timeoutMs = 3000)
    {
        pollfd in{m_socket, POLLIN, 0};
        if (::poll(&in, 1, timeoutMs) <= 0)
            return std::nullopt;
        std::vector<std::uint8_t> buffer(4096);
        socklen_t length = sizeof m_last;
        const ssize_t got = ::recvfrom(m_socket, buffer.data(), buffer.size(), 0,
                                       reinterpret_cast<sockaddr*>(&m_last), &length);
        ParsedRequest request;
        if (got <= 0 ||
            ParseRequest(buffer.data(), static_cast<int>(got), request) != RequestCheck::Ok)
            return std::nullopt;
        if (from)
            *from = m_last;
        return request;
    }
    void Answer(const std::vector<std::uint8_t>& reply) { AnswerTo(m_last, reply); }
    void AnswerTo(const sockaddr_in& to, const std::vector<std::uint8_t>& reply,
                  int socket = -1) const
    {
        ::sendto(socket >= 0 ? socket : m_socket, reply.data(), reply.size(), 0,
                 reinterpret_cast<const sockaddr*>(&to), sizeof to);
    }

private:
    int m_socket = -1;
    sockaddr_in m_last{};
};

LinkSettings UdpSettings(int port, int timeoutMs)
{
    LinkSettings settings;
    settings.linkKind = 1;
    settings.remoteIp = QStringLiteral("127.0.0.1");
    settings.remotePort = static_cast<std::uint16_t>(port);
    settings.timeoutMs = timeoutMs;
    return settings;
}

std::vector<std::uint8_t> Reply(int status, std::vector<std::uint8_t> payload = {})
{
    return BuildReply(status, payload.data(), static_cast<int>(payload.size()));
}

} // namespace

TEST(ReplyMatching, AReplyAfterItsRequestsTimeoutIsNotTheNextOnesReply)
{
    ManualCard card;
    LinkSettings settings = UdpSettings(card.Port(), 150);
    CUdpPort port;
    ASSERT_TRUE(port.Open(&settings));
    const CCommPacket first(CmdClearPanel, 1);
    const CCommPacket second(CmdResetParams, 1);
    bool firstDone = true;
    bool secondDone = true;
    std::thread pc([&] {
        firstDone = port.Transfer(first.GetData(), first.GetLength(), 12);
        secondDone = port.Transfer(second.GetData(), second.GetLength(), 12);
    });
    sockaddr_in firstSender{};
    const auto a = card.Next(&firstSender);
    const auto b = card.Next(); // comes once the first request timed out
    // The first request's reply, late: the second request is waiting now.
    card.AnswerTo(firstSender, Reply(0));
    pc.join();
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->command, CmdClearPanel);
    EXPECT_EQ(b->command, CmdResetParams);
    EXPECT_FALSE(firstDone);
    EXPECT_FALSE(secondDone);
    EXPECT_EQ(port.GetErrorText(), QStringLiteral("Timeout."));
}

TEST(ReplyMatching, ADoubledReplyDoesNotAnswerTheNextRequest)
{
    for (int lateMs : {0, 30}) {
        ManualCard card;
        LinkSettings settings = UdpSettings(card.Port(), 200);
        CUdpPort port;
        ASSERT_TRUE(port.Open(&settings));
        const CCommPacket first(CmdClearPanel, 1);
        const CCommPacket second(CmdResetParams, 1);
        bool firstDone = false;
        bool secondDone = true;
        std::thread pc([&] {
            firstDone = port.Transfer(first.GetData(), first.GetLength(), 12);
            secondDone = port.Transfer(second.GetData(), second.GetLength(), 12);
        });
        sockaddr_in firstSender{};
        ASSERT_TRUE(card.Next(&firstSender));
        card.Answer(Reply(0));
        ASSERT_TRUE(card.Next());
        QThread::msleep(static_cast<unsigned long>(lateMs));
        card.AnswerTo(firstSender, Reply(0)); // the copy, while the second one waits
        pc.join();
        EXPECT_TRUE(firstDone) << lateMs;
        EXPECT_FALSE(secondDone) << lateMs;
    }
}

TEST(ReplyMatching, OnlyTheCardsAddressAndPortAnswer)
{
    ManualCard card;
    const int strangerPort = Bind("127.0.0.1", 0);
    const int otherAddress = Bind("127.0.0.2", card.Port());
    ASSERT_GE(strangerPort, 0);
    ASSERT_GE(otherAddress, 0);
    LinkSettings settings = UdpSettings(card.Port(), 1000);
    CUdpPort port;
    ASSERT_TRUE(port.Open(&settings));
    const CCommPacket identify(CmdIdentify, 1);
    const auto stranger = Reply(0, {1, 2, 3, 4, 5});

    // Strangers answer first: a reply from another port, and one from another address.
    bool done = false;
    std::thread pc([&] { done = port.Transfer(identify.GetData(), identify.GetLength(), 17); });
    sockaddr_in sender{};
    ASSERT_TRUE(card.Next(&sender));
    card.AnswerTo(sender, stranger, strangerPort);
    card.AnswerTo(sender, stranger, otherAddress);
    QThread::msleep(20);
    card.AnswerTo(sender, Reply(0, kIdentity));
    pc.join();
    ASSERT_TRUE(done);
    EXPECT_EQ(port.GetReplyBytes()[8], 0x91);
    EXPECT_EQ(port.LastSender(), QStringLiteral("127.0.0.1"));

    // A card may answer an identify from its own address (on its port), which the link
    // then learns; another port still is not the card.
    TransferRules learn;
    learn.learnAddress = true;
    pc = std::thread(
        [&] { done = port.Transfer(identify.GetData(), identify.GetLength(), 17, learn); });
    ASSERT_TRUE(card.Next(&sender));
    card.AnswerTo(sender, stranger, strangerPort);
    QThread::msleep(20);
    card.AnswerTo(sender, Reply(0, kIdentity), otherAddress);
    pc.join();
    ASSERT_TRUE(done);
    EXPECT_EQ(port.GetReplyBytes()[8], 0x91);
    EXPECT_EQ(settings.remoteIp, QStringLiteral("127.0.0.2"));
    ::close(strangerPort);
    ::close(otherAddress);
}

TEST(ReplyMatching, ASettlingReplyIsAwaitedAfterARepeatedRequest)
{
    // The card's answer to the second copy comes first and does not settle the request;
    // the answer to the first copy follows and does.
    ManualCard card;
    LinkSettings settings = UdpSettings(card.Port(), 400);
    CUdpPort port;
    ASSERT_TRUE(port.Open(&settings));
    TransferRules rules = TransferRulesFor(CmdEndData);
    const CCommPacket end(CmdEndData, 5, 0, 1, nullptr, 0);
    bool done = false;
    std::thread pc([&] { done = port.Transfer(end.GetData(), end.GetLength(), 12, rules); });
    sockaddr_in sender{};
    ASSERT_TRUE(card.Next(&sender));
    ASSERT_TRUE(card.Next()); // the copy, after a quarter of the time-out
    card.Answer(Reply(6));
    QThread::msleep(5);
    card.AnswerTo(sender, Reply(0));
    pc.join();
    ASSERT_TRUE(done);
    EXPECT_EQ(port.SendCount(), 2);
    EXPECT_EQ(port.GetReplyBytes()[4], 0);

    // Nothing better comes: the refusal is what the transfer ends with.
    pc = std::thread([&] { done = port.Transfer(end.GetData(), end.GetLength(), 12, rules); });
    ASSERT_TRUE(card.Next());
    ASSERT_TRUE(card.Next());
    card.Answer(Reply(6));
    pc.join();
    ASSERT_TRUE(done);
    EXPECT_EQ(port.GetReplyBytes()[4], 6);
}

class LinkRetryTest : public testing::Test
{
protected:
    void SetUp() override
    {
        SetNeighbourCacheFlusher([](const QString&) {});
    }
    void TearDown() override { SetNeighbourCacheFlusher({}); }
};

TEST_F(LinkRetryTest, TheFirstRequestOfANewLinkIsSentAgainWithinTheTimeout)
{
    ScriptedController controller(
        [](const ParsedRequest& request, int index) -> ScriptedController::Reply {
            if (index == 0)
                return std::nullopt; // the very first identify is lost
            if (request.command == CmdIdentify)
                return ScriptedController::Answer(0, kIdentity);
            return ScriptedController::Answer(0, std::vector<std::uint8_t>(112, 1));
        });
    UdpProject project(controller.Port(), 800);
    CControllerLink& link = LinkOf(*project.screen);
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(link.ReadParams()) << link.GetErrorText().toStdString();
    EXPECT_LT(timer.elapsed(), 800);
    EXPECT_EQ(controller.Commands(), (std::vector<int>{CmdIdentify, CmdIdentify, CmdReadParams}));
}

TEST_F(LinkRetryTest, CommandsThatChangeTheCardGoOutOnceAWait)
{
    ScriptedController controller(
        [](const ParsedRequest& request, int) -> ScriptedController::Reply {
            if (request.command == CmdIdentify)
                return ScriptedController::Answer(0, kIdentity);
            return std::nullopt;
        });
    UdpProject project(controller.Port(), 150);
    CControllerLink& link = LinkOf(*project.screen);
    for (const auto& command : {+[](CControllerLink& l) { return l.ClearPanel(); },
                                +[](CControllerLink& l) { return l.BeginData(64); }}) {
        const size_t before = controller.Commands().size();
        EXPECT_FALSE(command(link));
        EXPECT_EQ(link.GetErrorText(), QStringLiteral("Timeout."));
        // The identify, the command, and the one retry of a connected link.
        EXPECT_EQ(controller.Commands().size() - before, 3u);
    }
}

TEST_F(LinkRetryTest, TheEndOfATransferSaysWhatTheCardHolds)
{
    struct Case
    {
        const char* name;
        std::vector<std::optional<int>> answers; // per copy of the end: a status or nothing
        EndAnswer expected;
    };
    const Case cases[] = {
        {"stored", {0}, EndAnswer::Stored},
        {"refused", {5}, EndAnswer::Rejected},
        {"first copy lost", {std::nullopt, 0}, EndAnswer::Stored},
        {"first reply lost", {std::nullopt, 6}, EndAnswer::Unsure},
        {"nothing", {}, EndAnswer::Unsure},
    };
    for (const Case& c : cases) {
        ScriptedController controller(
            [&, ends = 0](const ParsedRequest& request, int) mutable -> ScriptedController::Reply {
                if (request.command == CmdIdentify)
                    return ScriptedController::Answer(0, kIdentity);
                const size_t copy = static_cast<size_t>(ends++);
                if (copy >= c.answers.size() || !c.answers[copy])
                    return std::nullopt;
                return ScriptedController::Answer(*c.answers[copy]);
            });
        UdpProject project(controller.Port(), 200);
        CControllerLink& link = LinkOf(*project.screen);
        ASSERT_TRUE(link.OpenLink());
        EXPECT_EQ(link.EndComplete(), c.expected) << c.name;
        link.CloseLink();
    }
}

class SerialLineTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        line = std::make_unique<PtyPair>(dir.filePath(QStringLiteral("pc")),
                                         dir.filePath(QStringLiteral("card")));
        ASSERT_TRUE(line->Ready());
        SetDataFolderOverride(dir.path());
        QFile ini(SettingsFilePath());
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[Serial]\nCOM7=%1\n").arg(line->pc).toUtf8());
        ini.close();
        ReloadSerialBindings();
        settings.comPort = 7;
        settings.timeoutMs = 150;
        card = ::open(line->controller.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        ASSERT_GE(card, 0);
    }
    void TearDown() override
    {
        if (card >= 0)
            ::close(card);
        line.reset();
        SetDataFolderOverride(QString());
        ReloadSerialBindings();
    }

    // The card reads one 12-byte request (bounded wait); false when none came.
    bool ReadRequest()
    {
        std::uint8_t frame[12];
        int got = 0;
        QElapsedTimer timer;
        timer.start();
        while (got < 12 && timer.elapsed() < 3000) {
            pollfd in{card, POLLIN, 0};
            if (::poll(&in, 1, 50) > 0) {
                const ssize_t n = ::read(card, frame + got, sizeof frame - got);
                if (n > 0)
                    got += static_cast<int>(n);
            }
        }
        return got == 12;
    }
    void Write(const std::vector<std::uint8_t>& bytes)
    {
        ASSERT_EQ(::write(card, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    QTemporaryDir dir;
    std::unique_ptr<PtyPair> line;
    LinkSettings settings;
    int card = -1;
};

TEST_F(SerialLineTest, StaleAndLateBytesAreNotTheReply)
{
    CSerialPort port;
    ASSERT_TRUE(port.Open(&settings));
    const CCommPacket request(CmdClearPanel, 1);

    // A reply on the line before the request was sent.
    Write(Reply(0));
    QThread::msleep(50);
    bool done = false;
    std::thread pc([&] { done = port.Transfer(request.GetData(), request.GetLength(), 12); });
    ASSERT_TRUE(ReadRequest());
    Write(Reply(4));
    pc.join();
    ASSERT_TRUE(done) << port.GetErrorText().toStdString();
    EXPECT_EQ(port.GetReplyBytes()[4], 4);

    // A reply after the time-out, while the next request would be waiting for its own.
    bool first = true;
    bool second = false;
    pc = std::thread([&] {
        first = port.Transfer(request.GetData(), request.GetLength(), 12);
        second = port.Transfer(request.GetData(), request.GetLength(), 12);
    });
    ASSERT_TRUE(ReadRequest());
    QThread::msleep(200);
    Write(Reply(0));
    ASSERT_TRUE(ReadRequest()); // sent once the line stayed quiet
    Write(Reply(7));
    pc.join();
    EXPECT_FALSE(first);
    ASSERT_TRUE(second) << port.GetErrorText().toStdString();
    EXPECT_EQ(port.GetReplyBytes()[4], 7);
    port.Close();
}

TEST_F(SerialLineTest, AQuietLineGetsTheRequestAgainWithinTheTimeout)
{
    settings.timeoutMs = 300;
    CSerialPort port;
    ASSERT_TRUE(port.Open(&settings));
    const CCommPacket identify(CmdIdentify, 1);
    TransferRules rules;
    rules.resend = true;
    bool done = false;
    QElapsedTimer timer;
    timer.start();
    std::thread pc(
        [&] { done = port.Transfer(identify.GetData(), identify.GetLength(), 17, rules); });
    ASSERT_TRUE(ReadRequest()); // lost on the line
    ASSERT_TRUE(ReadRequest());
    Write(Reply(0, kIdentity));
    pc.join();
    ASSERT_TRUE(done) << port.GetErrorText().toStdString();
    EXPECT_LT(timer.elapsed(), 300);
    EXPECT_EQ(port.SendCount(), 2);
    port.Close();
}
