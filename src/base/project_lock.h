#pragma once

#include <QString>

#include <memory>

class QLockFile;

// The state of a file on the disk: a writer that read a file can tell whether someone
// replaced it since (a save renames a new file over the old one, so the inode changes too).
struct FileStamp
{
    qint64 size = -1; // -1: the file does not exist
    qint64 modifiedNs = 0;
    quint64 inode = 0;
    quint64 device = 0;

    static FileStamp Of(const QString& path);
    bool Exists() const { return size >= 0; }
    bool operator==(const FileStamp&) const = default;
};

// One writer of a project file at a time. The desktop program, lumivant-cli and
// lumivant-server hold this lock (a file beside the project, FILE.lock) from reading the
// project until the changed project is written. A lock left by a process that is gone is
// taken over; a lock held by a live process is waited for.
class CProjectLock
{
public:
    static constexpr int kDefaultWaitMs = 10000;

    CProjectLock();
    ~CProjectLock();
    CProjectLock(const CProjectLock&) = delete;
    CProjectLock& operator=(const CProjectLock&) = delete;

    // The lock file of a project (beside the file a symbolic link names).
    static QString LockPathFor(const QString& projectPath);

    // Takes the lock, waiting up to waitMs while another program holds it; false with the
    // system's text (who holds it) in Error(). A folder where no lock file can be made
    // (read-only, full) cannot take the project's save either: then the lock is not held,
    // Error() says why, and the result is true so that the save reports its own failure.
    [[nodiscard]] bool Acquire(const QString& projectPath, int waitMs = kDefaultWaitMs);
    void Release();
    bool IsHeld() const;
    const QString& Error() const { return m_error; }

private:
    std::unique_ptr<QLockFile> m_file;
    QString m_error;
};
