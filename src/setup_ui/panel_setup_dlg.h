#pragma once

#include "setup_ui/auto_switch_clock.h"
#include "setup_ui/panel_drive_controls.h"

#include "comm/panel_setup.h"
#include "config/model_info.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

class CLumivantDoc;
class CScreen;
class IOperationUi;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QWidget;

// The single-screen Panel Setup: controller model, size, colours, polarities, clock,
// blanking and scan type, sent with Setup and read with Read Back, plus the automatic trial
// of one scan type after another on a live panel. Stays open after Setup. What it stores
// goes through the document: Setup, Read Back and a whole automatic trial are one undo step
// each.
class CPanelSetupDlg final : public QDialog
{
    Q_OBJECT
public:
    CPanelSetupDlg(CLumivantDoc& doc, CScreen& screen, IOperationUi& ui, QWidget* parent = nullptr);

    bool IsAutoSwitchRunning() const { return m_running; }
    // The longest tick and the switch interval of the automatic trial (a second, and the
    // Interval list's seconds); tests shorten them.
    void SetAutoSwitchTiming(int tickMs, int intervalMs);

private:
    void BuildControls();
    void LoadControls();
    PanelSetupValues ValuesFromControls() const;
    void OnControllerChanged();
    void OnSetup();
    void OnReadBack();
    void OnToggleAutoSwitch();
    void OnStartStop();
    void StartAutoSwitch();
    void StopAutoSwitch();
    void OnTick();
    QString StepName() const;
    void ShowModelDetails(const CModelInfo& model);
    void SetControlsEnabled(bool enabled);

    CLumivantDoc& m_doc;
    CScreen& m_screen;
    IOperationUi& m_ui;
    bool m_ready = false;
    bool m_busy = false;
    bool m_groupVisible = false;
    bool m_running = false;
    int m_tickMs = 1000;
    int m_intervalOverrideMs = 0;
    int m_trialMerge = 0; // one undo step for one run of the trial
    CAutoSwitchClock m_switchClock;
    int m_nextRow = 0;
    QString m_statusTemplate;
    QElapsedTimer m_clock;
    QTimer m_timer;

    PanelDriveControls m_drive;
    QComboBox* m_scanType = nullptr;
    QLabel* m_properties = nullptr;
    QLabel* m_wiring = nullptr;
    QPushButton* m_setup = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_readBack = nullptr;
    QPushButton* m_autoSwitch = nullptr;
    QWidget* m_autoGroup = nullptr;
    QComboBox* m_interval = nullptr;
    QPushButton* m_startStop = nullptr;
    QLabel* m_status = nullptr;
};
