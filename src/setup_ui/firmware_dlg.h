#pragma once

#include <QDialog>

class CScreen;
class IOperationUi;
class QLabel;
class QLineEdit;
class QPushButton;

// Firmware Update: a package file, its password, Start, and the status line that follows
// the update.
class CFirmwareDlg final : public QDialog
{
    Q_OBJECT
public:
    CFirmwareDlg(CScreen& screen, IOperationUi& ui, QWidget* parent = nullptr);

    // The chunk size setting ("pkg") the update uses.
    void SetPackageSetting(int pkg) { m_pkg = pkg; }

private:
    void OnBrowse();
    void OnStart();

    CScreen& m_screen;
    IOperationUi& m_ui;
    int m_pkg = 128;
    QLineEdit* m_file = nullptr;
    QLineEdit* m_password = nullptr;
    QLabel* m_status = nullptr;
};
