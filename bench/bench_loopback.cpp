#include "bench/bench_loopback.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

int BindLoopback(int& port)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in local = LoopbackAddress(0);
    ::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local);
    socklen_t length = sizeof local;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length);
    port = ntohs(local.sin_port);
    return fd;
}

sockaddr_in LoopbackAddress(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    return address;
}

LoopbackEcho::LoopbackEcho(std::function<std::size_t(const std::uint8_t* request)> replySize)
    : m_socket(BindLoopback(m_port))
{
    m_thread = std::thread([this, replySize = std::move(replySize)] {
        std::uint8_t buffer[2048] = {};
        while (!m_stop) {
            pollfd in{m_socket, POLLIN, 0};
            if (::poll(&in, 1, 50) <= 0)
                continue;
            sockaddr_in from{};
            socklen_t length = sizeof from;
            if (::recvfrom(m_socket, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from),
                           &length) < 1)
                continue;
            ::sendto(m_socket, buffer, replySize(buffer), 0, reinterpret_cast<sockaddr*>(&from),
                     length);
        }
    });
}

LoopbackEcho::~LoopbackEcho()
{
    m_stop = true;
    m_thread.join();
    ::close(m_socket);
}
