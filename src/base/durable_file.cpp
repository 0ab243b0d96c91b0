#include "base/durable_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString SystemReason(const QString& path, int error)
{
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path),
                                        QString::fromLocal8Bit(std::strerror(error)));
}

// Closes a descriptor once, keeping the first error seen.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() { Close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return m_fd; }
    bool Close()
    {
        if (m_fd < 0)
            return true;
        const int result = ::close(m_fd);
        m_fd = -1;
        // A close interrupted by a signal has still released the descriptor on Linux.
        return result == 0 || errno == EINTR;
    }

private:
    int m_fd;
};

bool WriteAll(int fd, const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0) {
            errno = ENOSPC;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

// Flushing a folder is not possible on every file system; only real I/O errors count.
bool SyncFolder(const QByteArray& folder)
{
    Descriptor fd(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() < 0)
        return true;
    if (::fsync(fd.Get()) != 0 && errno != EINVAL && errno != ENOTSUP)
        return false;
    return true;
}

QString ResolveTarget(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString target = info.symLinkTarget();
        if (!target.isEmpty())
            return target;
    }
    return info.absoluteFilePath();
}

} // namespace

bool WriteFileDurably(const QString& path, const QByteArray& bytes, QString* reason,
                      bool* notCreated)
{
    if (notCreated)
        *notCreated = true;
    const auto fail = [&](const QString& failedPath, int error) {
        if (reason)
            *reason = SystemReason(failedPath, error);
        return false;
    };
    if (path.isEmpty())
        return fail(path, ENOENT);
    const QString target = ResolveTarget(path);
    const QByteArray targetName = QFile::encodeName(target);
    const QByteArray folderName = QFile::encodeName(QFileInfo(target).absolutePath());

    mode_t mode = 0666;
    bool keepMode = false;
    struct stat existing
    {};
    if (::stat(targetName.constData(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode))
            return fail(path, EISDIR);
        mode = existing.st_mode & 07777;
        keepMode = true;
    }

    QByteArray temporaryName = targetName + ".XXXXXX";
    Descriptor fd(::mkostemp(temporaryName.data(), O_CLOEXEC));
    if (fd.Get() < 0)
        return fail(path, errno);
    if (notCreated)
        *notCreated = false;
    const auto failAndRemove = [&](int error) {
        fd.Close();
        ::unlink(temporaryName.constData());
        return fail(path, error);
    };
    // mkostemp creates the file 0600: give it the old file's mode, or the usual one.
    if (!keepMode) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    if (::fchmod(fd.Get(), mode) != 0)
        return failAndRemove(errno);
    if (!WriteAll(fd.Get(), bytes.constData(), bytes.size()))
        return failAndRemove(errno);
    if (::fsync(fd.Get()) != 0)
        return failAndRemove(errno);
    if (!fd.Close())
        return failAndRemove(errno);
    if (::rename(temporaryName.constData(), targetName.constData()) != 0)
        return failAndRemove(errno);
    if (!SyncFolder(folderName))
        return fail(path, errno);
    return true;
}

QString SaveFailureText(const QString& systemText, const QString& reason)
{
    return reason.isEmpty() ? systemText : systemText + u' ' + reason;
}
