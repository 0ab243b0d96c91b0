#include "setup_ui/dialog_operation_ui.h"

#include "base/app_settings.h"

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>

namespace {

// With the "tip" setting at 1 results go to the main window's status bar (after their
// beep) instead of a message box.
bool ShowInStatusBar(QWidget* parent, const QString& text)
{
    if (Settings().tip != 1 || !parent)
        return false;
    auto* main = qobject_cast<QMainWindow*>(parent->window());
    if (!main)
        return false;
    main->statusBar()->showMessage(QString(text).replace(u'\n', u' '));
    return true;
}

} // namespace

Answer CDialogOperationUi::Ask(const QString& text)
{
    return QMessageBox::warning(m_parent, QApplication::applicationDisplayName(), text,
                                QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes
               ? Answer::Yes
               : Answer::No;
}

void CDialogOperationUi::Inform(const QString& text)
{
    if (ShowInStatusBar(m_parent, text))
        return;
    QMessageBox::information(m_parent, QApplication::applicationDisplayName(), text);
}

void CDialogOperationUi::Warn(const QString& text)
{
    if (ShowInStatusBar(m_parent, text))
        return;
    QMessageBox::warning(m_parent, QApplication::applicationDisplayName(), text);
}

void CDialogOperationUi::Beep(MessageKind)
{
    QApplication::beep();
}
