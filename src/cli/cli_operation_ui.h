#pragma once

#include "base/operation_ui.h"

#include <QStringList>

// The command-line face of a long operation: a progress bar on stderr when it is a
// terminal, plain progress lines otherwise; questions answered by --yes or --no, asked on
// a terminal, else answered No; Ctrl+C asks to cancel.
class CCliOperationUi final : public IOperationUi
{
public:
    enum class Answers { Ask, AlwaysYes, AlwaysNo };

    explicit CCliOperationUi(Answers answers);
    ~CCliOperationUi() override;

    void SetRange(int maximum) override;
    bool Update(int position, const QString& text) override;
    Answer Ask(const QString& text) override;
    void Inform(const QString& text) override;
    void Warn(const QString& text) override;

    // Ends a bar line that is still open.
    void Finish();
    // The question with exactly this text is answered No, whatever the other answers are.
    void AnswerNo(const QString& question) { m_answeredNo.append(question); }

private:
    Answers m_answers;
    QStringList m_answeredNo;
    int m_maximum = 100;
    int m_lastPosition = -1;
    QString m_lastText;
    bool m_barOpen = false;
    bool m_terminal = false;
};
