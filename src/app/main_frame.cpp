#include "app/main_frame.h"

#include "app/app_language.h"
#include "app/dialogs/delivery_history_dialog.h"
#include "app/dialogs/earlier_versions_dialog.h"
#include "app/frame_actions.h"
#include "app/left_view.h"
#include "app/object_view.h"
#include "app/setup_commands.h"
#include "app/shell_commands.h"
#include "app/warnings_view.h"
#include "base/app_paths.h"
#include "base/app_settings.h"
#include "base/last_error.h"
#include "base/messages.h"
#include "base/string_table.h"
#include "comm/controller_link.h"
#include "document/edit_commands.h"
#include "document/lumivant_doc.h"
#include "document/project_file.h"
#include "document/project_warnings.h"
#include "document/recovery_keeper.h"
#include "editors/preview_view.h"
#include "editors/sign_view_options.h"
#include "model/program.h"
#include "model/project_finding.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "render/led_look.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace {

constexpr int kQuitQuestion = 41055;
constexpr int kSaveQuestion = 41082;

const char kRecentGroup[] = "Recent File List";

QSettings ProfileSettings()
{
    return QSettings(QStringLiteral("Varnolite"), QStringLiteral("Lumivant"));
}

struct MenuLayout
{
    const char* title;
    std::vector<int> commands; // 0 is a separator, -1 the recent files, -2 the languages
};

const std::vector<MenuLayout> kMenus = {
    {QT_TRANSLATE_NOOP("CMainFrame", "&File"),
     {IdFileNew, IdFileOpen, IdFileSave, IdFileSaveAs, 0, IdRestoreVersion, 0, -1, 0, IdExit}},
    {QT_TRANSLATE_NOOP("CMainFrame", "&Edit"), {IdUndo, IdRedo, 0, IdDelete, IdMoveUp, IdMoveDown}},
    {QT_TRANSLATE_NOOP("CMainFrame", "&Add"),
     {IdAddProgram, IdAddWindow, 0, IdAddText, IdAddImage, IdAddClock, IdAddDateTime, IdAddAnimate,
      IdAddTemperature, IdAddCountdown, IdAddTable}},
    {QT_TRANSLATE_NOOP("CMainFrame", "&Tools"),
     {IdSendAll, IdExport, 0, IdSearchPanel, IdPanelSetup, IdAdvancedSetup, IdCommunicationSetup, 0,
      IdSyncTimer, IdBrightness, IdPowerOnOff, 0, IdParameterReset, IdClearPanel,
      IdFirmwareUpdate}},
    {QT_TRANSLATE_NOOP("CMainFrame", "&Options"), {-2, IdOptions}},
    {QT_TRANSLATE_NOOP("CMainFrame", "&View"),
     {IdViewToolbar, IdViewStatus, 0, IdZoomToFit, IdDesignerColours, IdLedLook, 0, IdWarnings,
      IdDeliveryHistory}},
    {QT_TRANSLATE_NOOP("CMainFrame", "&Help"), {IdAbout}},
};

// The file commands and the delivery first, so that they stay in sight in a narrow window.
const int kToolBarCommands[] = {IdFileNew,
                                IdFileOpen,
                                IdFileSave,
                                0,
                                IdSendAll,
                                IdSendSelected,
                                IdExport,
                                0,
                                IdAddProgram,
                                IdAddWindow,
                                IdAddText,
                                IdAddImage,
                                IdAddClock,
                                IdAddDateTime,
                                IdAddAnimate,
                                IdAddTemperature,
                                IdAddCountdown,
                                IdAddTable,
                                0,
                                IdDelete,
                                IdMoveUp,
                                IdMoveDown,
                                0,
                                IdSearchPanel,
                                IdSyncTimer};

// The tree's context menu: the same actions as the menus (0 is a separator).
const int kContextCommands[] = {IdDelete,  0,          IdAddProgram, IdAddWindow,
                                IdAddText, IdAddImage, IdAddClock,   IdAddDateTime,
                                0,         IdMoveUp,   IdMoveDown};

int ZoneKindOf(int command)
{
    switch (command) {
    case IdAddText:
        return KindText;
    case IdAddImage:
        return KindImage;
    case IdAddClock:
        return KindClock;
    case IdAddDateTime:
        return KindDateTime;
    case IdAddAnimate:
        return KindAnimate;
    case IdAddTemperature:
        return KindTemperature;
    case IdAddCountdown:
        return KindCountdown;
    case IdAddTable:
        return KindTable;
    default:
        return 0;
    }
}

