#include "base/bounded_file.h"

#include "base/string_table.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kTextMissing = 61000;
constexpr int kTextFolder = 61001;
constexpr int kTextNotFileOrPipe = 61002;
constexpr int kTextLarger = 61003;
constexpr int kTextPipeSilent = 61004;
constexpr int kTextReadError = 61005;
constexpr int kTextNotRegular = 61006;
constexpr int kTextPipeLarger = 61007;
constexpr int kTextMegabytes = 61010;
constexpr int kTextKilobytes = 61011;
constexpr int kTextBytes = 61012;
constexpr int kTextCannotRead = 61020;

constexpr qint64 kChunk = 64 * 1024;

QString Fill(int id, const QStringList& values)
{
    QString text = LoadString(id);
    qsizetype from = 0;
    for (const QString& value : values) {
        qsizetype at = text.indexOf(QLatin1String("%s"), from);
        if (at < 0)
            at = text.indexOf(QLatin1String("%d"), from);
        if (at < 0)
            break;
        text.replace(at, 2, value);
        from = at + value.size();
    }
    return text;
}

QString ErrnoText(int code)
{
    return Fill(kTextReadError, {QString::fromLocal8Bit(std::strerror(code))});
}

void SetReason(QString* reason, const QString& text)
{
    if (reason)
        *reason = text;
}

// Closes the descriptor on every way out.
class CDescriptor
{
public:
    explicit CDescriptor(int fd) : m_fd(fd) {}
    ~CDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CDescriptor(const CDescriptor&) = delete;
    CDescriptor& operator=(const CDescriptor&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

enum class WaitResult { Ready, Silent, Failed };

// Waits until the descriptor has data or its writers are gone.
WaitResult WaitReadable(int fd, int waitMs, int* code)
{
    pollfd entry{fd, POLLIN, 0};
    for (;;) {
        const int ready = ::poll(&entry, 1, waitMs);
        if (ready > 0)
            return WaitResult::Ready;
        if (ready == 0)
            return WaitResult::Silent;
        if (errno != EINTR) {
            *code = errno;
            return WaitResult::Failed;
        }
    }
}

} // namespace

QString FileSizeText(qint64 bytes)
{
    constexpr qint64 kKilobyte = 1024;
    constexpr qint64 kMegabyte = 1024 * 1024;
    if (bytes > 0 && bytes % kMegabyte == 0)
        return Fill(kTextMegabytes, {QString::number(bytes / kMegabyte)});
    if (bytes > 0 && bytes % kKilobyte == 0)
        return Fill(kTextKilobytes, {QString::number(bytes / kKilobyte)});
    return Fill(kTextBytes, {QString::number(bytes)});
}

QString CannotReadText(const QString& path, const QString& reason)
{
    return Fill(kTextCannotRead, {path, reason});
}

bool IsSafeNamedFile(const QString& path, QString* reason, qint64 maxBytes)
{
    struct stat status
    {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0) {
        SetReason(reason, LoadString(kTextMissing));
        return false;
    }
    if (S_ISDIR(status.st_mode)) {
        SetReason(reason, LoadString(kTextFolder));
        return false;
    }
    if (!S_ISREG(status.st_mode)) {
        SetReason(reason, LoadString(kTextNotRegular));
        return false;
    }
    if (status.st_size > maxBytes) {
        SetReason(reason, Fill(kTextLarger, {FileSizeText(maxBytes)}));
        return false;
    }
    return true;
}

bool ReadFileBounded(const QString& path, qint64 maxBytes, QByteArray* bytes, QString* reason,
                     int pipeWaitMs)
{
    bytes->clear();
    maxBytes = std::max<qint64>(maxBytes, 0);
    pipeWaitMs = std::max(pipeWaitMs, 0);
    const QByteArray name = QFile::encodeName(path);
    struct stat status
    {};
    if (path.isEmpty() || ::stat(name.constData(), &status) != 0) {
        const int code = path.isEmpty() ? ENOENT : errno;
        SetReason(reason,
                  code == ENOENT || code == ENOTDIR ? LoadString(kTextMissing) : ErrnoText(code));
        return false;
    }
    if (S_ISDIR(status.st_mode)) {
        SetReason(reason, LoadString(kTextFolder));
        return false;
    }
    if (!S_ISREG(status.st_mode) && !S_ISFIFO(status.st_mode)) {
        SetReason(reason, LoadString(kTextNotFileOrPipe));
        return false;
    }
    if (S_ISREG(status.st_mode) && status.st_size > maxBytes) {
        SetReason(reason, Fill(kTextLarger, {FileSizeText(maxBytes)}));
        return false;
    }

    // Without O_NONBLOCK, opening a FIFO waits for a writer for ever.
    const CDescriptor file(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.Get() < 0) {
        SetReason(reason, ErrnoText(errno));
        return false;
    }
    // The path may have been replaced between the two looks: judge what was opened.
    if (::fstat(file.Get(), &status) != 0) {
        SetReason(reason, ErrnoText(errno));
        return false;
    }
    const bool pipe = S_ISFIFO(status.st_mode);
    if (!pipe && !S_ISREG(status.st_mode)) {
        SetReason(reason, LoadString(S_ISDIR(status.st_mode) ? kTextFolder : kTextNotFileOrPipe));
        return false;
    }
    if (!pipe && status.st_size > maxBytes) {
        SetReason(reason, Fill(kTextLarger, {FileSizeText(maxBytes)}));
        return false;
    }

    QByteArray data;
    if (!pipe)
        data.reserve(static_cast<qsizetype>(status.st_size));
    const auto fail = [&](const QString& text) {
        SetReason(reason, text);
        return false;
    };
    // One byte past the limit tells a file of exactly `maxBytes` from a longer one.
    const qint64 limit = maxBytes + 1;
    for (;;) {
        // A FIFO reads as ended until its first writer comes: wait for data or for the
        // writers to go before trusting a read of nothing.
        if (pipe) {
            int code = 0;
            switch (WaitReadable(file.Get(), pipeWaitMs, &code)) {
            case WaitResult::Ready:
                break;
            case WaitResult::Silent:
                return fail(Fill(kTextPipeSilent, {QString::number((pipeWaitMs + 999) / 1000)}));
            case WaitResult::Failed:
                return fail(ErrnoText(code));
            }
        }
        const qint64 room = std::min(kChunk, limit - data.size());
        const qsizetype at = data.size();
        data.resize(at + static_cast<qsizetype>(room));
        const ssize_t got = ::read(file.Get(), data.data() + at, static_cast<size_t>(room));
        data.resize(at + std::max<qsizetype>(got, 0));
        if (got > 0) {
            if (data.size() > maxBytes)
                return fail(Fill(pipe ? kTextPipeLarger : kTextLarger, {FileSizeText(maxBytes)}));
            continue;
        }
        if (got == 0)
            break;
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN && !pipe) {
            // A special file that says "not yet" (some of /proc): wait as for a pipe.
            int code = 0;
            if (WaitReadable(file.Get(), pipeWaitMs, &code) == WaitResult::Ready)
                continue;
            return fail(code != 0
                            ? ErrnoText(code)
                            : Fill(kTextPipeSilent, {QString::number((pipeWaitMs + 999) / 1000)}));
        }
        if (errno == EAGAIN)
            continue;
        return fail(ErrnoText(errno));
    }
    *bytes = std::move(data);
    return true;
}
