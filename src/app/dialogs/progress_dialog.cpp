#include "app/dialogs/progress_dialog.h"

#include "app/dialogs/desktop_messages.h"
#include "comm/comm_port.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

CProgressDialog::CProgressDialog(int range, Operation operation, QWidget* parent)
    : QDialog(parent), m_operation(std::move(operation)), m_text(new QLabel(this)),
      m_bar(new QProgressBar(this)), m_ok(new QPushButton(this)), m_cancel(new QPushButton(this))
{
    setObjectName(QStringLiteral("progressDialog"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_text->setObjectName(QStringLiteral("progressText"));
    m_text->setMinimumWidth(320);
    m_text->setWordWrap(true);
    m_bar->setObjectName(QStringLiteral("progressBar"));
    m_bar->setTextVisible(false);
    m_bar->setRange(0, range);
    m_bar->setValue(0);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_ok->setAutoDefault(false);
    m_cancel->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_bar);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, [this] {
        if (!m_running)
            accept();
    });
    connect(m_cancel, &QPushButton::clicked, this, [this] { RequestCancel(); });
    EnableButtons(false, true);
    retranslateUi();
}

void CProgressDialog::retranslateUi()
{
    setWindowTitle(tr("Progress"));
    m_ok->setText(tr("OK"));
    m_cancel->setText(tr("Cancel"));
}

void CProgressDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

void CProgressDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_started)
        return;
    m_started = true;
    QTimer::singleShot(kStartDelayMs, this, [this] { RunOperation(); });
}

void CProgressDialog::RunOperation()
{
    m_running = true;
    const Ending ending = m_operation ? m_operation(*this) : Ending::Reject;
    m_running = false;
    m_finished = true;
    EnableButtons(true, false);
    if (ending == Ending::Accept)
        accept();
    else if (ending == Ending::Reject)
        done(QDialog::Rejected);
}

void CProgressDialog::RequestCancel()
{
    m_cancelled = true;
    m_abortAll = true;
    SetCommCancel(true);
}

void CProgressDialog::reject()
{
    // Escape: while the operation runs it only asks it to stop.
    if (!m_finished) {
        RequestCancel();
        return;
    }
    QDialog::reject();
}

void CProgressDialog::closeEvent(QCloseEvent* event)
{
    if (!m_finished) {
        RequestCancel();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void CProgressDialog::EnableButtons(bool ok, bool cancel)
{
    m_ok->setEnabled(ok);
    m_cancel->setEnabled(cancel);
    if (ok)
        m_ok->setFocus();
    else if (cancel)
        m_cancel->setFocus();
    m_ok->setDefault(ok);
}

void CProgressDialog::SetRange(int maximum)
{
    m_bar->setRange(0, maximum);
}

bool CProgressDialog::Update(int position, const QString& text)
{
    ++m_updates;
    m_text->setText(text);
    m_bar->setValue(qBound(m_bar->minimum(), position, m_bar->maximum()));
    PumpEvents();
    return m_cancelled;
}

Answer CProgressDialog::Ask(const QString& text)
{
    return AskDesktopQuestion(this, text);
}

void CProgressDialog::Inform(const QString& text)
{
    ShowDesktopMessage(this, text, {}, MessageKind::Information);
}

void CProgressDialog::Warn(const QString& text)
{
    ShowDesktopMessage(this, text, {}, MessageKind::Warning);
}

void CProgressDialog::Beep(MessageKind)
{
    QApplication::beep();
}
