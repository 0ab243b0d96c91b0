#pragma once

class CLumivantDoc;
class CScreen;
class QWidget;

// The controller configuration commands of the Tools menu, each with its dialog.
enum class SetupCommand {
    PanelSetup,
    AdvancedSetup,
    CommunicationSetup,
    Brightness,
    PowerOnOff,
    FirmwareUpdate,
};

// Runs the command on the screen, opening and closing its link around it as the command
// needs. The main window has stopped the preview. What the dialogs store goes through the
// document, whose signals tell the views.
void RunSetupCommand(SetupCommand command, CScreen& screen, CLumivantDoc& doc, QWidget* parent);
