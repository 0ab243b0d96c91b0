// lumivant-bench link: read-parameters round trips against the simulator on UDP loopback,
// against a bare UDP ping-pong of the same frame sizes (the limit).
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

// The two measurements alternate in short slices, so that both see the same load of a
// shared machine; the rates are the totals over all slices.
constexpr qint64 kSliceMs = 25;
constexpr qint64 kTotalMs = 3000;

int BindLoopback(int& port)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local);
    socklen_t length = sizeof local;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length);
    port = ntohs(local.sin_port);
    return fd;
}

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
    while (timer.elapsed() < kSliceMs) {
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
    while (timer.elapsed() < kSliceMs) {
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
    int echoPort = 0;
    const int echo = BindLoopback(echoPort);
    std::thread echoThread([&] {
        std::uint8_t buffer[256] = {};
        while (!stop) {
            pollfd in{echo, POLLIN, 0};
            if (::poll(&in, 1, 50) <= 0)
                continue;
            sockaddr_in from{};
            socklen_t length = sizeof from;
            if (::recvfrom(echo, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from),
                           &length) < 1)
                continue;
            const size_t size = buffer[0] == 0 ? 17 : 124;
            ::sendto(echo, buffer, size, 0, reinterpret_cast<sockaddr*>(&from), length);
        }
    });

    auto root = CProjectRoot::NewProject();
    auto* screen = static_cast<CScreen*>(root->GetChild(0));
    CControllerLink& link = LinkOf(*screen);
    link.SelectLink(1);
    screen->Link().remoteIp = QStringLiteral("127.0.0.1");
    screen->Link().remotePort = static_cast<std::uint16_t>(server.UdpPort());
    screen->Link().timeoutMs = 1000;
    int clientPort = 0;
    const int client = BindLoopback(clientPort);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    to.sin_port = htons(static_cast<std::uint16_t>(echoPort));

    Tally linkTally;
    Tally bareTally;
    bool ok = link.OpenLink();
    QElapsedTimer total;
    total.start();
    while (ok && total.elapsed() < kTotalMs)
        ok = BareSlice(client, to, bareTally) && LinkSlice(link, linkTally);
    link.CloseLink();
    ::close(client);
    stop = true;
    simThread.join();
    echoThread.join();
    ::close(echo);

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
