#include "cli/cli_operation_ui.h"

#include <atomic>
#include <csignal>
#include <cstdio>

#include <unistd.h>

namespace {

std::atomic<bool> g_interrupted{false};

extern "C" void OnInterrupt(int)
{
    g_interrupted = true;
}

void PrintLine(std::FILE* stream, const QString& text)
{
    std::fprintf(stream, "%s\n", text.toUtf8().constData());
    std::fflush(stream);
}

} // namespace

CCliOperationUi::CCliOperationUi(Answers answers)
    : m_answers(answers), m_terminal(isatty(STDERR_FILENO) != 0)
{
    g_interrupted = false;
    std::signal(SIGINT, OnInterrupt);
}

CCliOperationUi::~CCliOperationUi()
{
    Finish();
    std::signal(SIGINT, SIG_DFL);
}

void CCliOperationUi::SetRange(int maximum)
{
    m_maximum = maximum > 0 ? maximum : 1;
}

bool CCliOperationUi::Update(int position, const QString& text)
{
    if (position != m_lastPosition || text != m_lastText) {
        m_lastPosition = position;
        m_lastText = text;
        const int percent = qBound(0, position * 100 / m_maximum, 100);
        if (m_terminal) {
            constexpr int kWidth = 30;
            const int filled = percent * kWidth / 100;
            const QString bar = QString(filled, u'#') + QString(kWidth - filled, u' ');
            std::fprintf(stderr, "\r[%s] %3d%% %-40s", bar.toUtf8().constData(), percent,
                         text.toUtf8().constData());
            std::fflush(stderr);
            m_barOpen = true;
        } else {
            PrintLine(stderr,
                      QStringLiteral("progress %1/%2 %3").arg(position).arg(m_maximum).arg(text));
        }
    }
    return g_interrupted;
}

void CCliOperationUi::Finish()
{
    if (m_barOpen) {
        std::fputc('\n', stderr);
        m_barOpen = false;
    }
}

Answer CCliOperationUi::Ask(const QString& text)
{
    Finish();
    if (m_answeredNo.contains(text)) {
        PrintLine(stderr, text + QStringLiteral(" no"));
        return Answer::No;
    }
    if (m_answers != Answers::Ask) {
        const Answer answer = m_answers == Answers::AlwaysYes ? Answer::Yes : Answer::No;
        PrintLine(stderr,
                  text + (answer == Answer::Yes ? QStringLiteral(" yes") : QStringLiteral(" no")));
        return answer;
    }
    if (!isatty(STDIN_FILENO)) {
        PrintLine(stderr, text + QStringLiteral(" no"));
        return Answer::No;
    }
    std::fprintf(stderr, "%s [y/N] ", text.toUtf8().constData());
    std::fflush(stderr);
    char line[64] = {};
    if (!std::fgets(line, sizeof line, stdin))
        return Answer::No;
    return line[0] == 'y' || line[0] == 'Y' ? Answer::Yes : Answer::No;
}

void CCliOperationUi::Inform(const QString& text)
{
    Finish();
    PrintLine(stdout, text);
}

void CCliOperationUi::Warn(const QString& text)
{
    Finish();
    PrintLine(stderr, text);
}
