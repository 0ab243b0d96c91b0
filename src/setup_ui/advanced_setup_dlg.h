#pragma once

#include "setup_ui/panel_drive_controls.h"

#include "comm/panel_setup.h"

#include <QDialog>

class CLumivantDoc;
class CScreen;
class IOperationUi;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

// The multi-screen Advanced Setup: every display-driving field of the selected screen,
// the screens of the project with +Panel and -Panel, and the screen's communication. Every
// change goes through the document (the screens come and go as undo steps, and the views
// let go of a screen before it leaves).
class CAdvancedSetupDlg final : public QDialog
{
    Q_OBJECT
public:
    CAdvancedSetupDlg(CLumivantDoc& doc, CScreen& screen, IOperationUi& ui,
                      QWidget* parent = nullptr);

    CScreen* SelectedScreen() const;

private:
    void BuildControls();
    void FillPanelList();
    void LoadSelected();
    AdvancedSetupValues ValuesFromControls() const;
    void UpdateWarpControls();
    void OnSetup();
    void OnAddPanel();
    void OnRemovePanel();
    void OnCommunicationSetup();

    CLumivantDoc& m_doc;
    CScreen* m_screen;
    IOperationUi& m_ui;
    bool m_ready = false;

    QListWidget* m_panels = nullptr;
    PanelDriveControls m_drive;
    QSpinBox* m_rowOrder = nullptr;
    QComboBox* m_rowEncoder = nullptr;
    QComboBox* m_mirror8bit = nullptr;
    QComboBox* m_mirrorUpDown = nullptr;
    QComboBox* m_pixels = nullptr;
    QLabel* m_communication = nullptr;
    QComboBox* m_scanType = nullptr;
    QComboBox* m_warpMode = nullptr;
    QComboBox* m_warpNum = nullptr;
    QComboBox* m_warpBit = nullptr;
};
