#include "cli/cli_operation_ui.h"

#include "base/string_table.h"
#include "comm/comm_port.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace {

std::atomic<bool> g_interrupted{false};

extern "C" void OnInterrupt(int)
{
    g_interrupted = true;
    // Ends a wait for a controller's reply at once.
    SetCommCancel(true);
}

char g_canceledLine[128] = "Canceled.\n";
std::size_t g_canceledLength = 10;

extern "C" void OnCancelExit(int)
{
    // Only what is safe in a signal handler.
    [[maybe_unused]] const ssize_t written =
        ::write(STDERR_FILENO, g_canceledLine, g_canceledLength);
    ::_exit(1);
}

QString CanceledText()
{
    return LoadString(41052);
}

void PrintLine(std::FILE* stream, const QString& text)
{
    std::fprintf(stream, "%s\n", text.toUtf8().constData());
    std::fflush(stream);
}

} // namespace

void InstallCancelExit()
{
    const QByteArray line = CanceledText().toUtf8() + '\n';
    g_canceledLength =
        std::min<std::size_t>(static_cast<std::size_t>(line.size()), sizeof g_canceledLine);
    std::memcpy(g_canceledLine, line.constData(), g_canceledLength);
    std::signal(SIGINT, OnCancelExit);
    std::signal(SIGTERM, OnCancelExit);
}

CCliOperationUi::CCliOperationUi(Answers answers)
    : m_answers(answers), m_terminal(isatty(STDERR_FILENO) != 0)
{
    g_interrupted = false;
    m_previousInterrupt = std::signal(SIGINT, OnInterrupt);
    m_previousTerminate = std::signal(SIGTERM, OnInterrupt);
}

CCliOperationUi::~CCliOperationUi()
{
    Finish();
    std::signal(SIGINT, m_previousInterrupt == SIG_ERR ? SIG_DFL : m_previousInterrupt);
    std::signal(SIGTERM, m_previousTerminate == SIG_ERR ? SIG_DFL : m_previousTerminate);
}

bool CCliOperationUi::Interrupted()
{
    return g_interrupted;
}

int CCliOperationUi::Canceled()
{
    Finish();
    if (!m_lastShown.endsWith(CanceledText()))
        PrintLine(stderr, CanceledText());
    m_lastShown = CanceledText();
    return 1;
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
        m_lastShown = text;
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
    if (m_holdWarnings) {
        m_heldWarnings.append(text);
        return;
    }
    Finish();
    m_lastShown = text;
    PrintLine(stderr, text);
}