bool SetupCommandOf(int command, SetupCommand& setup)
{
    switch (command) {
    case IdPanelSetup:
        setup = SetupCommand::PanelSetup;
        return true;
    case IdAdvancedSetup:
        setup = SetupCommand::AdvancedSetup;
        return true;
    case IdCommunicationSetup:
        setup = SetupCommand::CommunicationSetup;
        return true;
    case IdBrightness:
        setup = SetupCommand::Brightness;
        return true;
    case IdPowerOnOff:
        setup = SetupCommand::PowerOnOff;
        return true;
    case IdFirmwareUpdate:
        setup = SetupCommand::FirmwareUpdate;
        return true;
    default:
        return false;
    }
}

bool IsProjectUrl(const QUrl& url)
{
    return url.isLocalFile() &&
           url.toLocalFile().endsWith(QLatin1String(".ledprj"), Qt::CaseInsensitive);
}

QString ProjectFilter()
{
    return QCoreApplication::translate("CMainFrame", "Lumivant Project (*.ledprj)");
}

} // namespace

CMainFrame::CMainFrame(CLumivantDoc& doc, QWidget* parent)
    : QMainWindow(parent), m_doc(doc), m_actions(new CFrameActions(this))
{
    setObjectName(QStringLiteral("mainFrame"));
    setAcceptDrops(true);
    setMinimumSize(700, 380);
    BuildViews();
    BuildMenus();
    BuildToolBar();
    BuildStatusBar();
    m_recovery = new CRecoveryKeeper(m_doc, this);
    m_file = new CProjectFile(m_doc, this);
    Connect();
    RetranslateUi();

    resize(kInitialWidth, kInitialHeight);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    m_tree->Rebuild(nullptr);
    UpdateRecentMenu();
    UpdateTitle();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::BuildViews()
{
    m_tree = new CLeftView(m_doc);
    m_preview = new CPreView(m_doc);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_warnings = new CProjectWarnings(m_doc, this);
    m_warningsView = new CWarningsView(m_doc, *m_warnings);
    m_host =
        new CObjectView(m_doc, {m_actions->Action(IdSyncTimer), m_actions->Action(IdPanelSetup),
                                m_actions->Action(IdBrightness), m_actions->Action(IdPowerOnOff)});
    m_host->setMinimumHeight(CObjectView::kMinimumHeight);

    m_inner = new QSplitter(Qt::Horizontal);
    m_inner->addWidget(m_tree);
    m_inner->addWidget(m_preview);
    m_inner->setStretchFactor(1, 1);
    m_inner->setSizes({kTreeWidth, kInitialWidth - kTreeWidth});
    m_outer = new QSplitter(Qt::Vertical);
    m_outer->addWidget(m_inner);
    m_outer->addWidget(m_host);
    m_outer->setStretchFactor(0, 1);
    m_outer->setCollapsible(1, false);
    m_outer->setSizes({kInitialHeight - kHostHeight, kHostHeight});
    setCentralWidget(m_outer);

    // The warnings in a dock at the right, beside the preview and the pages (which leave
    // room there at the window's first size); the person can move the list or float it, and
    // its close button is View > Warnings.
    m_warningsDock = new QDockWidget(this);
    m_warningsDock->setObjectName(QStringLiteral("warningsDock"));
    m_warningsDock->setWidget(m_warningsView);
    m_warningsDock->installEventFilter(this);
    addDockWidget(Qt::RightDockWidgetArea, m_warningsDock);
    resizeDocks({m_warningsDock}, {kWarningsWidth}, Qt::Horizontal);
    m_warningsDock->setVisible(Settings().warnings != 0);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    // The dock's close button: as unticking View > Warnings.
    if (watched == m_warningsDock && event->type() == QEvent::Close) {
        m_actions->Action(IdWarnings)->setChecked(false);
        return false;
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::BuildMenus()
{
    for (const MenuLayout& layout : kMenus) {
        QMenu* menu = menuBar()->addMenu(QString());
        menu->setProperty("titleSource", QByteArray(layout.title));
        for (int id : layout.commands) {
            if (id == 0) {
                menu->addSeparator();
            } else if (id == -1) {
                for (int i = 0; i < CFrameActions::kRecentFileCount; ++i)
                    menu->addAction(m_actions->Action(IdRecentFile1 + i));
            } else if (id == -2) {
                QMenu* languages = menu->addMenu(QString());
                languages->setProperty("titleSource",
                                       QByteArray(QT_TRANSLATE_NOOP("CMainFrame", "&Language")));
                languages->addActions(m_actions->Languages()->actions());
                m_menus.push_back(languages);
            } else {
                menu->addAction(m_actions->Action(id));
            }
        }
        m_menus.push_back(menu);
    }
    // Every shortcut works even with the menu bar hidden or disabled; Delete only where
    // it means the selected object (the tree and the preview): in a property page the key
    // is the control's own.
    for (const CommandInfo& command : CFrameActions::Commands()) {
        if (command.id != IdDelete)
            addAction(m_actions->Action(command.id));
    }
    QAction* deleteAction = m_actions->Action(IdDelete);
    deleteAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_tree->addAction(deleteAction);
    m_preview->addAction(deleteAction);

    m_contextMenu = new QMenu(this);
    m_contextMenu->setObjectName(QStringLiteral("treeContextMenu"));
    for (int id : kContextCommands) {
        if (id == 0)
            m_contextMenu->addSeparator();
        else
            m_contextMenu->addAction(m_actions->Action(id));
    }
    m_tree->SetContextMenu(m_contextMenu);
}

void CMainFrame::BuildToolBar()
{
    m_toolBar = addToolBar(QString());
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setIconSize({16, 16});
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolBar->setMovable(false);
    for (int id : kToolBarCommands) {
        if (id == 0)
            m_toolBar->addSeparator();
        else
            m_toolBar->addAction(m_actions->Action(id));
    }
}

void CMainFrame::BuildStatusBar()
{
    const int widths[3] = {250, 150, 200};
    for (int i = 0; i < 3; ++i) {
        m_panes[i] = new QLabel(this);
        m_panes[i]->setObjectName(QStringLiteral("statusPane%1").arg(i));
        m_panes[i]->setMinimumWidth(i == 2 ? 0 : widths[i]);
        if (i < 2)
            m_panes[i]->setFixedWidth(widths[i]);
        statusBar()->addWidget(m_panes[i], i == 2 ? 1 : 0);
    }
    statusBar()->setSizeGripEnabled(true);
}

void CMainFrame::Connect()
{
    connect(m_actions, &CFrameActions::triggered, this, [this](int id) { RunCommand(id); });
    connect(m_tree, &CLeftView::selectionChangedTo, this,
            [this](CProjectObject* object) { OnSelection(object); });
    connect(&m_doc, &CLumivantDoc::structureChanged, this,
            [this](CProjectObject* select) { m_tree->Rebuild(select); });
    connect(&m_doc, &CLumivantDoc::projectReplaced, this, [this] { m_tree->Rebuild(nullptr); });
    connect(&m_doc, &CLumivantDoc::modifiedChanged, this, [this] { UpdateTitle(); });
    connect(&m_doc, &CLumivantDoc::filePathChanged, this, [this] { UpdateTitle(); });
    connect(&m_doc, &CLumivantDoc::objectChanged, this, [this](CProjectObject* object) {
        // Setup forms change the screen's model or link.
        if (!object || object->GetKind() != KindScreen)
            return;
        UpdateEnabling();
        if (object == m_doc.CurrentScreen())
            SetInfoText(LinkOf(*m_doc.CurrentScreen()).GetLinkStatusText());
    });
    connect(&m_doc, &CLumivantDoc::currentChanged, this, [this] { UpdateEnabling(); });
    connect(&m_doc.UndoStack(), &QUndoStack::indexChanged, this, [this] { UpdateEnabling(); });
    connect(m_preview, &CPreView::runningChanged, this, [this](bool running) {
        m_previewRunning = running;
        UpdateEnabling();
    });
    connect(m_preview, &CPreView::objectClicked, this,
            [this](CProjectObject* object) { m_tree->Select(object); });
    connect(m_preview, &CPreView::zoomChanged, this, [this] { UpdateEnabling(); });
    connect(m_file, &CProjectFile::changedOnDisk, this, [this] { OnFileChangedOnDisk(); });
    connect(m_warningsView, &CWarningsView::objectChosen, this,
            [this](CProjectObject* object) { m_tree->Select(object); });
    // The View menu's switches: remembered in the settings, written at exit.
    QAction* designer = m_actions->Action(IdDesignerColours);
    QAction* ledLook = m_actions->Action(IdLedLook);
    QAction* warnings = m_actions->Action(IdWarnings);
    designer->setChecked(CSignViewOptions::Instance().DesignerColours());
    ledLook->setChecked(CSignViewOptions::Instance().LedLook());
    warnings->setChecked(Settings().warnings != 0);
    connect(designer, &QAction::toggled, this,
            [](bool on) { CSignViewOptions::Instance().SetDesignerColours(on); });
    connect(ledLook, &QAction::toggled, this,
            [](bool on) { CSignViewOptions::Instance().SetLedLook(on); });
    connect(warnings, &QAction::toggled, this, [this](bool on) {
        Settings().warnings = on ? 1 : 0;
        m_warningsDock->setVisible(on);
    });
    connect(&CSignViewOptions::Instance(), &CSignViewOptions::changed, this, [designer, ledLook] {
        designer->setChecked(CSignViewOptions::Instance().DesignerColours());
        ledLook->setChecked(CSignViewOptions::Instance().LedLook());
    });
    connect(m_actions->Action(IdViewToolbar), &QAction::toggled, m_toolBar, &QToolBar::setVisible);
    connect(m_actions->Action(IdViewStatus), &QAction::toggled, statusBar(),
            &QStatusBar::setVisible);
}

void CMainFrame::RetranslateUi()
{
    m_actions->Retranslate();
    for (QMenu* menu : m_menus) {
        const QByteArray source = menu->property("titleSource").toByteArray();
        menu->setTitle(QCoreApplication::translate("CMainFrame", source.constData()));
    }
    m_toolBar->setWindowTitle(tr("Toolbar"));
    m_warningsDock->setWindowTitle(tr("Warnings"));
    if (m_panes[2]->text().isEmpty() || m_panes[2]->property("ready").toBool()) {
        m_panes[2]->setText(tr("Ready"));
        m_panes[2]->setProperty("ready", true);
    }
    m_actions->CheckLanguage(Settings().lang);
    UpdateRecentMenu();
    UpdateTitle();
}

void CMainFrame::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        RetranslateUi();
        // The tree shows numbered default names and the pages numbered labels.
        m_tree->Rebuild(m_doc.CurrentObject());
        m_preview->Refresh();
    }
    QMainWindow::changeEvent(event);
}

void CMainFrame::UpdateTitle()
{
    const QString name =
        m_doc.FilePath().isEmpty() ? tr("Untitled") : QFileInfo(m_doc.FilePath()).fileName();
    setWindowTitle(name + QStringLiteral("[*] - Lumivant"));
    setWindowModified(m_doc.IsModified());
}

void CMainFrame::UpdateEnabling()
{
    const bool running = m_previewRunning;
    FrameViewState view;
    view.previewRunning = running;
    view.previewShowsProgram = m_preview->Program() != nullptr;
    view.zoomShowsDots = LedLookFits(m_preview->Zoom().numerator, m_preview->Zoom().denominator);
    m_actions->UpdateEnabling(m_doc, view);
    for (QMenu* menu : m_menus)
        menu->menuAction()->setEnabled(!running);
    m_toolBar->setEnabled(!running);
}

void CMainFrame::OnSelection(CProjectObject* object)
{
    m_doc.SetCurrentObject(object);
    m_host->ShowPage(object);
    ShowSelectedProgram();
    CScreen* screen = m_doc.CurrentScreen();
    SetInfoText(screen ? LinkOf(*screen).GetLinkStatusText() : QString());
    SetStatusText(QString());
    UpdateEnabling();
}

void CMainFrame::ShowSelectedProgram()
{
    CProgram* program = m_doc.CurrentProgram();
    if (program != m_preview->Program())
        m_preview->ShowProgram(program);
    else
        m_preview->Refresh();
}

void CMainFrame::SetInfoText(const QString& text)
{
    m_panes[1]->setText(text);
}

void CMainFrame::SetStatusText(const QString& text)
{
    m_panes[2]->setProperty("ready", false);
    m_panes[2]->setText(text);
}

QString CMainFrame::InfoText() const
{
    return m_panes[1]->text();
}

QString CMainFrame::StatusText() const
{
    return m_panes[2]->text();
}

void CMainFrame::RunCommand(int id)
{
    if (m_previewRunning && id != IdExit)
        return;
    if (const int kind = ZoneKindOf(id)) {
        AddZone(m_doc, kind);
        return;
    }
    if (const int lang = CFrameActions::LanguageOf(id); lang >= 0) {
        SwitchLanguage(lang);
        return;
    }
    if (id >= IdRecentFile1 && id < IdRecentFile1 + CFrameActions::kRecentFileCount) {
        const QStringList recent = RecentFiles();
        const int index = id - IdRecentFile1;
        if (index < recent.size() && SaveModifiedBeforeReplace())
            OpenFile(recent[index]);
        return;
    }
    switch (id) {
    case IdAddProgram:
        AddProgram(m_doc);
        break;
    case IdAddWindow:
        AddWindow(m_doc);
        break;
    case IdDelete:
        m_preview->StopIfRunning();
        DeleteCurrentObject(m_doc);
        break;
    case IdMoveUp:
    case IdMoveDown:
        MoveCurrentObject(m_doc, id == IdMoveUp);
        break;
    case IdFileNew:
        if (SaveModifiedBeforeReplace())
            NewProject();
        break;
    case IdFileOpen: {
        if (!SaveModifiedBeforeReplace())
            break;
        const QString path =
            QFileDialog::getOpenFileName(this, QString(), QString(), ProjectFilter());
        if (!path.isEmpty())
            OpenFile(path);
        break;
    }
    case IdFileSave:
        Save();
        break;
    case IdFileSaveAs:
        SaveAs();
        break;
    case IdRestoreVersion:
        RestoreEarlierVersion();
        break;
    case IdExit:
        close();
        break;
    case IdUndo:
        m_doc.FlushPendingRender();
        m_doc.UndoStack().undo();
        break;
    case IdRedo:
        m_doc.FlushPendingRender();
        m_doc.UndoStack().redo();
        break;
    case IdOptions:
        RunOptionsDialog(this);
        break;
    case IdAbout:
        ShowAboutBox(this);
        break;
    case IdSendAll:
        m_preview->StopIfRunning();
        m_doc.FlushPendingRender();
        RunSendAll(m_doc, this);
        break;
    case IdZoomToFit:
        m_preview->ZoomToFit();
        break;
    case IdDeliveryHistory: {
        CDeliveryHistoryDialog dialog(m_doc.FilePath(), this);
        dialog.exec();
        break;
    }
    case IdViewToolbar:
    case IdViewStatus:
    case IdDesignerColours:
    case IdLedLook:
    case IdWarnings:
    case IdSendSelected:
        break;
    default:
        RunScreenCommand(id);
        break;
    }
}

void CMainFrame::RunScreenCommand(int id)
{
    CScreen* screen = m_doc.CurrentScreen();
    if (!screen)
        return;
    m_preview->StopIfRunning();
    SetupCommand setup;
    if (SetupCommandOf(id, setup)) {
        m_doc.FlushPendingRender();
        RunSetupCommand(setup, *screen, m_doc, this);
        return;
    }
    switch (id) {
    case IdExport:
        m_doc.FlushPendingRender();
        RunExportDialog(m_doc, *screen, this);
        break;
    case IdSearchPanel:
        SetInfoText(RunSearchDialog(m_doc, *screen, this));
        break;
    case IdSyncTimer:
        if (!IsBasicScreen(*screen))
            RunSyncTimer(m_doc, *screen, this);
        break;
    case IdParameterReset:
        RunParameterReset(m_doc, *screen, this);
        break;
    case IdClearPanel:
        RunClearPanel(m_doc, *screen, this);
        break;
    default:
        break;
    }
}

void CMainFrame::PrepareReplace()
{
    m_preview->StopIfRunning();
    m_doc.FlushPendingRender();
    m_host->ShowPage(nullptr);
    m_preview->ShowProgram(nullptr);
    m_doc.SetCurrentObject(nullptr);
}

void CMainFrame::NewProject()
{
    PrepareReplace();
    m_doc.SetRoot(CProjectRoot::NewProject(), QString());
    m_doc.SetModified();
}

bool CMainFrame::OpenFile(const QString& path)
{
    // The project is read aside: a file that does not load leaves the open one as it was.
    setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto root = std::make_unique<CProjectRoot>();
    ClearLastError();
    const bool loaded = root->LoadProject(path);
    const QString reason = LastError();
    QApplication::restoreOverrideCursor();
    setEnabled(true);
    if (!loaded) {
        ShowWarning(tr("\"%1\" could not be opened; the open project stays as it was.")
                        .arg(QDir::toNativeSeparators(path)) +
                    (reason.isEmpty() ? QString() : QStringLiteral("\n") + reason));
        return false;
    }
    PrepareReplace();
    m_doc.SetRoot(std::move(root), QFileInfo(path).absoluteFilePath());
    AddRecentFile(m_doc.FilePath());
    return true;
}

bool CMainFrame::OpenEarlierVersion(const QString& versionPath)
{
    auto root = std::make_unique<CProjectRoot>();
    ClearLastError();
    if (!root->LoadProject(versionPath)) {
        ShowWarning(LastError());
        return false;
    }
    // A new untitled project: the file it came from stays as it is.
    PrepareReplace();
    m_doc.SetRoot(std::move(root), QString());
    m_doc.SetModified();
    return true;
}

void CMainFrame::RestoreEarlierVersion()
{
    if (m_doc.FilePath().isEmpty())
        return;
    CEarlierVersionsDialog dialog(m_doc.FilePath(), this);
    if (dialog.exec() != QDialog::Accepted || dialog.ChosenVersion().isEmpty())
        return;
    const QString chosen = dialog.ChosenVersion();
    if (SaveModifiedBeforeReplace())
        OpenEarlierVersion(chosen);
}

bool CMainFrame::SaveTo(const QString& path, bool quiet)
{
    m_doc.FlushPendingRender();
    // Another program changed the file since it was read, and the person has not been
    // asked yet: their work is not overwritten without a word.
    if (!quiet && !m_doc.FilePath().isEmpty() &&
        QFileInfo(path).absoluteFilePath() == m_doc.FilePath() && m_file->ChangedOnDisk() &&
        m_file->Exists()) {
        if (AskKeepOrLoad() == DiskChoice::LoadTheirs) {
            ReloadFromDisk();
            return false;
        }
    }
    for (;;) {
        // A writer that holds the file is waited for a moment.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const CProjectFile::SaveResult result = m_file->Save(path);
        QApplication::restoreOverrideCursor();
        if (result == CProjectFile::SaveResult::Saved)
            break;
        m_lastSaveFailure =
            tr("The project could not be saved to \"%1\".").arg(QDir::toNativeSeparators(path));
        if (!m_file->Error().isEmpty())
            m_lastSaveFailure += QStringLiteral("\n") + m_file->Error();
        if (quiet)
            return false;
        if (result != CProjectFile::SaveResult::Held) {
            ShowWarning(m_lastSaveFailure);
            return false;
        }
        // Another program is writing the file: nothing is lost, the person tries again or
        // saves elsewhere.
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Lumivant"), m_lastSaveFailure,
                        QMessageBox::NoButton, this);
        box.setObjectName(QStringLiteral("fileHeldBox"));
        QPushButton* retry = box.addButton(tr("Try Again"), QMessageBox::AcceptRole);
        QPushButton* saveAs = box.addButton(tr("Save As..."), QMessageBox::ActionRole);
        box.addButton(QMessageBox::Cancel);
        box.setDefaultButton(retry);
        box.exec();
        if (box.clickedButton() == static_cast<QAbstractButton*>(saveAs))
            return SaveAs();
        if (box.clickedButton() != static_cast<QAbstractButton*>(retry))
            return false;
    }
    m_lastSaveFailure.clear();
    AddRecentFile(m_doc.FilePath());
    // The save went through; that the replaced content could not be kept is worth a line.
    if (const QString warning = m_doc.Root().KeepWarning(); !warning.isEmpty())
        SetStatusText(tr("The earlier content of the file could not be kept: %1").arg(warning));
    return true;
}

