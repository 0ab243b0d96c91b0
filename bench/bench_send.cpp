// lumivant-bench send: a 1 MB screen sent to the simulator over UDP loopback in 256-byte
// chunks, against a bare UDP ping-pong of the same frame sizes (the limit). Also prints
// what a serial link at 57600 baud with its pauses between chunks can reach.
#include "bench/bench_loopback.h"
#include "bench/bench_registry.h"

#include "base/operation_ui.h"
#include "comm/controller_link.h"
#include "comm/send_pipeline.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "model/text_zone.h"
#include "render/compile_screen.h"
#include "sim/sim_server.h"

#include <QElapsedTimer>

#include <atomic>
#include <cstdio>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kChunk = 256;
// A chunk request: 12 bytes of frame, the 4-byte offset and the data; its reply: 12 bytes.
constexpr int kChunkFrame = 12 + 4 + kChunk;
constexpr int kReplyFrame = 12;

// Chunk-sized frames out, 12-byte replies back, for one slice; counts the data bytes.
bool BareSlice(int fd, const sockaddr_in& to, qint64& bytes, qint64& nanoseconds)
{
    std::uint8_t request[kChunkFrame] = {};
    std::uint8_t reply[64];
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < kBenchSliceMs) {
        ::sendto(fd, request, sizeof request, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
        // Wait as the transport does: poll the socket, then take the datagram.
        for (;;) {
            if (::recv(fd, reply, sizeof reply, MSG_DONTWAIT) >= 0)
                break;
            pollfd in{fd, POLLIN, 0};
            if (::poll(&in, 1, 1000) <= 0)
                return false;
        }
        bytes += kChunk;
    }
    nanoseconds += timer.nsecsElapsed();
    return true;
}

// The progress of the send hands the machine to the bare ping-pong every slice; the time
// spent there is taken out of the send's time.
class SlicingUi final : public IOperationUi
{
public:
    SlicingUi(int fd, const sockaddr_in& to) : m_fd(fd), m_to(to) { m_slice.start(); }

    void SetRange(int) override {}
    bool Update(int position, const QString& text) override
    {
        // The stream runs from the update after begin data (40) to "Finish..." (80).
        if (position == 40 && !m_streaming && text == QStringLiteral("Sending...")) {
            m_streaming = true;
            m_pausedAtStreamStart = pausedNanoseconds;
            m_stream.start();
        } else if (position == 80 && m_streaming) {
            m_streaming = false;
            streamNanoseconds +=
                m_stream.nsecsElapsed() - (pausedNanoseconds - m_pausedAtStreamStart);
        }
        if (m_slice.elapsed() >= kBenchSliceMs) {
            QElapsedTimer pause;
            pause.start();
            m_ok = BareSlice(m_fd, m_to, bareBytes, bareNanoseconds) && m_ok;
            pausedNanoseconds += pause.nsecsElapsed();
            m_slice.restart();
        }
        return !m_ok;
    }
    Answer Ask(const QString& text) override
    {
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
        return Answer::No;
    }
    void Inform(const QString&) override {}
    void Warn(const QString& text) override
    {
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    }

    qint64 bareBytes = 0;
    qint64 bareNanoseconds = 0;
    qint64 pausedNanoseconds = 0;
    qint64 streamNanoseconds = 0;

private:
    bool m_streaming = false;
    qint64 m_pausedAtStreamStart = 0;
    QElapsedTimer m_stream;
    int m_fd;
    sockaddr_in m_to;
    QElapsedTimer m_slice;
    bool m_ok = true;
};

// A full-colour 512 × 256 screen with one window of 21 zones of one page each: about 1 MB
// of screen data.
std::unique_ptr<CProjectRoot> MegabyteProject(int port)
{
    auto root = CProjectRoot::NewProject();
    auto* screen = static_cast<CScreen*>(root->GetChild(0));
    screen->Params().SetU16(ControllerParams::Width, 512);
    screen->Params().SetU16(ControllerParams::Height, 256);
    screen->Params().SetU8(ControllerParams::ColourType, 3);
    auto* program = static_cast<CProgram*>(screen->GetChild(0));
    auto window = std::make_unique<CPlayWindow>(program);
    window->SetWindowRect({0, 0, 512, 256});
    for (int i = 0; i < 21; ++i)
        window->AddChild(std::make_unique<CTextZone>(window.get()));
    program->AddChild(std::move(window));
    LinkOf(*screen).SelectLink(1);
    screen->Link().remoteIp = QStringLiteral("127.0.0.1");
    screen->Link().remotePort = static_cast<std::uint16_t>(port);
    screen->Link().timeoutMs = 1000;
    return root;
}

