#include "comm/serial_port.h"

#include "base/string_table.h"
#include "model/link_settings.h"
#include "platform/serial_devices.h"

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <grp.h>
#include <sys/stat.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int kWritePiece = 128;

bool BaudConstant(int baud, speed_t& speed)
{
    switch (baud) {
    case 1200:
        speed = B1200;
        return true;
    case 2400:
        speed = B2400;
        return true;
    case 4800:
        speed = B4800;
        return true;
    case 9600:
        speed = B9600;
        return true;
    case 19200:
        speed = B19200;
        return true;
    case 38400:
        speed = B38400;
        return true;
    case 57600:
        speed = B57600;
        return true;
    case 115200:
        speed = B115200;
        return true;
    default:
        return false;
    }
}

} // namespace

CSerialPort::~CSerialPort()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

namespace {

// What a person must do on Linux to use a serial device they may not open.
QString PermissionHint(const QString& device, int code)
{
    QString groupName = QStringLiteral("dialout");
    struct stat info
    {};
    if (::stat(device.toLocal8Bit().constData(), &info) == 0) {
        if (const struct group* owner = ::getgrgid(info.st_gid))
            groupName = QString::fromLocal8Bit(owner->gr_name);
    }
    QString text = LoadString(60001);
    for (const QString& value :
         {device, QString::fromLocal8Bit(std::strerror(code)), groupName, groupName}) {
        const qsizetype at = text.indexOf(QStringLiteral("%s"));
        if (at < 0)
            break;
        text.replace(at, 2, value);
    }
    return text;
}

} // namespace

bool CSerialPort::Open(LinkSettings* settings)
{
    if (!settings || settings->linkKind != 0) {
        FailWithText(QString());
        return false;
    }
    if (settings->comPort == 0)
        return Fail(43004);
    m_settings = settings;
    if (m_fd >= 0)
        return true;

    const QString device = SerialDevicePath(settings->comPort);
    QThread::msleep(50);
    const int fd =
        ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int code = errno;
        if (code == ENOENT || code == ENODEV || code == ENXIO)
            return Fail(43005, code);
        if (code == EACCES || code == EPERM) {
            FailWithText(LoadString(43006).trimmed() + u' ' + PermissionHint(device, code), code);
            return false;
        }
        if (code == EBUSY)
            return Fail(43006, code);
        return Fail(43007, code);
    }
    // Exclusive use, as the controller expects one master on the line.
    if (::ioctl(fd, TIOCEXCL) != 0 && errno != ENOTTY && errno != EINVAL) {
        const int code = errno;
        ::close(fd);
        return Fail(43006, code);
    }
    speed_t speed{};
    if (!BaudConstant(settings->baudRate, speed)) {
        ::close(fd);
        return Fail(43024);
    }
    termios options{};
    if (::tcgetattr(fd, &options) != 0) {
        const int code = errno;
        ::close(fd);
        return Fail(43013, code);
    }
    ::cfmakeraw(&options);
    options.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    options.c_cflag |= CS8 | CLOCAL | CREAD;
    options.c_cc[VMIN] = 0;
    options.c_cc[VTIME] = 0;
    ::cfsetispeed(&options, speed);
    ::cfsetospeed(&options, speed);
    if (::tcsetattr(fd, TCSANOW, &options) != 0) {
        const int code = errno;
        ::close(fd);
        return Fail(43013, code);
    }
    ::tcflush(fd, TCIOFLUSH);
    m_fd = fd;
    m_lineUnsettled = false;
    ClearError();
    QThread::msleep(50);
    return true;
}

bool CSerialPort::Transfer(const std::uint8_t* frame, int length, int replyLength,
                           const TransferRules& rules)
{
    if (m_fd < 0 || !m_settings)
        return Fail(43011);
    m_transmitCount = 0;
    m_receiveCount = 0;
    m_sends = 0;
    m_transmit.assign(frame, frame + std::max(length, 0));
    if (m_lineUnsettled && !WaitForQuietLine())
        return false;
    // Whatever is on the line before this request is not its reply.
    DropPendingInput();
    if (!Write(frame, length)) {
        m_lineUnsettled = true;
        return false;
    }
    m_sends = 1;
    if (replyLength != 0 && m_settings->timeoutMs != 0) {
        QThread::msleep(5);
        const bool read = Read(replyLength, rules.resend ? frame : nullptr, length);
        m_lineUnsettled = !read || m_sends > 1;
        return read;
    }
    QThread::msleep(50);
    return Fail(43012);
}

