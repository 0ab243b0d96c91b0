#include "send_test_support.h"

#include "comm/comm_packet.h"
#include "comm/controller_link.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "model/text_zone.h"

#include <algorithm>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

bool RecordingUi::Update(int position, const QString& text)
{
    events.push_back({'U', position, text});
    return onUpdate ? onUpdate(position, text) : false;
}

Answer RecordingUi::Ask(const QString& text)
{
    events.push_back({'A', 0, text});
    if (onAsk)
        onAsk();
    const Answer answer = asked < answers.size() ? answers[asked] : Answer::No;
    ++asked;
    return answer;
}

std::vector<int> RecordingUi::Positions(const QString& text) const
{
    std::vector<int> positions;
    for (const Event& event : events) {
        if (event.kind == 'U' && event.text == text)
            positions.push_back(event.position);
    }
    return positions;
}

QStringList RecordingUi::Texts(char kind) const
{
    QStringList texts;
    for (const Event& event : events) {
        if (event.kind == kind)
            texts.append(event.text);
    }
    return texts;
}

int RecordingUi::Count(char kind) const
{
    return static_cast<int>(std::count_if(events.begin(), events.end(),
                                          [kind](const Event& e) { return e.kind == kind; }));
}

void AddWindowWithText(CScreen& screen, int left, int top, int right, int bottom)
{
    auto* program = static_cast<CProgram*>(screen.GetChild(0));
    auto window = std::make_unique<CPlayWindow>(program);
    window->SetWindowRect({left, top, right, bottom});
    auto zone = std::make_unique<CTextZone>(window.get());
    zone->SetRtf(QStringLiteral("{\\rtf1\\fs18 Lumivant}"));
    window->AddChild(std::move(zone));
    program->AddChild(std::move(window));
}

void PointAt(CScreen& screen, int port, int timeoutMs)
{
    LinkOf(screen).SelectLink(1);
    screen.Link().remoteIp = QStringLiteral("127.0.0.1");
    screen.Link().remotePort = static_cast<std::uint16_t>(port);
    screen.Link().timeoutMs = timeoutMs;
    // A project file takes the port from the parameter block.
    screen.Params().SetUdpPortNumber(static_cast<std::uint16_t>(port));
}

std::unique_ptr<CProjectRoot> TextProject(int width, int height, int port, int screens,
                                          int timeoutMs)
{
    auto root = CProjectRoot::NewProject();
    for (int i = 1; i < screens; ++i) {
        auto screen = root->CreateChild(KindScreen);
        screen->AddChild(screen->CreateChild(KindProgram));
        root->AddChild(std::move(screen));
    }
    for (int i = 0; i < root->GetChildCount(); ++i) {
        auto* screen = static_cast<CScreen*>(root->GetChild(i));
        screen->SetName(QStringLiteral("Panel%1").arg(i + 1));
        screen->Params().SetU16(ControllerParams::Width, static_cast<std::uint16_t>(width));
        screen->Params().SetU16(ControllerParams::Height, static_cast<std::uint16_t>(height));
        screen->Params().SetU8(ControllerParams::ColourType, 1);
        AddWindowWithText(*screen, 0, 0, width, height);
        PointAt(*screen, port, timeoutMs);
    }
    return root;
}

namespace {

int BindTo(const char* address, int& port)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    ::inet_pton(AF_INET, address, &local.sin_addr);
    ::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local);
    socklen_t length = sizeof local;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length);
    port = ntohs(local.sin_port);
    return fd;
}

} // namespace

UdpRelay::UdpRelay(int controllerPort) : m_controllerPort(controllerPort)
{
    m_socket = BindTo("127.0.0.1", m_port);
    int strangerPort = 0;
    m_stranger = BindTo("127.0.0.2", strangerPort);
    m_thread = std::thread([this] { Run(); });
}

UdpRelay::~UdpRelay()
{
    m_stop = true;
    m_thread.join();
    ::close(m_socket);
    ::close(m_stranger);
}

void UdpRelay::StrangerAnswersChunks(std::vector<int> numbers)
{
    std::lock_guard lock(m_mutex);
    m_chunks = std::move(numbers);
}

void UdpRelay::Run()
{
    std::vector<std::uint8_t> buffer(65536);
    sockaddr_in client{};
    bool haveClient = false;
    sockaddr_in controller{};
    controller.sin_family = AF_INET;
    controller.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    controller.sin_port = htons(static_cast<std::uint16_t>(m_controllerPort));
    int chunkNumber = 0;
    while (!m_stop) {
        pollfd in{m_socket, POLLIN, 0};
        if (::poll(&in, 1, 20) <= 0)
            continue;
        sockaddr_in sender{};
        socklen_t length = sizeof sender;
        const ssize_t got = ::recvfrom(m_socket, buffer.data(), buffer.size(), 0,
                                       reinterpret_cast<sockaddr*>(&sender), &length);
        if (got <= 0)
            continue;
        const bool fromController = sender.sin_port == controller.sin_port;
        if (fromController) {
            if (haveClient)
                ::sendto(m_socket, buffer.data(), static_cast<size_t>(got), 0,
                         reinterpret_cast<sockaddr*>(&client), sizeof client);
            continue;
        }
        client = sender;
        haveClient = true;
        ParsedRequest request;
        if (ParseRequest(buffer.data(), static_cast<int>(got), request) == RequestCheck::Ok &&
            request.command == CmdDataChunk) {
            ++chunkNumber;
            bool stranger = false;
            {
                std::lock_guard lock(m_mutex);
                stranger =
                    std::find(m_chunks.begin(), m_chunks.end(), chunkNumber) != m_chunks.end();
            }
            if (stranger) {
                const auto reply = BuildReply(0, nullptr, 0);
                ::sendto(m_stranger, reply.data(), reply.size(), 0,
                         reinterpret_cast<sockaddr*>(&client), sizeof client);
                ++m_strangerReplies;
            }
        }
        ::sendto(m_socket, buffer.data(), static_cast<size_t>(got), 0,
                 reinterpret_cast<sockaddr*>(&controller), sizeof controller);
    }
}

::testing::AssertionResult SameScreenData(const QByteArray& sent, const QByteArray& compiled)
{
    if (sent.size() != compiled.size())
        return ::testing::AssertionFailure()
               << "sizes differ: " << sent.size() << " sent, " << compiled.size() << " compiled";
    if (sent.size() < 128)
        return ::testing::AssertionFailure() << "shorter than the header: " << sent.size();
    if (sent.mid(128) != compiled.mid(128))
        return ::testing::AssertionFailure() << "the data after the header differs";
    // The program count, (byte 126 + byte 127) mod 256, and the check of bytes 124 and 125.
    auto programs = [](const QByteArray& d) {
        return static_cast<std::uint8_t>(static_cast<std::uint8_t>(d[126]) +
                                         static_cast<std::uint8_t>(d[127]));
    };
    auto check = [&](const QByteArray& d) {
        return static_cast<std::uint8_t>(static_cast<std::uint8_t>(d[124]) +
                                         static_cast<std::uint8_t>(d[125]) + programs(d)) == 0x55;
    };
    if (programs(sent) != programs(compiled) || !check(sent) || !check(compiled))
        return ::testing::AssertionFailure() << "the headers disagree on the program count";
    return ::testing::AssertionSuccess();
}
