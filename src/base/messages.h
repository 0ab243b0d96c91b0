#pragma once

#include <QString>

enum class MessageKind { Information, Warning };

// Where the core's messages go. The desktop program shows message boxes or status-bar
// text; the command-line tool prints to stderr; tests record them.
class IMessageSink
{
public:
    virtual ~IMessageSink() = default;
    virtual void Show(const QString& text, const QString& caption, MessageKind kind) = 0;
};

// Installs the sink used by ShowMessage; nullptr restores the default (stderr).
void SetMessageSink(IMessageSink* sink);
// The sink installed now (never null), so that an operation can put it back.
IMessageSink* GetMessageSink();

// Shows a message through the installed sink. An empty text shows "Runtime error : #001".
void ShowMessage(const QString& text, const QString& caption = {},
                 MessageKind kind = MessageKind::Warning);
inline void ShowInfo(const QString& text, const QString& caption = {})
{
    ShowMessage(text, caption, MessageKind::Information);
}
inline void ShowWarning(const QString& text, const QString& caption = {})
{
    ShowMessage(text, caption, MessageKind::Warning);
}

// Yes/no questions asked of the person at the keyboard.
enum class Answer { Yes, No };
class IQuestionSink
{
public:
    virtual ~IQuestionSink() = default;
    virtual Answer Ask(const QString& text, const QString& caption) = 0;
};
