#pragma once

#include <QTextEdit>

// The text area of the rich-text editor: a limit on the characters it holds (text zones
// hold at most 512), pasting as text that the editor then colours, and the right-button
// menu (Cut, Copy, Paste, Undo, Select All).
class CMyRichEditCtrl : public QTextEdit
{
    Q_OBJECT

public:
    explicit CMyRichEditCtrl(QWidget* parent = nullptr);

    // 0: no limit.
    void SetCharacterLimit(int limit) { m_limit = limit; }
    int CharacterLimit() const { return m_limit; }
    // Characters held now (a picture counts as one).
    int CharacterCount() const;
    // How many characters may still be typed in place of the selection.
    int Room() const;

signals:
    // Text was pasted between the two positions; the editor gives it its fore colour.
    void pasted(int start, int end);
    // Input was refused because the text is full.
    void limitReached();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    int m_limit = 0;
};