bool CSerialPort::Write(const std::uint8_t* frame, int length)
{
    QElapsedTimer timer;
    timer.start();
    const int timeout = m_settings->timeoutMs;
    int written = 0;
    while (written < length) {
        if (timer.elapsed() > timeout / 2)
            return Fail(43014);
        const int piece = std::min(kWritePiece, length - written);
        const ssize_t count = ::write(m_fd, frame + written, static_cast<size_t>(piece));
        if (count < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            return Fail(43011, errno);
        if (count <= 0) {
            pollfd out{m_fd, POLLOUT, 0};
            ::poll(&out, 1, 2);
            continue;
        }
        written += static_cast<int>(count);
        m_transmitCount = written;
        QThread::msleep(1);
    }
    return true;
}

void CSerialPort::DropPendingInput()
{
    ::tcflush(m_fd, TCIFLUSH);
    std::uint8_t bytes[256];
    for (int i = 0; i < 64 && ::read(m_fd, bytes, sizeof bytes) > 0; ++i) {
    }
}

bool CSerialPort::WaitForQuietLine()
{
    // A reply later than its time-out may still come: the line must stay quiet as long
    // as the card is given to answer, for at most twice that in all.
    const qint64 timeout = m_settings->timeoutMs;
    const qint64 quiet = timeout;
    QElapsedTimer sinceStart;
    sinceStart.start();
    qint64 lastByte = 0;
    std::uint8_t bytes[256];
    for (;;) {
        if (CommCancelled())
            return Fail(41052);
        const qint64 now = sinceStart.elapsed();
        if (now - lastByte >= quiet || now >= 2 * timeout)
            break;
        pollfd in{m_fd, POLLIN, 0};
        ::poll(&in, 1, static_cast<int>(std::min<qint64>(10, quiet - (now - lastByte))));
        if (::read(m_fd, bytes, sizeof bytes) > 0)
            lastByte = sinceStart.elapsed();
    }
    m_lineUnsettled = false;
    return true;
}

bool CSerialPort::Read(int replyLength, const std::uint8_t* resendFrame, int resendLength)
{
    m_receiveCount = 0;
    m_receive.assign(static_cast<size_t>(replyLength), 0);
    const qint64 timeout = m_settings->timeoutMs;
    QElapsedTimer sinceStart;
    sinceStart.start();
    qint64 lastProgress = 0;
    for (;;) {
        if (CommCancelled())
            return Fail(41052);
        const qint64 now = sinceStart.elapsed();
        if (now - lastProgress > timeout || now > 10 * timeout)
            return Fail(43014);
        // Nothing at all for half the time-out: the request may have been lost on the line.
        if (resendFrame && m_sends < 2 && m_receiveCount == 0 && now >= timeout / 2) {
            if (!Write(resendFrame, resendLength))
                return false;
            ++m_sends;
        }
        // Wait for bytes on the line for a short while rather than spinning.
        pollfd in{m_fd, POLLIN, 0};
        const qint64 wait = std::min<qint64>(10, timeout - (now - lastProgress) + 1);
        ::poll(&in, 1, static_cast<int>(std::max<qint64>(wait, 0)));
        const ssize_t got = ::read(m_fd, m_receive.data() + m_receiveCount,
                                   static_cast<size_t>(replyLength - m_receiveCount));
        if (got < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
                continue;
            // A pseudo-terminal whose other end is gone reports an I/O error: no answer.
            if (errno == EIO) {
                QThread::msleep(2);
                continue;
            }
            return Fail(43015, errno);
        }
        if (got == 0)
            continue;
        lastProgress = sinceStart.elapsed();
        m_receiveCount += static_cast<int>(got);
        if (m_receiveCount >= replyLength) {
            ClearError();
            return true;
        }
    }
}

void CSerialPort::Close()
{
    if (m_fd < 0)
        return;
    QThread::msleep(50);
    if (::close(m_fd) != 0 && errno != EBADF) {
        QThread::msleep(300);
    }
    m_fd = -1;
    QThread::msleep(50);
}
