#include "setup_ui/password_dlg.h"

#include "config/access_codes.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QVBoxLayout>

CPasswordDlg::CPasswordDlg(QWidget* parent) : QDialog(parent), m_edit(new QLineEdit(this))
{
    setWindowTitle(tr("Password"));
    setObjectName(QStringLiteral("passwordDialog"));
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    m_edit->setObjectName(QStringLiteral("password"));
    m_edit->setEchoMode(QLineEdit::Password);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* text = new QVBoxLayout;
    auto* prompt = new QLabel(tr("Please input password:"), this);
    prompt->setBuddy(m_edit);
    text->addWidget(prompt);
    text->addWidget(m_edit);
    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addLayout(text);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

QString CPasswordDlg::Password() const
{
    return result() == QDialog::Accepted ? m_edit->text() : QString();
}

bool CPasswordDlg::AskAccessCode(QWidget* parent, const QStringList& codes)
{
    CPasswordDlg dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return AccessCodes::Accepts(codes, dialog.Password());
}
