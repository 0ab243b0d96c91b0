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

constexpr qint64 kRoundMs = 700;
constexpr int kRounds = 3;

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

// Read parameters per second through the screen's link (identify + command 33 each).
double LinkRate(int port)
{
    auto root = CProjectRoot::NewProject();
    auto* screen = static_cast<CScreen*>(root->GetChild(0));
    CControllerLink& link = LinkOf(*screen);
    link.SelectLink(1);
    screen->Link().remoteIp = QStringLiteral("127.0.0.1");
    screen->Link().remotePort = static_cast<std::uint16_t>(port);
    screen->Link().timeoutMs = 1000;
    if (!link.OpenLink())
        return 0;
    QElapsedTimer timer;
    timer.start();
    int done = 0;
    while (timer.elapsed() < kRoundMs) {
        if (!link.ReadParams()) {
            std::fprintf(stderr, "read parameters failed: %s\n",
                         link.GetErrorText().toUtf8().constData());
            return 0;
        }
        ++done;
    }
    const double rate = done * 1000.0 / static_cast<double>(timer.elapsed());
    link.CloseLink();
    return rate;
}

// The same two exchanges (12 bytes out, 17 back; 12 out, 124 back) on bare sockets.
double BareRate(int port)
{
    int clientPort = 0;
    const int fd = BindLoopback(clientPort);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    std::uint8_t request[12] = {};
    std::uint8_t reply[256];
    QElapsedTimer timer;
    timer.start();
    int done = 0;
    while (timer.elapsed() < kRoundMs) {
        for (int step = 0; step < 2; ++step) {
            request[0] = static_cast<std::uint8_t>(step);
            ::sendto(fd, request, sizeof request, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
            // Wait as the transport does: poll the socket, then take the datagram.
            for (;;) {
                if (::recv(fd, reply, sizeof reply, MSG_DONTWAIT) >= 0)
                    break;
                pollfd in{fd, POLLIN, 0};
                if (::poll(&in, 1, 1000) <= 0) {
                    ::close(fd);
                    return 0;
                }
            }
        }
        ++done;
    }
    ::close(fd);
    return done * 1000.0 / static_cast<double>(timer.elapsed());
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double RunLinkFigure()
{
    // The simulator on its own thread.
    CSimController controller;
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

    std::vector<double> linkRates;
    std::vector<double> bareRates;
    for (int round = 0; round < kRounds; ++round) {
        bareRates.push_back(BareRate(echoPort));
        linkRates.push_back(LinkRate(server.UdpPort()));
    }
    stop = true;
    simThread.join();
    echoThread.join();
    ::close(echo);

    const double link = Median(linkRates);
    const double bare = Median(bareRates);
    std::printf("read parameters via link: %.0f per second\n", link);
    std::printf("bare UDP ping-pong (same frames): %.0f per second\n", bare);
    return bare > 0 ? link / bare : 0;
}

BenchRegistration reg("link", "read-parameters round trips vs bare UDP ping-pong on loopback",
                      RunLinkFigure);

} // namespace
