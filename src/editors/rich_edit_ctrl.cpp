#include "editors/rich_edit_ctrl.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextCursor>

#include <algorithm>
#include <climits>

CMyRichEditCtrl::CMyRichEditCtrl(QWidget* parent) : QTextEdit(parent)
{
    setAcceptRichText(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

int CMyRichEditCtrl::CharacterCount() const
{
    return document()->characterCount() - 1;
}

int CMyRichEditCtrl::Room() const
{
    if (m_limit <= 0)
        return INT_MAX;
    const QTextCursor cursor = textCursor();
    const int selected = cursor.selectionEnd() - cursor.selectionStart();
    return std::max(0, m_limit - (CharacterCount() - selected));
}

void CMyRichEditCtrl::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    const bool inserts = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
                         (!text.isEmpty() && text.at(0).isPrint());
    if (inserts && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && Room() < 1) {
        QApplication::beep();
        emit limitReached();
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void CMyRichEditCtrl::inputMethodEvent(QInputMethodEvent* event)
{
    const int room = Room();
    if (event->commitString().size() <= room) {
        QTextEdit::inputMethodEvent(event);
        return;
    }
    // What an input method commits beyond the limit is dropped.
    QInputMethodEvent cut(event->preeditString(), event->attributes());
    cut.setCommitString(event->commitString().left(room), event->replacementStart(),
                        event->replacementLength());
    QApplication::beep();
    emit limitReached();
    QTextEdit::inputMethodEvent(&cut);
}

bool CMyRichEditCtrl::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasText();
}

void CMyRichEditCtrl::insertFromMimeData(const QMimeData* source)
{
    if (!source->hasText())
        return;
    QString text = source->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const int room = Room();
    if (text.size() > room) {
        text.truncate(room);
        QApplication::beep();
        emit limitReached();
    }
    QTextCursor cursor = textCursor();
    const int start = cursor.selectionStart();
    {
        // The editor colours the pasted text with the colour chosen before the paste, and
        // stores it once; moving the caret would show the old text's colour first.
        const QSignalBlocker blocker(this);
        cursor.insertText(text);
        const int end = cursor.position();
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        setTextCursor(cursor);
    }
    emit pasted(start, textCursor().position());
    emit cursorPositionChanged();
}

void CMyRichEditCtrl::contextMenuEvent(QContextMenuEvent* event)
{
    const bool selection = textCursor().hasSelection();
    QMenu menu(this);
    QAction* cut = menu.addAction(QIcon::fromTheme(QStringLiteral("edit-cut")), tr("Cut(&X)"), this,
                                  &QTextEdit::cut);
    QAction* copy = menu.addAction(QIcon::fromTheme(QStringLiteral("edit-copy")), tr("Copy(&C)"),
                                   this, &QTextEdit::copy);
    QAction* paste = menu.addAction(QIcon::fromTheme(QStringLiteral("edit-paste")), tr("Paste(&V)"),
                                    this, &QTextEdit::paste);
    QAction* undo = menu.addAction(QIcon::fromTheme(QStringLiteral("edit-undo")), tr("Undo(Z)"),
                                   this, &QTextEdit::undo);
    menu.addAction(tr("Select All(&A)"), this, &QTextEdit::selectAll);
    cut->setEnabled(selection && !isReadOnly());
    copy->setEnabled(selection);
    paste->setEnabled(canPaste());
    undo->setEnabled(document()->isUndoAvailable());
    menu.exec(event->globalPos());
}
