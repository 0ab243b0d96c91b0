#include "comm/comm_port.h"

#include "base/string_table.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <atomic>

namespace {
std::atomic<bool> g_cancel{false};
thread_local std::atomic<bool>* t_cancel = nullptr;

std::atomic<bool>& CancelFlag()
{
    return t_cancel ? *t_cancel : g_cancel;
}
} // namespace

void SetCommCancel(bool cancel)
{
    CancelFlag() = cancel;
}

bool CommCancelled()
{
    return CancelFlag();
}

CThreadCommCancel::CThreadCommCancel(std::atomic<bool>& flag) : m_previous(t_cancel)
{
    t_cancel = &flag;
}

CThreadCommCancel::~CThreadCommCancel()
{
    t_cancel = m_previous;
}

void PumpEvents()
{
    // Only the thread that owns the application processes its events.
    if (auto* app = QCoreApplication::instance(); app && app->thread() == QThread::currentThread())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void PumpedWait(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        PumpEvents();
        const qint64 left = milliseconds - timer.elapsed();
        if (left <= 0)
            break;
        QThread::msleep(static_cast<unsigned long>(std::min<qint64>(left, 10)));
    }
}

CCommPort::~CCommPort() = default;

void CCommPort::UpdateHealth(bool ok)
{
    if (ok) {
        m_failures = 0;
        m_connected = 1;
        return;
    }
    ++m_failures;
    if (m_failures > 2)
        m_connected = 0;
}

bool CCommPort::Fail(int messageId, int osCode)
{
    QString text = LoadString(messageId);
    if (text.contains(QStringLiteral("%d")))
        text.replace(QStringLiteral("%d"), QString::number(osCode));
    FailWithText(text, osCode);
    return false;
}

void CCommPort::FailWithText(const QString& text, int osCode)
{
    m_errorCode = osCode;
    m_errorText = text.left(255);
}

void CCommPort::ClearError()
{
    m_errorCode = 0;
    m_errorText.clear();
}
