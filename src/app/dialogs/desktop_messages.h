#pragma once

#include "base/operation_ui.h"

#include <QString>

#include <functional>

class QWidget;

// Shows a message of the program the way the setting "tip" asks: 0 a message box owned by
// owner (information or warning icon), 1 a beep and the text in the main window's status
// pane (through the status callback, else the status bar of owner's main window). An empty text
// shows "Runtime error : #001" in a plain box.
void ShowDesktopMessage(QWidget* owner, const QString& text, const QString& caption,
                        MessageKind kind);

// Where ShowDesktopMessage puts the status text with "tip" at 1.
void SetDesktopStatusCallback(std::function<void(const QString&)> showStatus);

// Routes the core's messages (ShowMessage) to ShowDesktopMessage with owner.
void InstallDesktopSinks(QWidget* owner);

// A yes/no question; always a message box, whatever "tip" says.
Answer AskDesktopQuestion(QWidget* owner, const QString& text, const QString& caption = {});

// The desktop face of a short controller command: questions as boxes, results through
// ShowDesktopMessage, no progress of its own.
class CDesktopOperationUi : public IOperationUi
{
public:
    explicit CDesktopOperationUi(QWidget* owner) : m_owner(owner) {}

    // Questions with OK and Cancel and the exclamation icon instead of Yes and No.
    void AskWithOkCancel(bool okCancel) { m_okCancel = okCancel; }

    void SetRange(int) override {}
    bool Update(int, const QString&) override { return false; }
    Answer Ask(const QString& text) override;
    void Inform(const QString& text) override;
    void Warn(const QString& text) override;
    void Beep(MessageKind kind) override;

private:
    QWidget* m_owner;
    bool m_okCancel = false;
};
