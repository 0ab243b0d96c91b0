#include "comm/udp_port.h"

#include "base/string_table.h"
#include "comm/comm_packet.h"
#include "model/link_settings.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kMaxDatagram = 65536;
// A request goes out at most this many times within the time-out.
constexpr int kMaxSends = 4;
// The shortest wait before a request goes out again (ms): a card on the local network
// answers in well under a millisecond, so lost datagrams cost little time.
constexpr double kMinResendMs = 2.0;
// How long a reply that does not settle a repeated request waits for a better one, in
// resend intervals, and at least (ms).
constexpr double kSettleIntervals = 4.0;
constexpr double kMinSettleMs = 20.0;

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

// A datagram socket on any local address and a port of its own; -1 with errno's code.
int NewSocket(int& code)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        code = errno;
        return -1;
    }
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        code = errno;
        ::close(fd);
        return -1;
    }
    // Allowed for every socket: the search may be set up with a subnet's broadcast
    // address, not only 255.255.255.255.
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    return fd;
}

// Drops every datagram (and any error an earlier datagram left) waiting in the socket.
void Drain(int fd)
{
    std::uint8_t stale[1];
    for (int i = 0; i < 4096; ++i) {
        if (::recv(fd, stale, sizeof stale, MSG_DONTWAIT | MSG_TRUNC) >= 0)
            continue;
        if (errno == ECONNREFUSED || errno == EINTR)
            continue;
        break;
    }
}

} // namespace

CUdpPort::~CUdpPort()
{
    Close();
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
    if (m_open)
        return true;
    for (int& fd : m_sockets) {
        int code = 0;
        fd = NewSocket(code);
        if (fd < 0) {
            Close();
            return Fail(43031, code);
        }
    }
    m_open = true;
    m_current = 0;
    m_smoothedRtt = -1;
    m_rttVariation = 0;
    m_resendInterval = -1;
    ClearError();
    return true;
}

double CUdpPort::ResendInterval() const
{
    const double timeout = m_settings ? m_settings->timeoutMs : 1000.0;
    // Before the first answer nothing is known of the card: a quarter of the time-out.
    const double interval = m_resendInterval > 0 ? m_resendInterval : timeout / 4;
    return std::clamp(interval, kMinResendMs, std::max(kMinResendMs, timeout / 2));
}

void CUdpPort::TakeRoundTrip(double milliseconds)
{
    if (m_smoothedRtt < 0) {
        m_smoothedRtt = milliseconds;
        m_rttVariation = milliseconds / 2;
    } else {
        m_rttVariation = 0.75 * m_rttVariation + 0.25 * std::abs(m_smoothedRtt - milliseconds);
        m_smoothedRtt = 0.875 * m_smoothedRtt + 0.125 * milliseconds;
    }
    m_resendInterval = m_smoothedRtt + 4 * m_rttVariation;
}

bool CUdpPort::ResolveRemote(sockaddr_in& remote)
{
    remote.sin_family = AF_INET;
    remote.sin_port = htons(m_settings->remotePort);
    if (m_resolvedText != m_settings->remoteIp || m_resolvedText.isEmpty()) {
        if (!ResolveIpv4(m_settings->remoteIp, m_resolved)) {
            m_resolvedText.clear();
            return false;
        }
        m_resolvedText = m_settings->remoteIp;
    }
    remote.sin_addr = m_resolved;
    return true;
}

int CUdpPort::TakeSocket()
{
    m_current = (m_current + 1) % kSockets;
    Drain(m_sockets[m_current]);
    return m_sockets[m_current];
}

void CUdpPort::ReplaceSocket()
{
    int code = 0;
    const int fd = NewSocket(code);
    // Without a fresh one the old socket stays; it is emptied before its next request.
    if (fd < 0)
        return;
    ::close(m_sockets[m_current]);
    m_sockets[m_current] = fd;
}

