#include "app/dialogs/desktop_messages.h"

#include "base/app_settings.h"
#include "base/messages.h"

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QStatusBar>

#include <memory>

namespace {

// What the core shows for a message without text.
const QString kRuntimeError = QStringLiteral("Runtime error : #001");

std::function<void(const QString&)>& StatusCallback()
{
    static std::function<void(const QString&)> callback;
    return callback;
}

void ShowBox(QWidget* owner, const QString& text, const QString& caption, MessageKind kind)
{
    const QMessageBox::Icon icon =
        kind == MessageKind::Information ? QMessageBox::Information : QMessageBox::Warning;
    const QString title = caption.isEmpty() ? QApplication::applicationDisplayName() : caption;
    QMessageBox box(icon, title, text, QMessageBox::Ok, owner);
    box.setObjectName(QStringLiteral("messageBox"));
    box.exec();
}

// The core's messages, shown for the main window.
class CDesktopMessageSink final : public IMessageSink
{
public:
    explicit CDesktopMessageSink(QWidget* owner) : m_owner(owner) {}
    void Show(const QString& text, const QString& caption, MessageKind kind) override
    {
        ShowDesktopMessage(m_owner.data(), text, caption, kind);
    }

private:
    QPointer<QWidget> m_owner;
};

} // namespace

void SetDesktopStatusCallback(std::function<void(const QString&)> showStatus)
{
    StatusCallback() = std::move(showStatus);
}

void ShowDesktopMessage(QWidget* owner, const QString& text, const QString& caption,
                        MessageKind kind)
{
    if (text.isEmpty() || (text == kRuntimeError && caption.isEmpty())) {
        QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), kRuntimeError,
                        QMessageBox::Ok, owner);
        box.setObjectName(QStringLiteral("messageBox"));
        box.exec();
        return;
    }
    if (Settings().tip == 1) {
        QApplication::beep();
        if (StatusCallback())
            StatusCallback()(text);
        else if (auto* main = owner ? qobject_cast<QMainWindow*>(owner->window()) : nullptr)
            main->statusBar()->showMessage(QString(text).replace(u'\n', u' '));
        return;
    }
    ShowBox(owner, text, caption, kind);
}

Answer AskDesktopQuestion(QWidget* owner, const QString& text, const QString& caption)
{
    const QString title = caption.isEmpty() ? QApplication::applicationDisplayName() : caption;
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, owner);
    box.setObjectName(QStringLiteral("questionBox"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

Answer CDesktopOperationUi::Ask(const QString& text)
{
    if (!m_okCancel)
        return AskDesktopQuestion(m_owner, text);
    QMessageBox box(QMessageBox::Warning, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok | QMessageBox::Cancel, m_owner);
    box.setObjectName(QStringLiteral("questionBox"));
    return box.exec() == QMessageBox::Ok ? Answer::Yes : Answer::No;
}

void CDesktopOperationUi::Inform(const QString& text)
{
    ShowDesktopMessage(m_owner, text, {}, MessageKind::Information);
}

void CDesktopOperationUi::Warn(const QString& text)
{
    ShowDesktopMessage(m_owner, text, {}, MessageKind::Warning);
}

void CDesktopOperationUi::Beep(MessageKind)
{
    QApplication::beep();
}

void InstallDesktopSinks(QWidget* owner)
{
    // The sink lives as long as the process; a new owner replaces the old sink after the
    // new one is in place.
    static std::unique_ptr<CDesktopMessageSink> installed;
    auto sink = std::make_unique<CDesktopMessageSink>(owner);
    SetMessageSink(sink.get());
    installed = std::move(sink);
}
