#include "comm/udp_port.h"

#include "base/string_table.h"
#include "model/link_settings.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kMaxDatagram = 65536;

bool ResolveIpv4(const QString& text, in_addr& address)
{
    const QByteArray host = text.trimmed().toLatin1();
    if (::inet_pton(AF_INET, host.constData(), &address) == 1)
        return true;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.constData(), nullptr, &hints, &found) != 0 || !found)
        return false;
    address = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
    ::freeaddrinfo(found);
    return true;
}

} // namespace

CUdpPort::~CUdpPort()
{
    if (m_socket >= 0)
        ::close(m_socket);
}

bool CUdpPort::Open(LinkSettings* settings)
{
    if (!settings || settings->linkKind != 1) {
        FailWithText(QString());
        return false;
    }
    if (settings->remoteIp.isEmpty() || settings->remoteIp.startsWith(u'0'))
        return Fail(43004);
    m_settings = settings;
    if (m_socket >= 0)
        return true;
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return Fail(43031, errno);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        const int code = errno;
        ::close(fd);
        return Fail(43031, code);
    }
    // Allowed for every socket: the search may be set up with a subnet's broadcast
    // address, not only 255.255.255.255.
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    m_socket = fd;
    ClearError();
    return true;
}

bool CUdpPort::Transfer(const std::uint8_t* frame, int length, int replyLength)
{
    m_receiveCount = 0;
    if (m_socket < 0 || !m_settings)
        return Fail(43011);
    m_transmit.assign(frame, frame + std::max(length, 0));
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(m_settings->remotePort);
    if (!ResolveIpv4(m_settings->remoteIp, remote.sin_addr)) {
        // The system's text alone would leave the person guessing which part failed.
        FailWithText(
            LoadString(43011) +
                QStringLiteral(" The host name %1 is not known.").arg(m_settings->remoteIp),
            EINVAL);
        return false;
    }
    // Whatever arrived before this request is not its reply.
    std::uint8_t stale[1];
    while (::recv(m_socket, stale, sizeof stale, MSG_DONTWAIT | MSG_TRUNC) >= 0) {
    }
    if (::sendto(m_socket, frame, static_cast<size_t>(length), 0,
                 reinterpret_cast<sockaddr*>(&remote), sizeof remote) != length)
        return Fail(43011, errno);
    m_transmitCount = length;

    QElapsedTimer timer;
    timer.start();
    m_receive.assign(static_cast<size_t>(replyLength), 0);
    std::vector<std::uint8_t>& datagram = m_datagram;
    datagram.resize(kMaxDatagram);
    const qint64 timeout = m_settings->timeoutMs;
    for (;;) {
        if (CommCancelled())
            return Fail(41052);
        const qint64 elapsed = timer.elapsed();
        if (elapsed > timeout)
            return Fail(43014);
        sockaddr_in sender{};
        socklen_t senderLength = sizeof sender;
        const ssize_t got = ::recvfrom(m_socket, datagram.data(), datagram.size(), MSG_TRUNC,
                                       reinterpret_cast<sockaddr*>(&sender), &senderLength);
        if (got < 0) {
            const int code = errno;
            if (code == EAGAIN || code == EWOULDBLOCK || code == EINTR) {
                // Sleep on the socket for a few milliseconds at most; when nothing came in
                // that time, let the window process its pending events.
                pollfd in{m_socket, POLLIN, 0};
                const int wait = static_cast<int>(std::clamp<qint64>(timeout - elapsed + 1, 0, 5));
                if (::poll(&in, 1, wait) <= 0)
                    PumpEvents();
                continue;
            }
            // An ICMP "port unreachable" from an earlier datagram: no controller there.
            if (code == ECONNREFUSED)
                continue;
            return Fail(43015, code);
        }
        char text[INET_ADDRSTRLEN] = {};
        ::inet_ntop(AF_INET, &sender.sin_addr, text, sizeof text);
        m_lastSender = QString::fromLatin1(text);
        const int size = static_cast<int>(std::min<ssize_t>(got, kMaxDatagram));
        m_receiveCount = size;
        m_receive.assign(datagram.begin(), datagram.begin() + size);
        if (size != replyLength) {
            if (size < replyLength)
                m_receive.resize(static_cast<size_t>(replyLength), 0);
            return Fail(43014);
        }
        if (m_lastSender.size() > 6 &&
            m_lastSender.compare(m_settings->remoteIp, Qt::CaseInsensitive) != 0)
            m_settings->remoteIp = m_lastSender;
        ClearError();
        return true;
    }
}

void CUdpPort::Close()
{
    if (m_socket >= 0)
        ::close(m_socket);
    m_socket = -1;
}
