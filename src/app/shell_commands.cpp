#include "app/shell_commands.h"

#include "app/dialogs/desktop_messages.h"
#include "app/dialogs/export_dialog.h"
#include "app/dialogs/options_dialog.h"
#include "app/dialogs/progress_dialog.h"
#include "base/app_paths.h"
#include "base/messages.h"
#include "base/string_table.h"
#include "comm/comm_port.h"
#include "comm/maintenance_ops.h"
#include "comm/search_panel.h"
#include "comm/search_settings.h"
#include "comm/send_pipeline.h"
#include "document/lumivant_doc.h"
#include "model/object_kind.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"

#include <QApplication>
#include <QMessageBox>

#include <optional>
#include <vector>

namespace {

constexpr int kTextAskOverlap = 41068;
constexpr int kTextNoScreen = 41091;
constexpr int kTextCommandFailed = 43027;
constexpr int kTextFailureList = 43039;
constexpr int kSearchStartRange = 600;

// Keeps the wait cursor up for the life of the object.
class CWaitCursor
{
public:
    CWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CWaitCursor() { QApplication::restoreOverrideCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

std::vector<CScreen*> ScreensOf(CProjectRoot& root)
{
    std::vector<CScreen*> screens;
    for (int i = 0; i < root.GetChildCount(); ++i) {
        CProjectObject* child = root.GetChild(i);
        if (child && child->GetKind() == KindScreen)
            screens.push_back(static_cast<CScreen*>(child));
    }
    return screens;
}

std::vector<CPlayWindow*> WindowsOf(CScreen& screen)
{
    std::vector<CPlayWindow*> windows;
    for (int p = 0; p < screen.GetChildCount(); ++p) {
        CProjectObject* program = screen.GetChild(p);
        if (!program || program->GetKind() != KindProgram)
            continue;
        for (int w = 0; w < program->GetChildCount(); ++w) {
            CProjectObject* window = program->GetChild(w);
            if (window && window->GetKind() == KindWindow)
                windows.push_back(static_cast<CPlayWindow*>(window));
        }
    }
    return windows;
}

bool SameRect(const LedRect& a, const LedRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Fits the screen's windows into it; every window that moves is one edit of the document,
// and all of them together are one undo step.
void FitWindows(CLumivantDoc& doc, CScreen& screen)
{
    const std::vector<CPlayWindow*> windows = WindowsOf(screen);
    std::vector<LedRect> before;
    before.reserve(windows.size());
    for (const CPlayWindow* window : windows)
        before.push_back(window->WindowRect());
    screen.FitWindows();

    std::optional<CChangeGroup> group;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        CPlayWindow& window = *windows[i];
        const LedRect fitted = window.WindowRect();
        if (SameRect(fitted, before[i]))
            continue;
        if (!group)
            group.emplace(doc, QApplication::translate("ShellCommands", "Fit the windows of %1")
                                   .arg(screen.GetName()));
        window.SetWindowRect(before[i]);
        doc.EditObject(window, RefreshCode::Geometry, true,
                       [&window, fitted] { window.SetWindowRect(fitted); });
    }
}

// One screen in the progress dialog; true when all its data arrived.
bool SendScreenInDialog(CSendPipeline& pipeline, CScreen& screen, QWidget* parent, bool& abortAll)
{
    SetCommCancel(false);
    bool sent = false;
    CProgressDialog dialog(
        CSendPipeline::kProgressRange,
        [&](CProgressDialog& progress) {
            sent = pipeline.SendScreen(screen, progress);
            if (sent)
                return CProgressDialog::Ending::Accept;
            // A link that would not open leaves its warning and the dialog for OK.
            const bool openFailed =
                progress.UpdateCount() == 0 &&
                pipeline.FailureText().startsWith(LoadString(kTextCommandFailed));
            return openFailed ? CProgressDialog::Ending::StayOpen : CProgressDialog::Ending::Reject;
        },
        parent);
    dialog.exec();
    abortAll = dialog.AbortAll() || pipeline.AbortAll();
    SetCommCancel(false);
    return sent;
}

void ShowResultOf(CLumivantDoc& doc, const QString& name,
                  const std::function<bool(CScreen&, IOperationUi&)>& command, CScreen& screen,
                  QWidget* parent, bool okCancel = false)
{
    CDesktopOperationUi ui(parent);
    ui.AskWithOkCancel(okCancel);
    // Every command identifies the controller first, which the screen keeps.
    doc.ChangeScreenSettings(
        screen, QApplication::translate("ShellCommands", "%1 of %2").arg(name, screen.GetName()),
        [&] { return command(screen, ui); }, CLumivantDoc::CardWrite::None);
}

} // namespace

void RunSendAll(CLumivantDoc& doc, QWidget* parent)
{
    doc.FlushPendingRender();
    CSendPipeline pipeline;
    int marked = 0;
    QString failureList;
    {
        CWaitCursor wait;
        for (CScreen* screen : ScreensOf(doc.Root())) {
            if (!screen->GetSelected())
                continue;
            ++marked;
            bool abortAll = false;
            // The send reads the controller's block into the screen.
            const QString what =
                QApplication::translate("ShellCommands", "Parameters of %1 read while sending")
                    .arg(screen->GetName());
            const bool sent = doc.ChangeScreenSettings(
                *screen, what,
                [&] { return SendScreenInDialog(pipeline, *screen, parent, abortAll); },
                CLumivantDoc::CardWrite::None);
            doc.NotifyDelivered(*screen);
            if (sent)
                continue;
            // A cancelled send stops the run without counting as a failure.
            if (abortAll)
                break;
            failureList += QStringLiteral("'%1', ").arg(screen->GetName());
        }
    }
    // The screens were rendered again for the editor as a whole.
    if (marked > 0)
        doc.ForgetPrepared();
    if (marked == 0)
        ShowDesktopMessage(parent, LoadString(kTextNoScreen), {}, MessageKind::Warning);
    else if (!failureList.isEmpty() && doc.Root().GetChildCount() > 1)
        ShowDesktopMessage(parent,
                           LoadString(kTextFailureList).replace(QStringLiteral("%s"), failureList),
                           {}, MessageKind::Warning);
}

void RunExportDialog(CLumivantDoc& doc, CScreen& screen, QWidget* parent)
{
    doc.FlushPendingRender();
    FitWindows(doc, screen);
    doc.FlushPendingRender();
    QString names;
    if (screen.FindOverlap(names) &&
        AskDesktopQuestion(parent,
                           LoadString(kTextAskOverlap).replace(QStringLiteral("%s"), names)) ==
            Answer::Yes)
        return;
    CExportDialog dialog(screen, parent);
    dialog.exec();
    doc.ForgetPrepared();
}

QString RunSearchDialog(CLumivantDoc& doc, CScreen& screen, QWidget* parent)
{
    QString linkStatus;
    const SearchSettings settings = SearchSettings::Load(SettingsFilePath());
    // What the search finds stays in the screen's link settings and parameters: one step.
    const QString what =
        QApplication::translate("ShellCommands", "Panel search for %1").arg(screen.GetName());
    doc.ChangeScreenSettings(
        screen, what,
        [&] {
            SetCommCancel(false);
            bool found = false;
            CProgressDialog dialog(
                kSearchStartRange,
                [&](CProgressDialog& progress) {
                    const SearchOutcome outcome = SearchPanel(screen, progress, settings);
                    linkStatus = outcome.linkStatus;
                    found = outcome.found;
                    return CProgressDialog::Ending::StayOpen;
                },
                parent);
            dialog.exec();
            SetCommCancel(false);
            return found;
        },
        CLumivantDoc::CardWrite::None);
    return linkStatus;
}

void RunSyncTimer(CLumivantDoc& doc, CScreen& screen, QWidget* parent)
{
    ShowResultOf(doc, QApplication::translate("ShellCommands", "Sync Timer"), SyncPanelTime, screen,
                 parent);
}

void RunParameterReset(CLumivantDoc& doc, CScreen& screen, QWidget* parent)
{
    ShowResultOf(doc, QApplication::translate("ShellCommands", "Panel Parameter Reset"),
                 ResetPanelParams, screen, parent, true);
}

void RunClearPanel(CLumivantDoc& doc, CScreen& screen, QWidget* parent)
{
    ShowResultOf(doc, QApplication::translate("ShellCommands", "Clear Panel"), ClearPanel, screen,
                 parent);
}

bool RunOptionsDialog(QWidget* parent)
{
    COptionsDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (!dialog.Apply())
        ShowDesktopMessage(
            parent,
            QApplication::translate("ShellCommands", "The settings file could not be written."), {},
            MessageKind::Warning);
    return true;
}

void ShowAboutBox(QWidget* parent)
{
    QMessageBox box(QMessageBox::Information,
                    QApplication::translate("ShellCommands", "About Lumivant"),
                    QStringLiteral("Lumivant 1.176"), QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("aboutBox"));
    box.exec();
}

void InstallDesktopMessageSink(QWidget* owner, std::function<void(const QString&)> showStatus)
{
    SetDesktopStatusCallback(std::move(showStatus));
    InstallDesktopSinks(owner);
}
