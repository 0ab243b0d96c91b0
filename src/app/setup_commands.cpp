#include "app/setup_commands.h"

#include "app/dialogs/desktop_messages.h"
#include "base/app_settings.h"
#include "comm/controller_link.h"
#include "config/access_codes.h"
#include "document/lumivant_doc.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "setup_ui/advanced_setup_dlg.h"
#include "setup_ui/brightness_dlg.h"
#include "setup_ui/comm_setup_dlg.h"
#include "setup_ui/firmware_dlg.h"
#include "setup_ui/panel_setup_dlg.h"
#include "setup_ui/password_dlg.h"

namespace {

// What of a screen the commands may change, to tell whether the project changed.
struct ScreenState
{
    explicit ScreenState(const CScreen& screen)
        : params(screen.Params()), link(screen.Link()), identity(screen.Identity())
    {}
    bool operator==(const ScreenState& other) const
    {
        return params == other.params && identity == other.identity &&
               link.linkKind == other.link.linkKind && link.comPort == other.link.comPort &&
               link.baudRate == other.link.baudRate && link.remoteIp == other.link.remoteIp &&
               link.panelId == other.link.panelId && link.remotePort == other.link.remotePort;
    }
    ControllerParams params;
    LinkSettings link;
    std::array<std::uint8_t, 5> identity;
};

// Panel Setup and Advanced Setup start from the controller's values when its link is known
// to answer.
void ReadWhenConnected(CScreen& screen)
{
    CControllerLink& link = LinkOf(screen);
    if (link.IsLinkConnected() && link.OpenLink())
        link.ReadParams();
}

bool RunAdvancedSetupCommand(CScreen& screen, CLumivantDoc& doc, IOperationUi& ui, QWidget* parent)
{
    CAdvancedSetupDlg dialog(doc.Root(), screen, ui, parent);
    QObject::connect(&dialog, &CAdvancedSetupDlg::ScreenAboutToBeRemoved, &doc,
                     [&doc](CScreen* leaving) {
                         if (doc.CurrentScreen() == leaving)
                             doc.SetCurrentObject(nullptr);
                     });
    dialog.exec();
    return dialog.ScreensChanged();
}

// Runs the command's dialog; true when screens were added or removed.
bool RunDialog(SetupCommand command, CScreen& screen, CLumivantDoc& doc, QWidget* parent)
{
    CDesktopOperationUi ui(parent);
    switch (command) {
    case SetupCommand::PanelSetup: {
        ReadWhenConnected(screen);
        if (CPasswordDlg::AskAccessCode(parent, AccessCodes::PanelSetup())) {
            CPanelSetupDlg dialog(screen, ui, parent);
            // The views and the preview follow each Setup while the form stays open.
            QObject::connect(&dialog, &CPanelSetupDlg::ScreenChanged, &doc, [&doc, &screen] {
                doc.NotifyChanged(screen, RefreshCode::Geometry, true);
            });
            dialog.exec();
        }
        return false;
    }
    case SetupCommand::AdvancedSetup:
        ReadWhenConnected(screen);
        if (!CPasswordDlg::AskAccessCode(parent, AccessCodes::AdvancedSetup()))
            return false;
        return RunAdvancedSetupCommand(screen, doc, ui, parent);
    case SetupCommand::CommunicationSetup: {
        CCommSetupDlg dialog(screen, ui, CCommSetupDlg::Opening::ToolsMenu, parent);
        dialog.exec();
        return false;
    }
    case SetupCommand::Brightness: {
        LinkOf(screen).OpenLink();
        CBrightnessDlg dialog(screen, ui, parent);
        dialog.exec();
        return false;
    }
    case SetupCommand::PowerOnOff: {
        LinkOf(screen).OpenLink();
        COnOffDlg dialog(screen, ui, parent);
        dialog.exec();
        return false;
    }
    case SetupCommand::FirmwareUpdate: {
        LinkOf(screen).ReadParams();
        if (!CPasswordDlg::AskAccessCode(parent, AccessCodes::FirmwareUpdate()))
            return false;
        CFirmwareDlg dialog(screen, ui, parent);
        dialog.SetPackageSetting(Settings().pkg);
        dialog.exec();
        return false;
    }
    }
    return false;
}

} // namespace

bool SetupCommandAvailable(SetupCommand)
{
    return true;
}

bool RunSetupCommand(SetupCommand command, CScreen& screen, CLumivantDoc& doc, QWidget* parent)
{
    const ScreenState before(screen);
    const bool screensChanged = RunDialog(command, screen, doc, parent);
    // The screen may have left the project (-Panel); only a screen still in it is touched.
    bool stillThere = false;
    for (int i = 0; i < doc.Root().GetChildCount(); ++i)
        stillThere = stillThere || doc.Root().GetChild(i) == &screen;
    bool changed = screensChanged;
    if (stillThere) {
        LinkOf(screen).CloseLink();
        changed = changed || !(ScreenState(screen) == before);
    }
    if (changed)
        doc.SetModified();
    return changed;
}
