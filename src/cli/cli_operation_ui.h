#pragma once

#include "base/operation_ui.h"

#include <QStringList>

#include <utility>

// The command-line face of a long operation: a progress bar on stderr when it is a
// terminal, plain progress lines otherwise; questions answered by --yes or --no, asked on
// a terminal, else answered No; Ctrl+C asks to cancel.
// Until an operation face takes over, Ctrl+C and SIGTERM end the tool with "Canceled."
// and status 1. Called once at start, after the language is set.
void InstallCancelExit();

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
    // Warnings are kept rather than printed while held (the caller prints the failure).
    void HoldWarnings() { m_holdWarnings = true; }
    QStringList TakeHeldWarnings() { return std::exchange(m_heldWarnings, {}); }
    // Ctrl+C or SIGTERM came during the operation (it also set the link's cancel flag).
    static bool Interrupted();
    // Prints "Canceled." unless it was the last line shown, and returns the failure status.
    int Canceled();
    // The question with exactly this text is answered No, whatever the other answers are.
    void AnswerNo(const QString& question) { m_answeredNo.append(question); }

private:
    Answers m_answers;
    QStringList m_answeredNo;
    QStringList m_heldWarnings;
    bool m_holdWarnings = false;
    QString m_lastShown;
    void (*m_previousInterrupt)(int) = nullptr;
    void (*m_previousTerminate)(int) = nullptr;
    int m_maximum = 100;
    int m_lastPosition = -1;
    QString m_lastText;
    bool m_barOpen = false;
    bool m_terminal = false;
};
