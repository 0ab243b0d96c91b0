#pragma once

#include <QDialog>

class CLumivantDoc;
class CScreen;
class IOperationUi;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

// The controller's own serial settings: its baud rate and panel ID. What Setup stores in the
// screen is one undo step of the document.
class CSerialControllerDlg final : public QDialog
{
    Q_OBJECT
public:
    CSerialControllerDlg(CLumivantDoc& doc, CScreen& screen, IOperationUi& ui,
                         QWidget* parent = nullptr);

private:
    void OnSetup();

    CLumivantDoc& m_doc;
    CScreen& m_screen;
    IOperationUi& m_ui;
    QComboBox* m_baud = nullptr;
    QSpinBox* m_panelId = nullptr;
};

// The controller's own network settings: its IP and MAC address, whether the PC assigns
// its IP, and its panel ID. The MAC field is unlocked by a double click.
class CNetworkControllerDlg final : public QDialog
{
    Q_OBJECT
public:
    CNetworkControllerDlg(CLumivantDoc& doc, CScreen& screen, IOperationUi& ui,
                          QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnSetup();

    CLumivantDoc& m_doc;
    CScreen& m_screen;
    IOperationUi& m_ui;
    bool m_macChanged = false;
    QCheckBox* m_assignIp = nullptr;
    QLineEdit* m_ip = nullptr;
    QLineEdit* m_mac = nullptr;
    QSpinBox* m_panelId = nullptr;
};
