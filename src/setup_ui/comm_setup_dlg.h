#pragma once

#include <QDialog>

class CLumivantDoc;
struct LinkSetupValues;
class CScreen;
class IOperationUi;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

// Communication Setup: how the PC reaches the screen's controller (serial port and baud
// rate, or network address), the panel ID, and behind an access code the controller's own
// settings (Config...). What Save stores goes through the document as one undo step.
class CCommSetupDlg final : public QDialog
{
    Q_OBJECT
public:
    enum class Opening {
        ToolsMenu,      // panel ID read-only
        ExistingScreen, // from Advanced Setup: panel ID editable
        NewScreen,      // +Panel: panel ID editable, no Config...
    };

    CCommSetupDlg(CLumivantDoc& doc, CScreen& screen, IOperationUi& ui, Opening opening,
                  QWidget* parent = nullptr);

private:
    void BuildControls();
    void Refresh();
    // The form's values; false (with the reason shown) when the remote port is not a port.
    bool ReadControls(LinkSetupValues& values);
    // Stores the values and tests the connection, as one undo step; true when the
    // controller answered.
    bool StoreAndTest(const LinkSetupValues& values);
    void OnSave();
    void OnConfig();

    CLumivantDoc& m_doc;
    CScreen& m_screen;
    IOperationUi& m_ui;
    Opening m_opening;

    QRadioButton* m_serial = nullptr;
    QRadioButton* m_network = nullptr;
    QWidget* m_serialGroup = nullptr;
    QWidget* m_networkGroup = nullptr;
    QComboBox* m_port = nullptr;
    QComboBox* m_baud = nullptr;
    QLineEdit* m_remoteIp = nullptr;
    QLineEdit* m_remotePort = nullptr;
    QLineEdit* m_panelId = nullptr;
    QLineEdit* m_timeout = nullptr;
    QComboBox* m_package = nullptr;
    QPushButton* m_config = nullptr;
};