CMainFrame::DiskChoice CMainFrame::AskKeepOrLoad()
{
    const QString name = QFileInfo(m_doc.FilePath()).fileName();
    QMessageBox box(QMessageBox::Question, QStringLiteral("Lumivant"),
                    tr("%1 was changed by another program. Keep your unsaved changes (a save "
                       "then replaces the file, whose content is kept as an earlier version), "
                       "or load the file as it is now (your unsaved changes are lost)?")
                        .arg(name),
                    QMessageBox::NoButton, this);
    box.setObjectName(QStringLiteral("changedOnDiskBox"));
    QPushButton* keep = box.addButton(tr("Keep Mine"), QMessageBox::RejectRole);
    QPushButton* load = box.addButton(tr("Load Theirs"), QMessageBox::AcceptRole);
    box.setDefaultButton(keep);
    box.setEscapeButton(keep);
    box.exec();
    if (box.clickedButton() == static_cast<QAbstractButton*>(load))
        return DiskChoice::LoadTheirs;
    m_file->AcceptDiskState();
    return DiskChoice::KeepMine;
}

void CMainFrame::OnFileChangedOnDisk()
{
    if (m_answeringDiskChange || !m_file->ChangedOnDisk())
        return;
    // Not in the middle of another dialog or a playing preview: once they are over.
    if (QApplication::activeModalWidget() || m_previewRunning) {
        QTimer::singleShot(kDiskRetryMs, this, [this] { OnFileChangedOnDisk(); });
        return;
    }
    const QString name = QFileInfo(m_doc.FilePath()).fileName();
    if (!m_file->Exists()) {
        m_file->AcceptDiskState();
        SetStatusText(
            tr("%1 was removed or renamed by another program; Save writes it again.").arg(name));
        return;
    }
    m_answeringDiskChange = true;
    if (!m_doc.IsModified()) {
        if (ReloadFromDisk())
            SetStatusText(
                tr("%1 was changed by another program and has been loaded again.").arg(name));
    } else if (AskKeepOrLoad() == DiskChoice::LoadTheirs && ReloadFromDisk()) {
        SetStatusText(tr("%1 was changed by another program and has been loaded again.").arg(name));
    }
    m_answeringDiskChange = false;
}

