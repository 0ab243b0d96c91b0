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

// Whether this build has the command's dialog.
bool SetupCommandAvailable(SetupCommand command);

// Runs the command on the screen, opening and closing its link around it as the command
// needs. The main window has stopped the preview. True when the project changed (screens
// added or removed, sizes or colours changed): the views are then rebuilt.
bool RunSetupCommand(SetupCommand command, CScreen& screen, CLumivantDoc& doc, QWidget* parent);