void PrintSerialFigure()
{
    // 10 bits a byte on the line (start, 8 data, stop).
    constexpr double kLineBytesPerSecond = 57600.0 / 10.0;
    constexpr double kPauseSeconds = 0.030;
    for (int chunk : {128, 256}) {
        const double lineSeconds = (12 + 4 + chunk + kReplyFrame) / kLineBytesPerSecond;
        const double rate = chunk / (lineSeconds + kPauseSeconds);
        std::printf("serial 57600 baud, %d-byte chunks with 30 ms pauses: at most %.0f data bytes "
                    "per second, %.2f of the line rate (%.0f bytes per second); 1 MB in %.0f s\n",
                    chunk, rate, rate / kLineBytesPerSecond, kLineBytesPerSecond, (1 << 20) / rate);
    }
}

double RunSendFigure()
{
    CSimController controller;
    controller.SetLogging(false);
    CSimServer server(controller);
    QString error;
    if (!server.ListenUdp(QStringLiteral("127.0.0.1"), 0, QString(), error)) {
        std::fprintf(stderr, "%s\n", error.toUtf8().constData());
        return 0;
    }
    // The controller must take the screen's size and colours.
    controller.Params().SetU16(ControllerParams::Width, 512);
    controller.Params().SetU16(ControllerParams::Height, 256);
    controller.Params().SetU8(ControllerParams::ColourType, 3);
    std::atomic<bool> stop{false};
    std::thread simThread([&] { server.Run(stop); });

    // The bare echo: a 12-byte reply to every frame.
    LoopbackEcho echo([](const std::uint8_t*) -> std::size_t { return kReplyFrame; });
    int clientPort = 0;
    const int client = BindLoopback(clientPort);
    const sockaddr_in to = LoopbackAddress(echo.Port());

    auto root = MegabyteProject(server.UdpPort());
    auto* screen = static_cast<CScreen*>(root->GetChild(0));
    SendOptions options;
    options.chunkSize = kChunk;
    options.linkWaitMs = 0;
    options.endWaitMs = 0;
    CSendPipeline pipeline(options);
    SlicingUi ui(client, to);
    qint64 sendBytes = 0;
    qint64 sendNanoseconds = 0;
    bool ok = true;
    int sends = 0;
    QElapsedTimer total;
    total.start();
    while (ok && (sends == 0 || total.elapsed() < kBenchTotalMs)) {
        const qint64 pausedBefore = ui.pausedNanoseconds;
        QElapsedTimer timer;
        timer.start();
        ok = pipeline.SendScreen(*screen, ui);
        sendNanoseconds += timer.nsecsElapsed() - (ui.pausedNanoseconds - pausedBefore);
        sendBytes += static_cast<qint64>(controller.ScreenData().size());
        ++sends;
    }
    ::close(client);
    stop = true;
    simThread.join();

    if (!ok) {
        std::fprintf(stderr, "send failed: %s\n", pipeline.FailureText().toUtf8().constData());
        return 0;
    }
    const double sendRate = sendNanoseconds > 0 ? sendBytes * 1e9 / sendNanoseconds : 0;
    const double streamRate = ui.streamNanoseconds > 0 ? sendBytes * 1e9 / ui.streamNanoseconds : 0;
    const double bareRate = ui.bareNanoseconds > 0 ? ui.bareBytes * 1e9 / ui.bareNanoseconds : 0;
    std::printf("screen data: %zu bytes, sent %d times\n", controller.ScreenData().size(), sends);
    std::printf("whole send (read parameters, render, compile, begin, chunks, end): %.0f KB/s\n",
                sendRate / 1024);
    std::printf("send pipeline's chunk stream (%d-byte chunks, progress, reply checks): "
                "%.0f KB/s\n",
                kChunk, streamRate / 1024);
    std::printf("bare UDP ping-pong (%d-byte frames, %d-byte replies): %.0f KB/s\n", kChunkFrame,
                kReplyFrame, bareRate / 1024);
    std::printf("whole send against the ping-pong: %.3f\n", bareRate > 0 ? sendRate / bareRate : 0);
    PrintSerialFigure();
    return bareRate > 0 ? streamRate / bareRate : 0;
}

BenchRegistration reg("send", "1 MB screen sent over UDP loopback vs bare UDP ping-pong",
                      RunSendFigure);

} // namespace