bool CMainFrame::ReloadFromDisk()
{
    const QString path = m_doc.FilePath();
    // The same object selected again where the tree still has it.
    const QString place = m_doc.CurrentObject() ? ObjectPlace(*m_doc.CurrentObject()) : QString();
    // Every writer renames a whole new file into place: what is read is never halfway.
    const bool loaded = OpenFile(path);
    if (!loaded) {
        // The file as it is now was looked at; the open project stays.
        m_file->AcceptDiskState();
        return false;
    }
    if (!place.isEmpty()) {
        if (CProjectObject* again = ObjectAtPlace(m_doc.Root(), place))
            m_tree->Select(again);
    }
    return true;
}

bool CMainFrame::Save()
{
    if (m_doc.FilePath().isEmpty())
        return SaveAs();
    return SaveTo(m_doc.FilePath());
}

bool CMainFrame::SaveAs()
{
    QString path = QFileDialog::getSaveFileName(this, QString(), m_doc.FilePath(), ProjectFilter());
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".ledprj");
    return SaveTo(path);
}

bool CMainFrame::SaveModifiedBeforeReplace()
{
    if (!m_doc.IsModified())
        return true;
    const auto answer =
        QMessageBox::question(this, QStringLiteral("Lumivant"), LoadString(kSaveQuestion),
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel)
        return false;
    return answer == QMessageBox::No || Save();
}

