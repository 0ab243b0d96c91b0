#include "document/recovery_keeper.h"

#include "base/app_paths.h"
#include "base/bounded_file.h"
#include "document/lumivant_doc.h"
#include "model/project_root.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace {

// A copy written by a program before copies had their own names.
const char kSharedName[] = "recovery";

bool WriteAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(bytes);
    return file.commit();
}

// A path written by the program itself; anything else found there is not read.
QString ReadText(const QString& path)
{
    constexpr qint64 kMaxTextBytes = 64 * 1024;
    QByteArray bytes;
    if (!IsSafeNamedFile(path, nullptr, kMaxTextBytes) ||
        !ReadFileBounded(path, kMaxTextBytes, &bytes, nullptr))
        return {};
    return QString::fromUtf8(bytes).trimmed();
}

// The names of a copy's files, from the copy's base path (without a suffix).
QString ProjectFile(const QString& base)
{
    return base + QStringLiteral(".ledprj");
}
QString OriginFile(const QString& base)
{
    return base + QStringLiteral(".path");
}
QString LockFile(const QString& base)
{
    return base + QStringLiteral(".lock");
}

} // namespace

CRecoveryKeeper::CRecoveryKeeper(CLumivantDoc& doc, QObject* parent) : QObject(parent), m_doc(doc)
{
    static int kept = 0;
    QDir().mkpath(Folder());
    const QString base = Folder() + QStringLiteral("/%1-%2-%3")
                                        .arg(QCoreApplication::applicationPid())
                                        .arg(QDateTime::currentMSecsSinceEpoch())
                                        .arg(++kept);
    m_projectPath = ProjectFile(base);
    m_originPath = OriginFile(base);
    m_lock = std::make_unique<QLockFile>(LockFile(base));
    m_lock->setStaleLockTime(0);
    (void)m_lock->tryLock(0);

    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] { WriteNow(); });
    connect(&m_doc.UndoStack(), &QUndoStack::indexChanged, this, [this] { OnChanged(); });
    connect(&m_doc, &CLumivantDoc::projectReplaced, this, [this] { OnChanged(); });
    connect(&m_doc, &CLumivantDoc::modifiedChanged, this, [this](bool modified) {
        if (modified)
            OnChanged();
        else
            Discard();
    });
}

CRecoveryKeeper::~CRecoveryKeeper()
{
    // The copy stays (the window decides on a clean close); the lock goes, so that the
    // next start finds a copy that is still there.
    m_lock->unlock();
}

QString CRecoveryKeeper::Folder()
{
    return StateFolder() + QStringLiteral("/recovery");
}

bool CRecoveryKeeper::HasCopy() const
{
    return QFileInfo::exists(m_projectPath);
}

void CRecoveryKeeper::OnChanged()
{
    m_changed = true;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (!m_firstUnwritten.isValid())
        m_firstUnwritten = now;
    const qint64 waited = m_firstUnwritten.msecsTo(now);
    m_timer.start(int(std::clamp<qint64>(kLongestWaitMs - waited, 0, kDelayMs)));
}

bool CRecoveryKeeper::WriteNow()
{
    m_timer.stop();
    if (!m_changed || !m_doc.IsModified())
        return true;
    if (!QDir().mkpath(Folder()))
        return false;
    const bool written = WriteAtomically(m_originPath, m_doc.FilePath().toUtf8()) &&
                         WriteAtomically(m_projectPath, m_doc.Root().SaveProjectBuffer());
    if (written) {
        m_changed = false;
        m_firstUnwritten = QDateTime();
    }
    return written;
}

void CRecoveryKeeper::Discard()
{
    m_timer.stop();
    m_changed = false;
    m_firstUnwritten = QDateTime();
    QFile::remove(m_projectPath);
    QFile::remove(m_originPath);
}

QList<CRecoveryKeeper::LeftCopy> CRecoveryKeeper::LeftBehind()
{
    QList<LeftCopy> copies;
    const QDir folder(Folder());
    for (const QFileInfo& file :
         folder.entryInfoList({QStringLiteral("*.ledprj")}, QDir::Files, QDir::Time)) {
        const QString base = file.absolutePath() + u'/' + file.completeBaseName();
        // A copy whose lock is held belongs to a program that still runs.
        QLockFile lock(LockFile(base));
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0))
            continue;
        lock.unlock();
        copies.append({file.absoluteFilePath(), ReadText(OriginFile(base)), file.lastModified()});
    }
    // The one copy of the programs before copies had their own names.
    const QString shared = StateFolder() + u'/' + QLatin1String(kSharedName);
    if (QFileInfo::exists(ProjectFile(shared))) {
        copies.append({ProjectFile(shared), ReadText(OriginFile(shared)),
                       QFileInfo(ProjectFile(shared)).lastModified()});
    }
    std::stable_sort(copies.begin(), copies.end(), [](const LeftCopy& a, const LeftCopy& b) {
        return a.writtenAt > b.writtenAt;
    });
    return copies;
}

void CRecoveryKeeper::Remove(const LeftCopy& copy)
{
    const QFileInfo file(copy.projectPath);
    const QString base = file.absolutePath() + u'/' + file.completeBaseName();
    QFile::remove(ProjectFile(base));
    QFile::remove(OriginFile(base));
    QFile::remove(LockFile(base));
}
