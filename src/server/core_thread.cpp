#include "server/core_thread.h"

#include "base/string_table.h"

#include <QThread>

CCoreThread::CCoreThread() = default;
CCoreThread::~CCoreThread() = default;

bool CCoreThread::Run(const std::function<void()>& task)
{
    if (m_stopped)
        return false;
    if (QThread::currentThread() == m_context.thread()) {
        task();
        return true;
    }
    // The texts the task makes come in the language of the request it serves.
    const Language language = CurrentLanguage();
    return QMetaObject::invokeMethod(
        &m_context,
        [&task, language] {
            const CThreadLanguage own(language);
            task();
        },
        Qt::BlockingQueuedConnection);
}
