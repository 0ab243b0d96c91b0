#pragma once

#include <QString>

#include <functional>

class CLumivantDoc;
class CScreen;
class QWidget;

// The delivery, search and maintenance commands of the main window, each with its dialog
// or message. The main window stops the preview before calling them.

// Send All Selected To Panel: the progress dialog for every marked screen, the failure
// list, "Must select a Panel!" when none is marked.
void RunSendAll(CLumivantDoc& doc, QWidget* parent);
// Export To USB Disk: the overlap question, then the export dialog for the screen.
void RunExportDialog(CLumivantDoc& doc, CScreen& screen, QWidget* parent);
// Search Panel in the progress dialog. What the search finds is kept in the screen as one
// undo step. Returns the link summary for the status bar.
QString RunSearchDialog(CLumivantDoc& doc, CScreen& screen, QWidget* parent);
// Sync Timer, Panel Parameter Reset (after its question), Clear Panel, with the result. What
// the controller reports of itself on the way is kept in the screen as one undo step.
void RunSyncTimer(CLumivantDoc& doc, CScreen& screen, QWidget* parent);
void RunParameterReset(CLumivantDoc& doc, CScreen& screen, QWidget* parent);
void RunClearPanel(CLumivantDoc& doc, CScreen& screen, QWidget* parent);
// The Options dialog; true when the person pressed OK (the settings are then applied and
// written to the settings file).
bool RunOptionsDialog(QWidget* parent);
void ShowAboutBox(QWidget* parent);

// Messages of the core shown as message boxes owned by owner, or, with the setting "tip"
// at 1, as a beep and a text given to showStatus (the main window's status pane).
void InstallDesktopMessageSink(QWidget* owner, std::function<void(const QString&)> showStatus);
