#include "setup_ui/firmware_dlg.h"

#include "base/operation_ui.h"
#include "comm/firmware_update_link.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The update's progress and status texts on the form's status line; its messages and
// questions go to the form's interface.
class StatusLineUi final : public IOperationUi
{
public:
    StatusLineUi(QLabel& status, IOperationUi& messages) : m_status(status), m_messages(messages) {}
    void SetRange(int) override {}
    bool Update(int, const QString& text) override
    {
        m_status.setText(text);
        QApplication::processEvents();
        return false;
    }
    Answer Ask(const QString& text) override { return m_messages.Ask(text); }
    void Inform(const QString& text) override { m_messages.Inform(text); }
    void Warn(const QString& text) override { m_messages.Warn(text); }
    void Beep(MessageKind kind) override { m_messages.Beep(kind); }

private:
    QLabel& m_status;
    IOperationUi& m_messages;
};

} // namespace

CFirmwareDlg::CFirmwareDlg(CScreen& screen, IOperationUi& ui, QWidget* parent)
    : QDialog(parent), m_screen(screen), m_ui(ui)
{
    setWindowTitle(tr("Firmware Update"));
    setObjectName(QStringLiteral("firmwareDialog"));
    m_file = new QLineEdit(this);
    m_file->setObjectName(QStringLiteral("file"));
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("password"));
    m_password->setEchoMode(QLineEdit::Password);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    auto* browse = new QPushButton(tr("Browse..."), this);
    browse->setObjectName(QStringLiteral("browse"));
    auto* start = new QPushButton(tr("Start"), this);
    start->setObjectName(QStringLiteral("start"));
    auto* close = new QPushButton(tr("Close"), this);
    close->setObjectName(QStringLiteral("close"));
    for (QPushButton* button : {browse, start, close})
        button->setAutoDefault(false);

    auto* grid = new QGridLayout;
    auto* fileLabel = new QLabel(tr("File:"), this);
    fileLabel->setBuddy(m_file);
    grid->addWidget(fileLabel, 0, 0);
    grid->addWidget(m_file, 0, 1);
    grid->addWidget(browse, 0, 2);
    auto* passwordLabel = new QLabel(tr("Password:"), this);
    passwordLabel->setBuddy(m_password);
    grid->addWidget(passwordLabel, 1, 0);
    grid->addWidget(m_password, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(start);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_status);
    layout->addLayout(buttons);

    connect(browse, &QPushButton::clicked, this, &CFirmwareDlg::OnBrowse);
    connect(start, &QPushButton::clicked, this, &CFirmwareDlg::OnStart);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void CFirmwareDlg::OnBrowse()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Firmware Update"), QString(),
                                                      QStringLiteral("*.rzbin"));
    if (!path.isEmpty())
        m_file->setText(path);
}

void CFirmwareDlg::OnStart()
{
    setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    StatusLineUi ui(*m_status, m_ui);
    UpdateFirmware(m_screen, ui, m_file->text(), m_password->text(), m_pkg);
    QApplication::restoreOverrideCursor();
    setEnabled(true);
}
