#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// One kept content of a file, as it was before a save replaced it.
struct EarlierVersion
{
    QString path;       // the copy in the state folder
    QDateTime writtenAt; // when that content was written to the file
    qint64 size = 0;
};

// The earlier versions of one file, kept in the user's state folder (versions/) so that a
// save never takes the only copy of what was there before. The newest ten are kept.
class CEarlierVersions
{
public:
    static constexpr int kKept = 10;

    explicit CEarlierVersions(const QString& filePath);

    // Keeps the file's present content before newContent replaces it. Nothing is kept when
    // the file does not exist, holds newContent already or equals the newest kept version.
    // Returns false with "PATH: REASON" when the copy could not be written.
    [[nodiscard]] bool KeepCurrent(const QByteArray& newContent, QString* reason = nullptr);

    // Newest first.
    QList<EarlierVersion> List() const;

    // The folder holding this file's versions.
    const QString& Folder() const { return m_folder; }

private:
    void Prune() const;

    QString m_filePath;
    QString m_folder;
};

// Replaces path with bytes durably (see WriteFileDurably) after keeping its previous
// content as an earlier version. A version that cannot be kept does not stop the save: the
// reason is left in keepWarning.
[[nodiscard]] bool ReplaceFileKeepingVersion(const QString& path, const QByteArray& bytes,
                                             QString* reason = nullptr,
                                             QString* keepWarning = nullptr);
