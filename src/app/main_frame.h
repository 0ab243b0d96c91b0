#pragma once

#include <QList>
#include <QMainWindow>
#include <QStringList>
#include <QUrl>

class CFrameActions;
class CLeftView;
class CLumivantDoc;
class CObjectView;
class CPreView;
class CProjectFile;
class CProjectWarnings;
class CWarningsView;
class CProjectObject;
class CRecoveryKeeper;
class QDockWidget;
class QLabel;
class QMenu;
class QSplitter;
class QToolBar;

// The main window: the project tree beside the preview, the property host below, the
// menus, the toolbar and the status bar; it carries out the commands.
class CMainFrame final : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr int kInitialWidth = 800;
    static constexpr int kInitialHeight = 576;
    static constexpr int kTreeWidth = 300;
    static constexpr int kHostHeight = 100;
    static constexpr int kWarningsWidth = 240;
    // A change of the file on the disk waits this long for an open dialog to close.
    static constexpr int kDiskRetryMs = 500;

    explicit CMainFrame(CLumivantDoc& doc, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Runs a command by its number, as its menu item does.
    void RunCommand(int id);

    // File commands. OpenFile shows the wait cursor; a file that does not load leaves the
    // open project as it was and says why. SaveTo reports a failure unless quiet.
    bool OpenFile(const QString& path);
    // A kept earlier version of a file, opened as a new untitled project.
    bool OpenEarlierVersion(const QString& versionPath);
    // File > Restore Earlier Version: the dialog, then the chosen version.
    void RestoreEarlierVersion();
    void NewProject();
    bool SaveTo(const QString& path, bool quiet = false);
    bool Save();
    bool SaveAs();
    // Opens the project of a start: the named file, else the most recent one that exists,
    // else default.ledprj, else a new project; first offers the copies left by crashes.
    void OpenStartupProject(const QString& commandLineFile);

    // Files dropped on the window: the first local one is opened; false when there is none.
    bool OpenDroppedFiles(const QList<QUrl>& urls);

    // The language commands: writes "lang" and relabels everything.
    void SwitchLanguage(int lang);

    // Status panes: 1 the link of the current screen, 2 messages.
    void SetInfoText(const QString& text);
    void SetStatusText(const QString& text);
    QString InfoText() const;
    QString StatusText() const;

    QStringList RecentFiles() const;
    void AddRecentFile(const QString& path);

    CFrameActions& Actions() { return *m_actions; }
    CLeftView& Tree() { return *m_tree; }
    CPreView& Preview() { return *m_preview; }
    CObjectView& Host() { return *m_host; }
    CRecoveryKeeper& Recovery() { return *m_recovery; }
    CProjectWarnings& ProjectWarnings() { return *m_warnings; }
    CWarningsView& WarningsView() { return *m_warningsView; }
    QDockWidget& WarningsDock() { return *m_warningsDock; }
    CProjectFile& ProjectFile() { return *m_file; }
    QToolBar& ToolBar() { return *m_toolBar; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusBar();
    void BuildViews();
    void Connect();
    void RetranslateUi();
    void UpdateTitle();
    void UpdateEnabling();
    void UpdateRecentMenu();
    void OnSelection(CProjectObject* object);
    void ShowSelectedProgram();
    void PrepareReplace();
    void ReplaceWithEmptyProject(const QString& message);
    // Asks to keep unsaved changes before they would be replaced; false to stop.
    bool SaveModifiedBeforeReplace();
    // The question of a close request, by the "exit" setting.
    enum class CloseChoice { Save, Discard, Stay };
    CloseChoice AskOnClose();
    // Saves into the project's file, an untitled project into a temp file of its own; on
    // failure says why and offers Save As. False keeps the window open.
    bool SaveOnClose();
    static QString NewTempProjectPath();
    // Offers the copies left by runs that ended without closing; true when one was taken.
    bool OfferLeftCopies();
    void RunScreenCommand(int id);
    // The open project's file changed on the disk: reloaded when the project has no unsaved
    // changes, else the person chooses.
    void OnFileChangedOnDisk();
    enum class DiskChoice { KeepMine, LoadTheirs };
    DiskChoice AskKeepOrLoad();
    // Opens the project's file again, keeping the selection where it can; false when it
    // does not load (the open project stays).
    bool ReloadFromDisk();

    CLumivantDoc& m_doc;
    CFrameActions* m_actions = nullptr;
    CLeftView* m_tree = nullptr;
    CPreView* m_preview = nullptr;
    CObjectView* m_host = nullptr;
    CRecoveryKeeper* m_recovery = nullptr;
    CProjectFile* m_file = nullptr;
    CProjectWarnings* m_warnings = nullptr;
    CWarningsView* m_warningsView = nullptr;
    QSplitter* m_outer = nullptr;
    QSplitter* m_inner = nullptr;
    QDockWidget* m_warningsDock = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_panes[3] = {};
    QMenu* m_contextMenu = nullptr;
    std::vector<QMenu*> m_menus;
    bool m_previewRunning = false;
    bool m_answeringDiskChange = false;
    QString m_lastSaveFailure; // what the last failed save said: the path and the reason
};
