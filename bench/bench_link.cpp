// lumivant-bench link: read-parameters round trips against the simulator on UDP loopback,
// against a bare UDP ping-pong of the same frame sizes (the limit).
#include "bench/bench_loopback.h"
#include "bench/bench_registry.h"

#include "comm/controller_link.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "sim/sim_server.h"

#include <QElapsedTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

struct Tally
{
    qint64 count = 0;
    qint64 nanoseconds = 0;
    double Rate() const
    {
        return nanoseconds > 0 ? count * 1e9 / static_cast<double>(nanoseconds) : 0;
    }
};

// Read parameters through the screen's link (identify + command 33 each), for one slice.
bool LinkSlice(CControllerLink& link, Tally& tally)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < kBenchSliceMs) {
        if (!link.ReadParams()) {
            std::fprintf(stderr, "read parameters failed: %s\n",
                         link.GetErrorText().toUtf8().constData());
            return false;
        }
        ++tally.count;
    }
    tally.nanoseconds += timer.nsecsElapsed();
    return true;
}

// The same two exchanges (12 bytes out, 17 back; 12 out, 124 back) on a bare socket.
bool BareSlice(int fd, const sockaddr_in& to, Tally& tally)
{
    std::uint8_t request[12] = {};
    std::uint8_t reply[256];
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < kBenchSliceMs) {
        for (int step = 0; step < 2; ++step) {
            request[0] = static_cast<std::uint8_t>(step);
            ::sendto(fd, request, sizeof request, 0, reinterpret_cast<const sockaddr*>(&to),
                     sizeof to);
            // Wait as the transport does: poll the socket, then take the datagram.
            for (;;) {
                if (::recv(fd, reply, sizeof reply, MSG_DONTWAIT) >= 0)
                    break;
                pollfd in{fd, POLLIN, 0};
                if (::poll(&in, 1, 1000) <= 0)
                    return false;
            }
        }
        ++tally.count;
    }
    tally.nanoseconds += timer.nsecsElapsed();
    return true;
}

double RunLinkFigure()
{
    // The simulator on its own thread.
    CSimController controller;
    controller.SetLogging(false);
    CSimServer server(controller);
    QString error;
    if (!server.ListenUdp(QStringLiteral("127.0.0.1"), 0, QString(), error)) {
        std::fprintf(stderr, "%s\n", error.toUtf8().constData());
        return 0;
    }
    std::atomic<bool> stop{false};
    std::thread simThread([&] { server.Run(stop); });

    // The bare echo: answers 17 or 124 bytes as the simulator would.
    LoopbackEcho echo(
        [](const std::uint8_t* request) -> std::size_t { return request[0] == 0 ? 17 : 124; });

    auto root = CProjectRoot::NewProject();
    auto* screen = static_cast<CScreen*>(root->GetChild(0));
    CControllerLink& link = LinkOf(*screen);
    link.SelectLink(1);
    screen->Link().remoteIp = QStringLiteral("127.0.0.1");
    screen->Link().remotePort = static_cast<std::uint16_t>(server.UdpPort());
    screen->Link().timeoutMs = 1000;
    int clientPort = 0;
    const int client = BindLoopback(clientPort);
    const sockaddr_in to = LoopbackAddress(echo.Port());

    Tally linkTally;
    Tally bareTally;
    bool ok = link.OpenLink();
    QElapsedTimer total;
    total.start();
    while (ok && total.elapsed() < kBenchTotalMs)
        ok = BareSlice(client, to, bareTally) && LinkSlice(link, linkTally);
    link.CloseLink();
    ::close(client);
    stop = true;
    simThread.join();

    if (!ok)
        return 0;
    const double linkRate = linkTally.Rate();
    const double bareRate = bareTally.Rate();
    std::printf("read parameters via link: %.0f per second\n", linkRate);
    std::printf("bare UDP ping-pong (same frames): %.0f per second\n", bareRate);
    return bareRate > 0 ? linkRate / bareRate : 0;
}

BenchRegistration reg("link", "read-parameters round trips vs bare UDP ping-pong on loopback",
                      RunLinkFigure);

} // namespace
