#include "base/earlier_versions.h"

#include "base/app_paths.h"
#include "base/durable_file.h"
#include "base/regular_file.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <numeric>

namespace {

// Larger files are not copied: a project of this size does not exist, and reading it
// whole before every save would stall the save.
constexpr qint64 kMaxKeptSize = 256ll * 1024 * 1024;
const QString kTimeFormat = QStringLiteral("yyyyMMdd-HHmmss-zzz");

QString SourcePath(const QString& filePath)
{
    const QFileInfo info(filePath);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

// One folder per file: its name for the person who looks, a digest of the whole path so
// that two files of the same name stay apart.
QString VersionsFolder(const QString& sourcePath)
{
    const QByteArray digest =
        QCryptographicHash::hash(sourcePath.toUtf8(), QCryptographicHash::Sha256).toHex();
    return StateFolder() + QStringLiteral("/versions/") + QFileInfo(sourcePath).fileName() +
           u'-' + QString::fromLatin1(digest.left(16));
}

bool ReadWhole(const QString& path, QByteArray* bytes)
{
    if (!IsRegularFile(path) || QFileInfo(path).size() > kMaxKeptSize)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *bytes = file.read(kMaxKeptSize + 1);
    return bytes->size() <= kMaxKeptSize;
}

QString VersionFileName(const QDateTime& writtenAt, const QString& suffix, int attempt)
{
    QString name = writtenAt.toUTC().toString(kTimeFormat);
    if (attempt > 0)
        name += QStringLiteral("-%1").arg(attempt + 1);
    if (!suffix.isEmpty())
        name += u'.' + suffix;
    return name;
}

QDateTime TimeFromName(const QString& fileName)
{
    QDateTime time = QDateTime::fromString(fileName.left(kTimeFormat.size()), kTimeFormat);
    time.setTimeSpec(Qt::UTC);
    return time;
}

} // namespace

CEarlierVersions::CEarlierVersions(const QString& filePath)
    : m_filePath(SourcePath(filePath)), m_folder(VersionsFolder(m_filePath))
{
}

bool CEarlierVersions::KeepCurrent(const QByteArray& newContent, QString* reason)
{
    const QFileInfo info(m_filePath);
    if (!info.exists())
        return true;
    QByteArray current;
    if (!ReadWhole(m_filePath, &current)) {
        if (reason)
            *reason = QStringLiteral("%1: the file cannot be read whole.")
                          .arg(QDir::toNativeSeparators(m_filePath));
        return false;
    }
    if (current == newContent)
        return true;
    const QList<EarlierVersion> kept = List();
    QByteArray newest;
    if (!kept.isEmpty() && kept.front().size == current.size() &&
        ReadWhole(kept.front().path, &newest) && newest == current)
        return true;

    if (!QDir().mkpath(m_folder)) {
        if (reason)
            *reason = QStringLiteral("%1: the folder cannot be created.")
                          .arg(QDir::toNativeSeparators(m_folder));
        return false;
    }
    const QString source = m_folder + QStringLiteral("/source.txt");
    if (!QFileInfo::exists(source))
        (void)WriteFileDurably(source, m_filePath.toUtf8() + '\n');
    QString copy;
    for (int attempt = 0; copy.isEmpty() || QFileInfo::exists(copy); ++attempt)
        copy = m_folder + u'/' + VersionFileName(info.lastModified(), info.suffix(), attempt);
    if (!WriteFileDurably(copy, current, reason))
        return false;
    Prune();
    return true;
}

QList<EarlierVersion> CEarlierVersions::List() const
{
    QList<EarlierVersion> versions;
    QList<QDateTime> keptAt;
    const QFileInfoList entries =
        QDir(m_folder).entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QDateTime writtenAt = TimeFromName(entry.fileName());
        if (!writtenAt.isValid())
            continue;
        versions.append({entry.absoluteFilePath(), writtenAt, entry.size()});
        keptAt.append(entry.lastModified());
    }
    // Two contents written in the same millisecond are told apart by when they were kept.
    QList<qsizetype> order(versions.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        if (versions[a].writtenAt != versions[b].writtenAt)
            return versions[a].writtenAt > versions[b].writtenAt;
        return keptAt[a] > keptAt[b];
    });
    QList<EarlierVersion> sorted;
    sorted.reserve(order.size());
    for (const qsizetype index : order)
        sorted.append(versions[index]);
    return sorted;
}

void CEarlierVersions::Prune() const
{
    const QList<EarlierVersion> versions = List();
    for (qsizetype i = kKept; i < versions.size(); ++i)
        QFile::remove(versions[i].path);
}

bool ReplaceFileKeepingVersion(const QString& path, const QByteArray& bytes, QString* reason,
                               QString* keepWarning)
{
    QString keepReason;
    if (!CEarlierVersions(path).KeepCurrent(bytes, &keepReason) && keepWarning)
        *keepWarning = keepReason;
    return WriteFileDurably(path, bytes, reason);
}
