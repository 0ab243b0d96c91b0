#pragma once

#include <QKeySequence>
#include <QObject>

#include <map>
#include <vector>

class CLumivantDoc;
class CScreen;
class QAction;
class QActionGroup;

// The command numbers of the main window (the standard ones of the file, edit, view and
// help menus come after the program's own).
enum CommandId : int {
    IdAddProgram = 32771,
    IdAddWindow = 32772,
    IdAddText = 32773,
    IdAddImage = 32774,
    IdAddClock = 32775,
    IdAddDateTime = 32776,
    IdAddAnimate = 32777,
    IdAddTemperature = 32779,
    IdAddCountdown = 32780,
    IdSearchPanel = 32784,
    IdPanelSetup = 32785,
    IdSyncTimer = 32786,
    IdBrightness = 32787,
    IdPowerOnOff = 32788,
    IdAddTable = 32789,
    IdSendAll = 32790,
    IdSendSelected = 32791,
    IdExport = 32804,
    IdDelete = 32805,
    IdParameterReset = 32815,
    IdCommunicationSetup = 32816,
    IdAdvancedSetup = 32817,
    IdFirmwareUpdate = 32818,
    IdClearPanel = 32819,
    IdMoveUp = 32824,
    IdMoveDown = 32825,
    IdLangSimplified = 32828,
    IdLangTraditional = 32829,
    IdLangEnglish = 32830,
    IdOptions = 32831,
    IdLangAuto = 32832,
    IdLangPortuguese = 32835,
    IdLangTurkish = 32836,
    // The program's own View commands.
    IdZoomToFit = 32900,
    IdDesignerColours = 32901,
    IdLedLook = 32902,
    IdWarnings = 32903,
    IdDeliveryHistory = 32904,
    IdFileNew = 0xE100,
    IdFileOpen = 0xE101,
    IdFileSave = 0xE103,
    IdFileSaveAs = 0xE104,
    IdRestoreVersion = 0xE10F, // the program's own: File > Restore Earlier Version
    IdRecentFile1 = 0xE110,    // to IdRecentFile1 + 3
    IdUndo = 0xE12B,
    IdRedo = 0xE12E,
    IdAbout = 0xE140,
    IdExit = 0xE141,
    IdViewToolbar = 0xE800,
    IdViewStatus = 0xE801,
};

// When a command may run (besides never while the preview plays).
enum class EnableRule {
    Always,
    // Only on a screen whose controller is not a basic model (and never without a screen).
    FullModel,
    // Where the command would do something: Delete on a deletable selection, Move on an
    // object that is not already first or last, Undo and Redo when there is a step.
    CanDelete,
    CanMoveUp,
    CanMoveDown,
    CanUndo,
    CanRedo,
    // When the project has a file (whose earlier versions there may be).
    HasFile,
    // When the preview shows a program (Zoom to Fit).
    PreviewShowsProgram,
    // When the preview's zoom allows the LED look (4/1 and up).
    ZoomShowsDots,
};

// What the enabling rules need of the main window besides the document.
struct FrameViewState
{
    bool previewRunning = false;
    bool previewShowsProgram = false;
    bool zoomShowsDots = false;
};

struct CommandInfo
{
    int id;
    const char* menuText;  // translated in the context "CMainFrame"
    const char* shortText; // the toolbar label; null when it has no button
    const char* icon;      // an icon name of :/icons, or "kind:N" for an Add command
    EnableRule rule;
    QKeySequence::StandardKey key;
};

// Every command of the main window as one QAction carrying its number, with its label,
// icon, shortcut and enabling rule. The menus, the toolbar, the tree's context menu and the
// screen page's buttons all show these same actions.
class CFrameActions final : public QObject
{
    Q_OBJECT

public:
    static constexpr int kRecentFileCount = 4;

    explicit CFrameActions(QObject* parent);
    ~CFrameActions() override;

    static const std::vector<CommandInfo>& Commands();
    static const CommandInfo* Find(int id);
    // The "lang" value of a language command, or -1.
    static int LanguageOf(int id);

    QAction* Action(int id) const;
    // The language commands, of which one carries the check mark.
    QActionGroup* Languages() const { return m_languages; }

    // Sets the labels again in the language in use (Undo and Redo name their step).
    void Retranslate();
    // Applies the enabling rules to the document's selection and history and to the views;
    // while the preview runs, nothing is enabled.
    void UpdateEnabling(CLumivantDoc& doc, const FrameViewState& view);
    void CheckLanguage(int lang);

signals:
    void triggered(int id);

private:
    void RelabelUndo();

    std::map<int, QAction*> m_actions;
    QString m_undoText;
    QString m_redoText;
    QActionGroup* m_languages;
};

// Whether the screen's controller is a basic model (no live zones, no clock to set).
bool IsBasicScreen(const CScreen& screen);