bool CMainFrame::OfferLeftCopies()
{
    for (const CRecoveryKeeper::LeftCopy& copy : CRecoveryKeeper::LeftBehind()) {
        const QString from = copy.originalPath.isEmpty()
                                 ? tr("an untitled project")
                                 : QDir::toNativeSeparators(copy.originalPath);
        const auto answer = QMessageBox::question(
            this, QStringLiteral("Lumivant"),
            tr("Lumivant was not closed properly last time. Restore the unsaved changes of "
               "%1 (%2)?")
                .arg(from, QLocale().toString(copy.writtenAt, QLocale::ShortFormat)),
            QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            CRecoveryKeeper::Remove(copy);
            continue;
        }
        auto root = std::make_unique<CProjectRoot>();
        ClearLastError();
        if (!root->LoadProject(copy.projectPath)) {
            // Kept for another try: it may be all there is of that work.
            ShowWarning(LastError());
            return false;
        }
        PrepareReplace();
        m_doc.SetRoot(std::move(root), copy.originalPath);
        m_doc.SetModified();
        // The copy goes once this program's own copy holds the same.
        if (m_recovery->WriteNow())
            CRecoveryKeeper::Remove(copy);
        return true;
    }
    return false;
}

void CMainFrame::OpenStartupProject(const QString& commandLineFile)
{
    if (OfferLeftCopies())
        return;
    // A named file that does not load is said, and the start goes on as without it.
    if (!commandLineFile.isEmpty() && OpenFile(commandLineFile))
        return;
    const QStringList recent = RecentFiles();
    if (!recent.isEmpty() && QFileInfo(recent.front()).isFile() && OpenFile(recent.front()))
        return;
    if (QFileInfo(DefaultProjectPath()).isFile() && OpenFile(DefaultProjectPath()))
        return;
    NewProject();
}

