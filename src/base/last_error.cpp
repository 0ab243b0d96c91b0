#include "base/last_error.h"

#include <mutex>

namespace {

constexpr int kLastErrorCapacity = 256;

std::mutex& ErrorMutex()
{
    static std::mutex mutex;
    return mutex;
}

QString& ErrorText()
{
    static QString text;
    return text;
}

} // namespace

void RecordError(const QString& text)
{
    std::lock_guard lock(ErrorMutex());
    // The text lives in a buffer of 256 characters including the terminator.
    ErrorText() =
        text.size() >= kLastErrorCapacity ? QStringLiteral("Error message is too long !") : text;
}

QString LastError()
{
    std::lock_guard lock(ErrorMutex());
    return ErrorText();
}

void ClearLastError()
{
    std::lock_guard lock(ErrorMutex());
    ErrorText().clear();
}
