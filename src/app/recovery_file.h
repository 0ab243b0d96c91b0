#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class CLumivantDoc;

// Keeps a copy of a project with unsaved changes in the user's state folder
// ($XDG_STATE_HOME/lumivant, else ~/.local/state/lumivant), written atomically once a minute
// while there are new changes, so that a crash loses at most a minute of work.
class CRecoveryKeeper final : public QObject
{
    Q_OBJECT

public:
    static constexpr int kIntervalMs = 60 * 1000;

    explicit CRecoveryKeeper(CLumivantDoc& doc, QObject* parent = nullptr);

    static QString Folder();
    static QString ProjectPath();
    // True when a previous run left a copy behind.
    static bool Exists();
    // The file the copy was made from (empty for a project that never had one).
    static QString OriginalPath();
    // Removes the copy (a clean close, a save, a declined restore).
    static void Remove();

    // Writes the copy now when there are changes not yet in it; false when writing failed.
    bool WriteNow();

private:
    CLumivantDoc& m_doc;
    QTimer m_timer;
    bool m_changed = false;
};
