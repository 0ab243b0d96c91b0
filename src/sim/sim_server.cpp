#include "sim/sim_server.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace {

bool ParseIpv4(const QString& text, in_addr& address)
{
    return ::inet_pton(AF_INET, text.toLatin1().constData(), &address) == 1;
}

QString ErrnoText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

qint64 NowMs()
{
    return QDateTime::currentMSecsSinceEpoch();
}

// A serial frame whose bytes stop arriving for this long is abandoned.
constexpr qint64 kSerialGapMs = 200;

} // namespace

CSimServer::CSimServer(CSimController& controller) : m_controller(controller)
{
    m_clock.start();
}

CSimServer::~CSimServer()
{
    for (int fd : {m_udp, m_replySocket, m_serial}) {
        if (fd >= 0)
            ::close(fd);
    }
}

bool CSimServer::ListenUdp(const QString& address, int port, const QString& replyFrom,
                           QString& error)
{
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<std::uint16_t>(port));
    if (!ParseIpv4(address, local.sin_addr)) {
        error = QStringLiteral("not an IPv4 address: %1").arg(address);
        return false;
    }
    m_udp = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_udp < 0 || ::bind(m_udp, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        error = QStringLiteral("cannot listen on %1:%2: %3")
                    .arg(address)
                    .arg(port)
                    .arg(ErrnoText(errno));
        return false;
    }
    socklen_t length = sizeof local;
    ::getsockname(m_udp, reinterpret_cast<sockaddr*>(&local), &length);
    m_udpPort = ntohs(local.sin_port);
    if (!replyFrom.isEmpty()) {
        // The controller's own address: replies come from it, and requests sent to it
        // (after the PC learned it) are served too.
        sockaddr_in from{};
        from.sin_family = AF_INET;
        from.sin_port = htons(static_cast<std::uint16_t>(m_udpPort));
        if (!ParseIpv4(replyFrom, from.sin_addr)) {
            error = QStringLiteral("not an IPv4 address: %1").arg(replyFrom);
            return false;
        }
        m_replySocket = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (m_replySocket < 0 ||
            ::bind(m_replySocket, reinterpret_cast<sockaddr*>(&from), sizeof from) != 0) {
            error = QStringLiteral("cannot reply from %1: %2").arg(replyFrom, ErrnoText(errno));
            return false;
        }
    }
    return true;
}

bool CSimServer::OpenSerial(const QString& device, int baud, QString& error)
{
    m_serialDevice = device;
    m_serial = ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_serial < 0) {
        error = QStringLiteral("cannot open %1: %2").arg(device, ErrnoText(errno));
        return false;
    }
    termios options{};
    if (::tcgetattr(m_serial, &options) == 0) {
        ::cfmakeraw(&options);
        options.c_cflag |= CLOCAL | CREAD;
        const speed_t speed = baud == 9600 ? B9600 : B57600;
        ::cfsetispeed(&options, speed);
        ::cfsetospeed(&options, speed);
        ::tcsetattr(m_serial, TCSANOW, &options);
    }
    return true;
}

void CSimServer::Log(const QString& line)
{
    if (m_logger)
        m_logger(line);
}

void CSimServer::Run(const std::atomic<bool>& stop)
{
    while (!stop && !m_stop) {
        pollfd fds[3];
        int count = 0;
        int udpIndex = -1;
        int replyIndex = -1;
        int serialIndex = -1;
        if (m_udp >= 0) {
            udpIndex = count;
            fds[count++] = {m_udp, POLLIN, 0};
        }
        if (m_replySocket >= 0) {
            replyIndex = count;
            fds[count++] = {m_replySocket, POLLIN, 0};
        }
        if (m_serial >= 0) {
            serialIndex = count;
            fds[count++] = {m_serial, POLLIN, 0};
        }
        const int ready = ::poll(fds, static_cast<nfds_t>(count), PollWait());
        if (ready < 0 && errno != EINTR)
            break;
        SendDueReplies();
        if (ready <= 0)
            continue;
        if (udpIndex >= 0 && (fds[udpIndex].revents & POLLIN))
            ServeUdp(m_udp);
        if (replyIndex >= 0 && (fds[replyIndex].revents & POLLIN))
            ServeUdp(m_replySocket);
        if (serialIndex >= 0 && fds[serialIndex].revents) {
            // A line whose other end hung up keeps reporting it, with or without POLLIN,
            // while reads give nothing: without a pause that is a busy loop.
            const short events = fds[serialIndex].revents;
            const SerialRead read =
                (events & (POLLIN | POLLHUP | POLLERR)) ? ServeSerial() : SerialRead::HungUp;
            if (read == SerialRead::Data) {
                if (m_serialHungUp)
                    Log(QStringLiteral("serial %1: the other end is back").arg(m_serialDevice));
                m_serialHungUp = false;
            } else if ((read == SerialRead::HungUp || (events & (POLLHUP | POLLNVAL))) &&
                       !WaitForSerialPeer(stop)) {
                break;
            }
        }
    }
}

