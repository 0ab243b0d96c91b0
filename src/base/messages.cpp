#include "base/messages.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

namespace {

class StderrSink final : public IMessageSink
{
public:
    void Show(const QString& text, const QString& caption, MessageKind) override
    {
        const QString line = caption.isEmpty() ? text : caption + QStringLiteral(": ") + text;
        std::fprintf(stderr, "%s\n", line.toUtf8().constData());
    }
};

StderrSink g_stderrSink;
IMessageSink* g_sink = &g_stderrSink;

} // namespace

void SetMessageSink(IMessageSink* sink)
{
    g_sink = sink ? sink : &g_stderrSink;
}

IMessageSink* GetMessageSink()
{
    return g_sink;
}

void ShowMessage(const QString& text, const QString& caption, MessageKind kind)
{
    // Zones render on worker threads too; what they have to say is shown by the thread
    // that owns the windows, once it gets to it.
    QCoreApplication* app = QCoreApplication::instance();
    if (g_sink != &g_stderrSink && app && QThread::currentThread() != app->thread()) {
        QMetaObject::invokeMethod(
            app, [text, caption, kind] { ShowMessage(text, caption, kind); }, Qt::QueuedConnection);
        return;
    }
    if (text.isEmpty()) {
        g_sink->Show(QStringLiteral("Runtime error : #001"), {}, MessageKind::Warning);
        return;
    }
    g_sink->Show(text, caption, kind);
}
