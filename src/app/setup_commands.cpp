#include "app/setup_commands.h"

#include "app/dialogs/desktop_messages.h"
#include "base/app_settings.h"
#include "comm/controller_link.h"
#include "config/access_codes.h"
#include "document/lumivant_doc.h"
#include "model/screen.h"
#include "setup_ui/advanced_setup_dlg.h"
#include "setup_ui/brightness_dlg.h"
#include "setup_ui/comm_setup_dlg.h"
#include "setup_ui/firmware_dlg.h"
#include "setup_ui/panel_setup_dlg.h"
#include "setup_ui/password_dlg.h"
#include "setup_ui/setup_steps.h"

namespace {

// Panel Setup and Advanced Setup start from the controller's values when its link is known
// to answer.
void ReadWhenConnected(CLumivantDoc& doc, CScreen& screen)
{
    CControllerLink& link = LinkOf(screen);
    if (link.IsLinkConnected() && link.OpenLink())
        SetupSteps::ReadParams(doc, screen);
}

void RunDialog(SetupCommand command, CScreen& screen, CLumivantDoc& doc, QWidget* parent)
{
    CDesktopOperationUi ui(parent);
    switch (command) {
    case SetupCommand::PanelSetup:
        ReadWhenConnected(doc, screen);
        if (CPasswordDlg::AskAccessCode(parent, AccessCodes::PanelSetup())) {
            CPanelSetupDlg dialog(doc, screen, ui, parent);
            dialog.exec();
        }
        return;
    case SetupCommand::AdvancedSetup:
        ReadWhenConnected(doc, screen);
        if (CPasswordDlg::AskAccessCode(parent, AccessCodes::AdvancedSetup())) {
            CAdvancedSetupDlg dialog(doc, screen, ui, parent);
            dialog.exec();
        }
        return;
    case SetupCommand::CommunicationSetup: {
        CCommSetupDlg dialog(doc, screen, ui, CCommSetupDlg::Opening::ToolsMenu, parent);
        dialog.exec();
        return;
    }
    case SetupCommand::Brightness: {
        LinkOf(screen).OpenLink();
        CBrightnessDlg dialog(doc, screen, ui, parent);
        dialog.exec();
        return;
    }
    case SetupCommand::PowerOnOff: {
        LinkOf(screen).OpenLink();
        COnOffDlg dialog(doc, screen, ui, parent);
        dialog.exec();
        return;
    }
    case SetupCommand::FirmwareUpdate: {
        SetupSteps::ReadParams(doc, screen);
        if (!CPasswordDlg::AskAccessCode(parent, AccessCodes::FirmwareUpdate()))
            return;
        CFirmwareDlg dialog(screen, ui, parent);
        dialog.SetPackageSetting(Settings().pkg);
        // The update reads the controller's block and identity on its way.
        doc.ChangeScreenSettings(
            screen, SetupSteps::Named(dialog.windowTitle(), screen),
            [&] { return dialog.exec() == QDialog::Accepted; }, CLumivantDoc::CardWrite::None);
        return;
    }
    }
}

} // namespace

void RunSetupCommand(SetupCommand command, CScreen& screen, CLumivantDoc& doc, QWidget* parent)
{
    const CProjectObject::Id id = screen.GetId();
    RunDialog(command, screen, doc, parent);
    // The screen may have left the project (-Panel); only a screen still in it is touched.
    if (CProjectObject* still = doc.FindObject(id))
        LinkOf(static_cast<CScreen&>(*still)).CloseLink();
}
