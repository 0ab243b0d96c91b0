#include "document/project_file.h"

#include "base/last_error.h"
#include "document/lumivant_doc.h"
#include "model/project_root.h"

#include <QFileInfo>

CProjectFile::CProjectFile(CLumivantDoc& doc, QObject* parent) : QObject(parent), m_doc(doc)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &CProjectFile::OnDiskEvent);
    // A save renames a new file over the old one: the watch of the old one ends, and the
    // folder tells of the new one.
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this] { m_settle.start(); });
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { m_settle.start(); });
    connect(&m_doc, &CLumivantDoc::projectReplaced, this, &CProjectFile::Follow);
    connect(&m_doc, &CLumivantDoc::filePathChanged, this, &CProjectFile::Follow);
    Follow();
}

CProjectFile::~CProjectFile() = default;

void CProjectFile::Follow()
{
    // The project as read (or as just written under a new name) is the file as known.
    const QString path = m_doc.FilePath();
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_settle.stop();
    m_path = path;
    m_known = path.isEmpty() ? FileStamp() : FileStamp::Of(path);
    if (path.isEmpty())
        return;
    if (m_known.Exists())
        m_watcher.addPath(path);
    const QString folder = QFileInfo(path).absolutePath();
    if (QFileInfo(folder).isDir())
        m_watcher.addPath(folder);
}

CProjectFile::SaveResult CProjectFile::Save(const QString& path)
{
    m_error.clear();
    CProjectLock lock;
    if (!lock.Acquire(path, kLockWaitMs)) {
        m_error = lock.Error();
        return SaveResult::Held;
    }
    ClearLastError();
    if (!m_doc.Root().SaveProject(path)) {
        m_error = LastError();
        return SaveResult::Failed;
    }
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const bool samePath = absolute == m_path;
    m_doc.SetFilePath(absolute); // follows a new path
    m_doc.SetClean();
    // Written by this program: not a change of another one.
    m_known = FileStamp::Of(absolute);
    if (samePath && m_known.Exists() && !m_watcher.files().contains(absolute))
        m_watcher.addPath(absolute);
    return SaveResult::Saved;
}

bool CProjectFile::Exists() const
{
    return !m_path.isEmpty() && FileStamp::Of(m_path).Exists();
}

bool CProjectFile::ChangedOnDisk() const
{
    return !m_path.isEmpty() && FileStamp::Of(m_path) != m_known;
}

void CProjectFile::AcceptDiskState()
{
    m_known = m_path.isEmpty() ? FileStamp() : FileStamp::Of(m_path);
}

void CProjectFile::OnDiskEvent()
{
    if (m_path.isEmpty())
        return;
    // A new file under the name is watched again.
    const FileStamp now = FileStamp::Of(m_path);
    if (now.Exists() && !m_watcher.files().contains(m_path))
        m_watcher.addPath(m_path);
    if (now != m_known)
        emit changedOnDisk();
}
