#include "server/http_server.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kWriteTimeoutMs = 10000;
constexpr int kKeepAliveWaitMs = 5000;
// How often a connection waiting for its next request looks whether the server stops.
constexpr int kIdleSliceMs = 100;
// A refused body is drained this long and this far at most before the connection goes.
constexpr int kLingerMs = 2000;
constexpr std::size_t kLingerBytes = 1 << 20;
constexpr std::size_t kReadBuffer = 4096;

struct Connection
{
    bool closeAfter = false;
};
thread_local Connection* t_connection = nullptr;

bool WaitFor(int fd, short events, int timeoutMs)
{
    pollfd entry{fd, events, 0};
    int ready = 0;
    do {
        ready = ::poll(&entry, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
}

std::string AddressText(const sockaddr_storage& address, int& port)
{
    char text[INET6_ADDRSTRLEN] = {};
    if (address.ss_family == AF_INET) {
        const auto& in = reinterpret_cast<const sockaddr_in&>(address);
        ::inet_ntop(AF_INET, &in.sin_addr, text, sizeof text);
        port = ntohs(in.sin_port);
    } else if (address.ss_family == AF_INET6) {
        const auto& in6 = reinterpret_cast<const sockaddr_in6&>(address);
        ::inet_ntop(AF_INET6, &in6.sin6_addr, text, sizeof text);
        port = ntohs(in6.sin6_port);
    }
    return text;
}

// A connection's socket as the library's stream, reading through a small buffer (the
// library reads request lines a byte at a time).
class CSocketStream final : public httplib::Stream
{
public:
    explicit CSocketStream(int fd) : m_fd(fd) {}

    bool HasBuffered() const { return m_position < m_length; }

    bool is_readable() const override
    {
        return HasBuffered() || WaitFor(m_fd, POLLIN, CHttpServer::kReadTimeoutSeconds * 1000);
    }
    bool is_writable() const override { return WaitFor(m_fd, POLLOUT, kWriteTimeoutMs); }

    ssize_t read(char* ptr, size_t size) override
    {
        if (HasBuffered()) {
            const std::size_t n = std::min(size, m_length - m_position);
            std::memcpy(ptr, m_buffer + m_position, n);
            m_position += n;
            return static_cast<ssize_t>(n);
        }
        if (!WaitFor(m_fd, POLLIN, CHttpServer::kReadTimeoutSeconds * 1000))
            return -1;
        m_position = m_length = 0;
        if (size >= kReadBuffer)
            return Receive(ptr, size);
        const ssize_t received = Receive(m_buffer, kReadBuffer);
        if (received <= 0)
            return received;
        const std::size_t n = std::min(size, static_cast<std::size_t>(received));
        std::memcpy(ptr, m_buffer, n);
        m_position = n;
        m_length = static_cast<std::size_t>(received);
        return static_cast<ssize_t>(n);
    }

    ssize_t write(const char* ptr, size_t size) override
    {
        if (!is_writable())
            return -1;
        ssize_t sent = 0;
        do {
            sent = ::send(m_fd, ptr, size, MSG_NOSIGNAL);
        } while (sent < 0 && errno == EINTR);
        return sent;
    }

    void get_remote_ip_and_port(std::string& ip, int& port) const override
    {
        sockaddr_storage address{};
        socklen_t length = sizeof address;
        if (::getpeername(m_fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            ip = AddressText(address, port);
    }
    void get_local_ip_and_port(std::string& ip, int& port) const override
    {
        sockaddr_storage address{};
        socklen_t length = sizeof address;
        if (::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            ip = AddressText(address, port);
    }
    socket_t socket() const override { return m_fd; }

private:
    ssize_t Receive(char* into, std::size_t size)
    {
        ssize_t received = 0;
        do {
            received = ::recv(m_fd, into, size, 0);
        } while (received < 0 && errno == EINTR);
        return received;
    }

    int m_fd;
    char m_buffer[kReadBuffer];
    std::size_t m_position = 0;
    std::size_t m_length = 0;
};

// After the answer the client may still be sending the refused body: stop writing, take
// what arrives for a moment, then close.
void LingeringClose(int fd)
{
    ::shutdown(fd, SHUT_WR);
    char sink[16384];
    std::size_t drained = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLingerMs);
    while (drained < kLingerBytes) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0 || !WaitFor(fd, POLLIN, static_cast<int>(left)))
            break;
        const ssize_t received = ::recv(fd, sink, sizeof sink, 0);
        if (received <= 0)
            break;
        drained += static_cast<std::size_t>(received);
    }
    ::close(fd);
}

} // namespace

CHttpServer::CHttpServer()
{
    new_task_queue = [] { return new httplib::ThreadPool(kWorkerThreads); };
    set_read_timeout(kReadTimeoutSeconds);
    // Answers go out as a head and a body: without this the second waits for the client's
    // delayed acknowledgement.
    set_tcp_nodelay(true);
    // The library's default also shares the port with any other process that asks
    // (SO_REUSEPORT): a second server would silently take half of the requests. A restart
    // may still take the port over from connections that are closing.
    set_socket_options([](socket_t sock) {
        const int yes = 1;
        ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    set_write_timeout(kWriteTimeoutMs / 1000);
}

void CHttpServer::CloseAfterResponse()
{
    if (t_connection)
        t_connection->closeAfter = true;
}

bool CHttpServer::process_and_close_socket(socket_t sock)
{
    ++m_open;
    CSocketStream stream(sock);
    Connection connection;
    t_connection = &connection;
    bool ok = false;
    for (int left = kKeepAliveRequests; left > 0 && svr_sock_ != INVALID_SOCKET; --left) {
        // The next request of a kept-alive connection, while the server runs.
        bool ready = stream.HasBuffered();
        for (int waited = 0; !ready && waited < kKeepAliveWaitMs && svr_sock_ != INVALID_SOCKET;
             waited += kIdleSliceMs)
            ready = WaitFor(sock, POLLIN, kIdleSliceMs);
        if (!ready)
            break;
        bool closed = false;
        ok = process_request(stream, left == 1, closed, nullptr);
        if (!ok || closed || connection.closeAfter)
            break;
    }
    t_connection = nullptr;
    if (connection.closeAfter) {
        LingeringClose(sock);
    } else {
        ::shutdown(sock, SHUT_RDWR);
        ::close(sock);
    }
    --m_open;
    return ok;
}

void SetBody(httplib::Response& response, int status, std::string body, const char* type)
{
    response.status = status;
    response.set_content(std::move(body), type);
}
