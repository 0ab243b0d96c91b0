#pragma once

#include "base/operation_ui.h"

#include <QDialog>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

// The "Progress" dialog of a long controller operation (a send, a search): a text line, a
// bar, OK and Cancel. The operation starts 400 ms after the dialog opens and ends the
// dialog itself, or leaves it open for the person to press OK. Cancel, Escape and the
// close box only raise the cancel flags, which the operation polls; the dialog cannot be
// closed while the operation runs.
class CProgressDialog final : public QDialog, public IOperationUi
{
    Q_OBJECT

public:
    static constexpr int kStartDelayMs = 400;

    // What the operation asks of the dialog when it returns.
    enum class Ending { Accept, Reject, StayOpen };
    using Operation = std::function<Ending(CProgressDialog&)>;

    CProgressDialog(int range, Operation operation, QWidget* parent = nullptr);

    bool Cancelled() const { return m_cancelled; }
    // Set by Cancel and never cleared: stops the screens still to come.
    bool AbortAll() const { return m_abortAll; }
    bool Finished() const { return m_finished; }
    // How often the operation has shown its progress.
    int UpdateCount() const { return m_updates; }

    // OK and Cancel: one of them is enabled and has the focus.
    void EnableButtons(bool ok, bool cancel);

    void SetRange(int maximum) override;
    bool Update(int position, const QString& text) override;
    Answer Ask(const QString& text) override;
    void Inform(const QString& text) override;
    void Warn(const QString& text) override;
    void Beep(MessageKind kind) override;

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void retranslateUi();
    void RunOperation();
    void RequestCancel();

    Operation m_operation;
    QLabel* m_text;
    QProgressBar* m_bar;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    bool m_started = false;
    bool m_running = false;
    bool m_finished = false;
    bool m_cancelled = false;
    bool m_abortAll = false;
    int m_updates = 0;
};
