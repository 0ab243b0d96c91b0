#pragma once

#include <QDialog>

#include <functional>

class CLumivantDoc;
class CScreen;
class CTimetablePage;
class IOperationUi;
class QComboBox;
class QLabel;
class QRadioButton;
class QVBoxLayout;

// Brightness: at once (manual) or by a daily timetable of six rows (timing). Nothing is
// sent until a page's OK; what it stores in the screen is one undo step of the document.
class CBrightnessDlg final : public QDialog
{
    Q_OBJECT
public:
    CBrightnessDlg(CLumivantDoc& doc, CScreen& screen, IOperationUi& ui, QWidget* parent = nullptr);

private:
    void ShowPage(bool timing);
    // Stores (and sends) through the document as one step.
    void Store(const std::function<bool()>& operation);

    CLumivantDoc& m_doc;
    CScreen& m_screen;
    IOperationUi& m_ui;
    QRadioButton* m_manual = nullptr;
    QRadioButton* m_timing = nullptr;
    QLabel* m_status = nullptr;
    QWidget* m_frame = nullptr;
    QVBoxLayout* m_frameLayout = nullptr;
    QWidget* m_page = nullptr;
};

// On / Off: switch the display at once (manual) or by a timetable of four rows (timing).
class COnOffDlg final : public QDialog
{
    Q_OBJECT
public:
    COnOffDlg(CLumivantDoc& doc, CScreen& screen, IOperationUi& ui, QWidget* parent = nullptr);

private:
    void ShowPage(bool timing);
    // Stores (and sends) through the document as one step.
    void Store(const std::function<bool()>& operation);

    CLumivantDoc& m_doc;
    CScreen& m_screen;
    IOperationUi& m_ui;
    QRadioButton* m_manual = nullptr;
    QRadioButton* m_timing = nullptr;
    QLabel* m_status = nullptr;
    QWidget* m_manualPage = nullptr;
    CTimetablePage* m_timingPage = nullptr;
};