void CMainFrame::SwitchLanguage(int lang)
{
    Settings().lang = lang;
    Settings().SaveLanguage(SettingsFilePath());
    ApplyLanguage(lang);
    m_actions->CheckLanguage(lang);
}

QStringList CMainFrame::RecentFiles() const
{
    QSettings settings = ProfileSettings();
    QStringList files;
    for (int i = 1; i <= CFrameActions::kRecentFileCount; ++i) {
        const QString file =
            settings.value(QStringLiteral("%1/File%2").arg(kRecentGroup).arg(i)).toString();
        if (!file.isEmpty())
            files << file;
    }
    return files;
}

void CMainFrame::AddRecentFile(const QString& path)
{
    if (path.isEmpty())
        return;
    QStringList files = RecentFiles();
    files.removeAll(path);
    files.prepend(path);
    QSettings settings = ProfileSettings();
    for (int i = 0; i < CFrameActions::kRecentFileCount; ++i) {
        const QString key = QStringLiteral("%1/File%2").arg(kRecentGroup).arg(i + 1);
        if (i < files.size())
            settings.setValue(key, files[i]);
        else
            settings.remove(key);
    }
    UpdateRecentMenu();
}

void CMainFrame::UpdateRecentMenu()
{
    const QStringList files = RecentFiles();
    for (int i = 0; i < CFrameActions::kRecentFileCount; ++i) {
        QAction* action = m_actions->Action(IdRecentFile1 + i);
        action->setVisible(i < files.size());
        if (i < files.size())
            action->setText(
                QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(files[i]).fileName()));
    }
}

