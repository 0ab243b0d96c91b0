#include "app/shell_commands.h"

// Filled in with the dialogs of the delivery and maintenance commands.
void RunSendAll(CLumivantDoc&, QWidget*) {}
void RunExportDialog(CLumivantDoc&, CScreen&, QWidget*) {}
QString RunSearchDialog(CLumivantDoc&, CScreen&, QWidget*)
{
    return {};
}
void RunSyncTimer(CScreen&, QWidget*) {}
void RunParameterReset(CScreen&, QWidget*) {}
void RunClearPanel(CScreen&, QWidget*) {}
bool RunOptionsDialog(QWidget*)
{
    return false;
}
void ShowAboutBox(QWidget*) {}
void InstallDesktopMessageSink(QWidget*, std::function<void(const QString&)>) {}
