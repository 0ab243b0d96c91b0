#include "base/project_lock.h"

#include "base/string_table.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

#include <sys/stat.h>

namespace {

constexpr int kTextHeldBy = 61800;
constexpr int kTextCannotLock = 61801;
// Between two attempts: short enough that a waiting writer follows the one before it
// promptly (QLockFile's own wait doubles its pauses up to seconds).
constexpr int kRetryMs = 20;

QString HeldText(const QString& projectPath, const QLockFile& file)
{
    qint64 pid = 0;
    QString host;
    QString application;
    if (!file.getLockInfo(&pid, &host, &application) || application.isEmpty())
        application = QStringLiteral("?");
    return LoadString(kTextHeldBy).arg(QDir::toNativeSeparators(projectPath), application).arg(pid);
}

} // namespace

FileStamp FileStamp::Of(const QString& path)
{
    FileStamp stamp;
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return stamp;
    stamp.size = info.st_size;
    stamp.modifiedNs = static_cast<qint64>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    stamp.inode = info.st_ino;
    stamp.device = info.st_dev;
    return stamp;
}

CProjectLock::CProjectLock() = default;

CProjectLock::~CProjectLock()
{
    Release();
}

QString CProjectLock::LockPathFor(const QString& projectPath)
{
    const QFileInfo info(projectPath);
    const QString canonical = info.canonicalFilePath();
    return (canonical.isEmpty() ? info.absoluteFilePath() : canonical) + QStringLiteral(".lock");
}

bool CProjectLock::Acquire(const QString& projectPath, int waitMs)
{
    Release();
    m_error.clear();
    const QString lockPath = LockPathFor(projectPath);
    auto file = std::make_unique<QLockFile>(lockPath);
    // Only a holder that is gone makes a lock stale, never its age: a slow card may keep a
    // writer busy for long.
    file->setStaleLockTime(0);
    QDeadlineTimer deadline(std::max(0, waitMs));
    for (;;) {
        if (file->tryLock(0)) {
            m_file = std::move(file);
            return true;
        }
        if (file->error() != QLockFile::LockFailedError) {
            m_error = LoadString(kTextCannotLock)
                          .arg(QDir::toNativeSeparators(lockPath),
                               file->error() == QLockFile::PermissionError
                                   ? QStringLiteral("Permission denied")
                                   : QStringLiteral("Input/output error"));
            return true;
        }
        if (deadline.hasExpired())
            break;
        QThread::msleep(static_cast<unsigned long>(
            std::min<qint64>(kRetryMs, std::max<qint64>(1, deadline.remainingTime()))));
    }
    m_error = HeldText(projectPath, *file);
    return false;
}

void CProjectLock::Release()
{
    if (m_file) {
        m_file->unlock();
        m_file.reset();
    }
}

bool CProjectLock::IsHeld() const
{
    return m_file && m_file->isLocked();
}