CMainFrame::CloseChoice CMainFrame::AskOnClose()
{
    switch (Settings().exit) {
    case 1: {
        const auto answer =
            QMessageBox::question(this, QStringLiteral("Lumivant"), LoadString(kSaveQuestion),
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel)
            return CloseChoice::Stay;
        return answer == QMessageBox::Yes ? CloseChoice::Save : CloseChoice::Discard;
    }
    case 2:
        return CloseChoice::Save;
    default: {
        // The file's previous content is kept as an earlier version, so a Yes here can be
        // taken back with Restore Earlier Version.
        const auto answer =
            QMessageBox::question(this, QStringLiteral("Lumivant"), LoadString(kQuitQuestion),
                                  QMessageBox::Yes | QMessageBox::No);
        return answer == QMessageBox::Yes ? CloseChoice::Save : CloseChoice::Stay;
    }
    }
}

QString CMainFrame::NewTempProjectPath()
{
    // Every untitled project gets a file of its own: temp.ledprj, then temp-2.ledprj...
    const QFileInfo first(TempProjectPath());
    QString path = first.absoluteFilePath();
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = first.absolutePath() +
               QStringLiteral("/%1-%2.%3").arg(first.completeBaseName()).arg(n).arg(first.suffix());
    return path;
}

bool CMainFrame::SaveOnClose()
{
    QString path = m_doc.FilePath();
    // A file that is there and holds everything needs no writing.
    if (!path.isEmpty() && !m_doc.IsModified() && QFileInfo(path).isFile())
        return true;
    if (path.isEmpty())
        path = NewTempProjectPath();
    if (SaveTo(path, true))
        return true;
    // The window stays open: the reason, and the way out.
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Lumivant"),
                    m_lastSaveFailure + QStringLiteral("\n\n") +
                        tr("The window stays open so that nothing is lost. Save the project "
                           "somewhere else?"),
                    QMessageBox::NoButton, this);
    box.setObjectName(QStringLiteral("saveFailedBox"));
    QPushButton* saveAs = box.addButton(tr("Save As..."), QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(saveAs);
    box.exec();
    return box.clickedButton() == static_cast<QAbstractButton*>(saveAs) && SaveAs();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    m_preview->StopIfRunning();
    const CloseChoice choice = AskOnClose();
    if (choice == CloseChoice::Stay || (choice == CloseChoice::Save && !SaveOnClose())) {
        event->ignore();
        return;
    }
    m_host->ShowPage(nullptr);
    // Saved (the copy went with the save) or not wanted: no copy to offer next time.
    m_recovery->Discard();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    for (const QUrl& url : event->mimeData()->urls()) {
        if (IsProjectUrl(url)) {
            event->acceptProposedAction();
            return;
        }
    }
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    if (OpenDroppedFiles(event->mimeData()->urls()))
        event->acceptProposedAction();
}

bool CMainFrame::OpenDroppedFiles(const QList<QUrl>& urls)
{
    // Only projects: a picture dropped here is not something to open.
    for (const QUrl& url : urls) {
        if (!IsProjectUrl(url))
            continue;
        if (SaveModifiedBeforeReplace())
            OpenFile(url.toLocalFile());
        return true;
    }
    return false;
}