void CSimServer::ServeUdp(int socket)
{
    std::vector<std::uint8_t>& datagram = m_datagram;
    datagram.resize(65536);
    sockaddr_in sender{};
    socklen_t senderLength = sizeof sender;
    const ssize_t got = ::recvfrom(socket, datagram.data(), datagram.size(), MSG_TRUNC,
                                   reinterpret_cast<sockaddr*>(&sender), &senderLength);
    if (got < 0)
        return;
    std::vector<std::uint8_t> reply;
    QString line;
    const bool whole = got <= static_cast<ssize_t>(datagram.size());
    const bool answer =
        whole && m_controller.Handle(datagram.data(), static_cast<int>(got), reply, line);
    if (m_logger) {
        char text[INET_ADDRSTRLEN] = {};
        ::inet_ntop(AF_INET, &sender.sin_addr, text, sizeof text);
        if (!whole)
            line = QStringLiteral("ignored %1 bytes: oversized datagram").arg(got);
        Log(QStringLiteral("udp %1:%2 %3")
                .arg(QLatin1String(text))
                .arg(ntohs(sender.sin_port))
                .arg(line));
    }
    if (!answer)
        return;
    Reply(m_replySocket >= 0 ? m_replySocket : m_udp, &sender, std::move(reply));
}

void CSimServer::Reply(int socket, const sockaddr_in* to, std::vector<std::uint8_t> bytes)
{
    PendingReply pending;
    pending.due = m_clock.elapsed() + m_controller.Faults().delayMs;
    pending.socket = socket;
    if (to)
        pending.to = *to;
    pending.bytes = std::move(bytes);
    m_pending.push_back(std::move(pending));
    SendDueReplies();
}

void CSimServer::SendDueReplies()
{
    // The delay is the same for every reply, so they fall due in order.
    while (!m_pending.empty() && m_pending.front().due <= m_clock.elapsed()) {
        const PendingReply pending = std::move(m_pending.front());
        m_pending.pop_front();
        if (pending.socket < 0)
            WriteSerial(pending.bytes);
        else
            ::sendto(pending.socket, pending.bytes.data(), pending.bytes.size(), 0,
                     reinterpret_cast<const sockaddr*>(&pending.to), sizeof pending.to);
    }
}

int CSimServer::PollWait() const
{
    if (m_pending.empty())
        return 100;
    return static_cast<int>(std::clamp<qint64>(m_pending.front().due - m_clock.elapsed(), 0, 100));
}

bool CSimServer::WaitForSerialPeer(const std::atomic<bool>& stop)
{
    if (!m_serialHungUp)
        Log(QStringLiteral("serial %1: the other end hung up; waiting for it").arg(m_serialDevice));
    m_serialHungUp = true;
    for (int slice = 0; slice < 10 && !stop && !m_stop; ++slice)
        QThread::msleep(20);
    if (QFileInfo::exists(m_serialDevice))
        return true;
    Log(QStringLiteral("serial %1: the device has gone; stopping").arg(m_serialDevice));
    return false;
}

CSimServer::SerialRead CSimServer::ServeSerial()
{
    std::uint8_t bytes[512];
    const ssize_t got = ::read(m_serial, bytes, sizeof bytes);
    if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR))
        return SerialRead::HungUp;
    if (got < 0)
        return SerialRead::Nothing;
    const qint64 now = NowMs();
    if (m_stream.Pending() > 0 && now - m_lastSerialByte > kSerialGapMs) {
        Log(QStringLiteral("serial dropped %1 bytes of an unfinished frame")
                .arg(m_stream.Pending()));
        m_stream.Reset();
    }
    m_lastSerialByte = now;
    std::vector<std::vector<std::uint8_t>> replies;
    QStringList lines;
    m_stream.Feed(bytes, static_cast<int>(got), m_controller, replies, lines);
    for (const QString& line : lines)
        Log(QStringLiteral("serial %1").arg(line));
    for (auto& reply : replies)
        Reply(-1, nullptr, std::move(reply));
    return SerialRead::Data;
}

void CSimServer::WriteSerial(const std::vector<std::uint8_t>& bytes)
{
    if (m_serial < 0)
        return;
    size_t sent = 0;
    QElapsedTimer timer;
    timer.start();
    while (sent < bytes.size() && timer.elapsed() < 2000) {
        const ssize_t n = ::write(m_serial, bytes.data() + sent, bytes.size() - sent);
        if (n > 0)
            sent += static_cast<size_t>(n);
        else
            QThread::msleep(1);
    }
}
