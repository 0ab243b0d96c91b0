#pragma once

#include "base/project_lock.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

class CLumivantDoc;

// The open project's file on the disk: the program writes it under the project lock, as
// lumivant-cli and lumivant-server do, and notices when another program changed it. What
// this program wrote itself (or read) is the file as it knows it; only a file that differs
// from that counts as changed.
class CProjectFile final : public QObject
{
    Q_OBJECT

public:
    // How long a save waits for another writer to finish.
    static constexpr int kLockWaitMs = 2000;
    // Changes on the disk are looked at once they have settled for this long.
    static constexpr int kSettleMs = 250;

    enum class SaveResult {
        Saved,
        Held,   // another program is writing the file: Error() says which
        Failed, // Error() says why
    };

    explicit CProjectFile(CLumivantDoc& doc, QObject* parent = nullptr);
    ~CProjectFile() override;

    // Writes the open project to path while holding the project's lock; on success the path
    // is the document's, the project is clean, and the file as written is the one known.
    SaveResult Save(const QString& path);
    const QString& Error() const { return m_error; }

    // Whether the document's file is not the one this program last read or wrote (changed
    // or removed by another program).
    bool ChangedOnDisk() const;
    bool Exists() const;
    // The file as it is now counts as known (the person keeps the open project as it is).
    void AcceptDiskState();

signals:
    // Another program changed (or removed) the document's file; never after this program's
    // own saves.
    void changedOnDisk();

private:
    void Follow();
    void OnDiskEvent();

    CLumivantDoc& m_doc;
    QString m_path;
    FileStamp m_known;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QString m_error;
};
