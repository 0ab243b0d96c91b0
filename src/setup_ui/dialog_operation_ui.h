#pragma once

#include "base/operation_ui.h"

class QWidget;

// Results and questions of the controller setup forms as message boxes over the form,
// with the sound of their kind; results go to the main window's status bar instead when
// the "tip" setting asks for it.
class CDialogOperationUi final : public IOperationUi
{
public:
    explicit CDialogOperationUi(QWidget* parent) : m_parent(parent) {}

    void SetRange(int) override {}
    bool Update(int, const QString&) override { return false; }
    Answer Ask(const QString& text) override;
    void Inform(const QString& text) override;
    void Warn(const QString& text) override;
    void Beep(MessageKind kind) override;

private:
    QWidget* m_parent;
};
