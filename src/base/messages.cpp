#include "base/messages.h"

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
    if (text.isEmpty()) {
        g_sink->Show(QStringLiteral("Runtime error : #001"), {}, MessageKind::Warning);
        return;
    }
    g_sink->Show(text, caption, kind);
}
