#include "setup_ui/dialog_operation_ui.h"

#include <QApplication>
#include <QMessageBox>

Answer CDialogOperationUi::Ask(const QString& text)
{
    return QMessageBox::warning(m_parent, QApplication::applicationDisplayName(), text,
                                QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes
               ? Answer::Yes
               : Answer::No;
}

void CDialogOperationUi::Inform(const QString& text)
{
    QMessageBox::information(m_parent, QApplication::applicationDisplayName(), text);
}

void CDialogOperationUi::Warn(const QString& text)
{
    QMessageBox::warning(m_parent, QApplication::applicationDisplayName(), text);
}

void CDialogOperationUi::Beep(MessageKind)
{
    QApplication::beep();
}
