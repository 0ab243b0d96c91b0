#pragma once

#include <QDateTime>
#include <QList>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class CLumivantDoc;

// Keeps a copy of a project with unsaved changes in the user's state folder (recovery/),
// written atomically a few seconds after the last change (and at least once a minute while
// changes keep coming), so that a crash loses at most those seconds of work. Every running
// program has a copy of its own, marked by a lock file it holds while it runs: a copy whose
// lock is free was left by a run that ended without closing.
class CRecoveryKeeper final : public QObject
{
    Q_OBJECT

public:
    static constexpr int kDelayMs = 3000;
    static constexpr int kLongestWaitMs = 60 * 1000;

    // A copy left by an earlier run.
    struct LeftCopy
    {
        QString projectPath;  // the copy
        QString originalPath; // the file it was made from (empty for an untitled project)
        QDateTime writtenAt;
    };

    explicit CRecoveryKeeper(CLumivantDoc& doc, QObject* parent = nullptr);
    ~CRecoveryKeeper() override;

    static QString Folder();
    // This program's copy.
    QString ProjectPath() const { return m_projectPath; }
    bool HasCopy() const;

    // Writes the copy now when there are changes not yet in it; false when writing failed.
    bool WriteNow();
    // Removes this program's copy (a save made it unnecessary, or the person chose not to
    // keep the changes).
    void Discard();

    // The copies left by runs that ended without closing, newest first.
    static QList<LeftCopy> LeftBehind();
    static void Remove(const LeftCopy& copy);

private:
    void OnChanged();

    CLumivantDoc& m_doc;
    QString m_projectPath;
    QString m_originPath;
    std::unique_ptr<QLockFile> m_lock;
    QTimer m_timer;
    QDateTime m_firstUnwritten;
    bool m_changed = false;
};
