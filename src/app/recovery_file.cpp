#include "app/recovery_file.h"

#include "app/lumivant_doc.h"
#include "base/bounded_file.h"
#include "model/project_root.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {

bool WriteAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(bytes);
    return file.commit();
}

QString PathFile()
{
    return CRecoveryKeeper::Folder() + QStringLiteral("/recovery.path");
}

} // namespace

CRecoveryKeeper::CRecoveryKeeper(CLumivantDoc& doc, QObject* parent) : QObject(parent), m_doc(doc)
{
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { WriteNow(); });
    m_timer.start();
    auto changed = [this] { m_changed = true; };
    connect(&m_doc.UndoStack(), &QUndoStack::indexChanged, this, changed);
    connect(&m_doc, &CLumivantDoc::projectReplaced, this, changed);
    connect(&m_doc, &CLumivantDoc::modifiedChanged, this, [this](bool modified) {
        m_changed = true;
        if (!modified)
            Remove();
    });
}

QString CRecoveryKeeper::Folder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty())
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/lumivant");
}

QString CRecoveryKeeper::ProjectPath()
{
    return Folder() + QStringLiteral("/recovery.ledprj");
}

bool CRecoveryKeeper::Exists()
{
    return QFile::exists(ProjectPath());
}

QString CRecoveryKeeper::OriginalPath()
{
    // A path, written by the program itself; anything else there is not read.
    constexpr qint64 kMaxPathBytes = 64 * 1024;
    QByteArray bytes;
    QString reason;
    if (!IsSafeNamedFile(PathFile(), nullptr, kMaxPathBytes) ||
        !ReadFileBounded(PathFile(), kMaxPathBytes, &bytes, &reason))
        return {};
    return QString::fromUtf8(bytes);
}

void CRecoveryKeeper::Remove()
{
    QFile::remove(ProjectPath());
    QFile::remove(PathFile());
}

bool CRecoveryKeeper::WriteNow()
{
    if (!m_changed || !m_doc.IsModified())
        return true;
    if (!QDir().mkpath(Folder()))
        return false;
    const bool written = WriteAtomically(PathFile(), m_doc.FilePath().toUtf8()) &&
                         WriteAtomically(ProjectPath(), m_doc.Root().SaveProjectBuffer());
    if (written)
        m_changed = false;
    return written;
}
