#pragma once

#include "cli/cli_operation_ui.h"
#include "comm/parallel_send.h"

#include <QStringList>

// The command-line face of a send to several screens at once: one progress line per
// screen (redrawn in place on a terminal, else a plain line per change, prefixed with the
// screen's name); questions and messages as CCliOperationUi gives them; Ctrl+C or SIGTERM
// cancel every screen.
class CCliParallelUi final : public IParallelSendUi
{
public:
    explicit CCliParallelUi(CCliOperationUi::Answers answers);
    ~CCliParallelUi() override;

    void Begin(const QStringList& screens) override;
    void Update(int screen, int position, const QString& text) override;
    Answer Ask(int screen, const QString& text) override;
    // The question is answered No without asking (the overlap question with --ignore-overlap).
    void AnswerNo(const QString& question) { m_answeredNo.append(question); }
    void Inform(int screen, const QString& text) override;
    void Warn(int screen, const QString& text) override;
    bool CancelAll() override;
    // Prints "Canceled." as the last line and returns the failure status.
    int Canceled();

private:
    QString Prefixed(int screen, const QString& text) const;
    void Redraw();

    CCliOperationUi m_prompts;
    QStringList m_answeredNo;
    QStringList m_screens;
    QStringList m_lines;
    int m_drawnLines = 0;
    bool m_terminal = false;
};
