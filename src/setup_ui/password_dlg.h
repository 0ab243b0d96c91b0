#pragma once

#include <QDialog>
#include <QStringList>

class QLineEdit;

// The access-code prompt in front of the controller configuration commands.
class CPasswordDlg final : public QDialog
{
    Q_OBJECT
public:
    explicit CPasswordDlg(QWidget* parent = nullptr);
    // The typed text after OK, empty after Cancel.
    QString Password() const;

    // Shows the prompt; true when it ended with OK and one of the codes.
    static bool AskAccessCode(QWidget* parent, const QStringList& codes);

private:
    QLineEdit* m_edit;
};