bool CUdpPort::Transfer(const std::uint8_t* frame, int length, int replyLength,
                        const TransferRules& rules)
{
    m_receiveCount = 0;
    m_sends = 0;
    if (!m_open || !m_settings)
        return Fail(43011);
    m_transmit.assign(frame, frame + std::max(length, 0));
    sockaddr_in remote{};
    if (!ResolveRemote(remote)) {
        // The system's text alone would leave the person guessing which part failed.
        FailWithText(
            LoadString(43011) +
                QStringLiteral(" The host name %1 is not known.").arg(m_settings->remoteIp),
            EINVAL);
        return false;
    }
    const bool anySender = rules.learnAddress || remote.sin_addr.s_addr == htonl(INADDR_BROADCAST);
    const int fd = TakeSocket();
    auto send = [&] {
        return ::sendto(fd, frame, static_cast<size_t>(length), 0,
                        reinterpret_cast<const sockaddr*>(&remote), sizeof remote) == length;
    };
    if (!send())
        return Fail(43011, errno);
    m_sends = 1;
    m_transmitCount = length;

    QElapsedTimer timer;
    timer.start();
    m_receive.assign(static_cast<size_t>(replyLength), 0);
    std::vector<std::uint8_t>& datagram = m_datagram;
    datagram.resize(kMaxDatagram);
    const double timeout = m_settings->timeoutMs;
    double interval = ResendInterval();
    if (rules.slowToAnswer)
        interval = std::max(interval, timeout / 4);
    double nextSend = rules.resend ? interval : timeout + 1;
    // A reply that does not settle a repeated request, and until when a better one may come.
    std::vector<std::uint8_t> kept;
    double keptUntil = -1;
    // A spoilt reply to a request that may go out again: as good as lost, unless nothing
    // better comes.
    std::vector<std::uint8_t> spoilt;
    for (;;) {
        if (CommCancelled()) {
            ReplaceSocket();
            return Fail(41052);
        }
        const double elapsed = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        if (elapsed > timeout || (keptUntil >= 0 && elapsed > keptUntil)) {
            ReplaceSocket();
            if (keptUntil < 0 && !spoilt.empty())
                kept = spoilt;
            else if (keptUntil < 0)
                return Fail(43014);
            m_receive = kept;
            m_receiveCount = static_cast<int>(kept.size());
            ClearError();
            return true;
        }
        if (keptUntil < 0 && m_sends < kMaxSends && elapsed >= nextSend) {
            // Nothing came back: the request or its reply was lost, or the card is slow.
            if (send())
                ++m_sends;
            interval = std::min(interval * 2, std::max(kMinResendMs, timeout / 2));
            // Later requests start from the longer wait until one is answered at once.
            if (!rules.slowToAnswer)
                m_resendInterval = interval;
            nextSend = elapsed + interval;
        }
        sockaddr_in sender{};
        socklen_t senderLength = sizeof sender;
        const ssize_t got = ::recvfrom(fd, datagram.data(), datagram.size(), MSG_TRUNC,
                                       reinterpret_cast<sockaddr*>(&sender), &senderLength);
        if (got < 0) {
            const int code = errno;
            if (code == EAGAIN || code == EWOULDBLOCK || code == EINTR) {
                // Sleep on the socket for a few milliseconds at most; when nothing came in
                // that time, let the window process its pending events.
                double until = keptUntil >= 0 ? keptUntil : timeout;
                if (keptUntil < 0 && m_sends < kMaxSends)
                    until = std::min(until, nextSend);
                pollfd in{fd, POLLIN, 0};
                const int wait = static_cast<int>(std::clamp(std::ceil(until - elapsed), 0.0, 5.0));
                if (::poll(&in, 1, wait) <= 0)
                    PumpEvents();
                continue;
            }
            // An ICMP "port unreachable" from an earlier datagram: no controller there.
            if (code == ECONNREFUSED)
                continue;
            ReplaceSocket();
            return Fail(43015, code);
        }
        // Only the card answers: another port, or another address (unless any may
        // answer), is someone else.
        if (sender.sin_family != AF_INET || sender.sin_port != remote.sin_port ||
            (!anySender && sender.sin_addr.s_addr != remote.sin_addr.s_addr))
            continue;
        char text[INET_ADDRSTRLEN] = {};
        ::inet_ntop(AF_INET, &sender.sin_addr, text, sizeof text);
        m_lastSender = QString::fromLatin1(text);
        const int size = static_cast<int>(std::min<ssize_t>(got, kMaxDatagram));
        if (size != replyLength) {
            m_receiveCount = size;
            m_receive.assign(datagram.begin(), datagram.begin() + size);
            if (size < replyLength)
                m_receive.resize(static_cast<size_t>(replyLength), 0);
            ReplaceSocket();
            return Fail(43014);
        }
        if (rules.resend) {
            const ReplyCheck check = CheckReply(datagram.data(), size);
            if (check == ReplyCheck::BadFrame || check == ReplyCheck::BadChecksum) {
                spoilt.assign(datagram.begin(), datagram.begin() + size);
                continue;
            }
        }
        if (m_sends > 1 && rules.settles && !rules.settles(datagram.data(), size)) {
            if (keptUntil < 0) {
                kept.assign(datagram.begin(), datagram.begin() + size);
                keptUntil = std::min(timeout,
                                     elapsed + std::max(kSettleIntervals * interval, kMinSettleMs));
            }
            continue;
        }
        m_receiveCount = size;
        m_receive.assign(datagram.begin(), datagram.begin() + size);
        if (m_sends > 1)
            ReplaceSocket();
        else if (!rules.slowToAnswer)
            TakeRoundTrip(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        if (anySender && m_lastSender.size() > 6 &&
            m_lastSender.compare(m_settings->remoteIp, Qt::CaseInsensitive) != 0)
            m_settings->remoteIp = m_lastSender;
        ClearError();
        return true;
    }
}

void CUdpPort::Close()
{
    for (int& fd : m_sockets) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
    m_open = false;
}
