#include "cli/cli_parallel_ui.h"

#include "comm/comm_port.h"

#include <atomic>
#include <csignal>
#include <cstdio>

#include <unistd.h>

namespace {

std::atomic<bool> g_cancelAll{false};

extern "C" void OnCancelAll(int)
{
    g_cancelAll = true;
    // Ends the wait for a reply in progress at once.
    SetCommCancel(true);
}

constexpr int kBarWidth = 20;

} // namespace

CCliParallelUi::CCliParallelUi(CCliOperationUi::Answers answers)
    : m_prompts(answers), m_terminal(isatty(STDERR_FILENO) != 0)
{
    g_cancelAll = false;
    std::signal(SIGINT, OnCancelAll);
    std::signal(SIGTERM, OnCancelAll);
}

CCliParallelUi::~CCliParallelUi()
{
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
}

void CCliParallelUi::Begin(const QStringList& screens)
{
    m_screens = screens;
    m_lines = QStringList(screens.size(), QString());
    for (int i = 0; i < screens.size(); ++i)
        m_lines[i] = Prefixed(i, QStringLiteral("waiting"));
    Redraw();
}

QString CCliParallelUi::Prefixed(int screen, const QString& text) const
{
    if (screen < 0 || screen >= m_screens.size())
        return text;
    return QStringLiteral("%1: %2").arg(m_screens[screen], text);
}

void CCliParallelUi::Redraw()
{
    if (!m_terminal)
        return;
    if (m_drawnLines > 0)
        std::fprintf(stderr, "\033[%dA", m_drawnLines);
    for (const QString& line : m_lines)
        std::fprintf(stderr, "\r\033[K%s\n", line.toUtf8().constData());
    m_drawnLines = static_cast<int>(m_lines.size());
    std::fflush(stderr);
}

void CCliParallelUi::Update(int screen, int position, const QString& text)
{
    if (screen < 0 || screen >= m_lines.size())
        return;
    const int range = CSendPipeline::kProgressRange;
    if (!m_terminal) {
        std::fprintf(
            stderr, "%s\n",
            Prefixed(screen, QStringLiteral("progress %1/%2 %3").arg(position).arg(range).arg(text))
                .toUtf8()
                .constData());
        std::fflush(stderr);
        return;
    }
    const int percent = qBound(0, position * 100 / range, 100);
    const int filled = percent * kBarWidth / 100;
    m_lines[screen] =
        Prefixed(screen, QStringLiteral("[%1%2] %3% %4")
                             .arg(QString(filled, u'#'), QString(kBarWidth - filled, u' '))
                             .arg(percent, 3)
                             .arg(text));
    Redraw();
}

Answer CCliParallelUi::Ask(int screen, const QString& text)
{
    if (m_answeredNo.contains(text))
        return Answer::No;
    // The question goes below the bars, which start again under it.
    m_drawnLines = 0;
    const Answer answer = m_prompts.Ask(Prefixed(screen, text));
    Redraw();
    return answer;
}

void CCliParallelUi::Inform(int screen, const QString& text)
{
    m_drawnLines = 0;
    m_prompts.Inform(Prefixed(screen, text));
}

void CCliParallelUi::Warn(int screen, const QString& text)
{
    m_drawnLines = 0;
    m_prompts.Warn(Prefixed(screen, text));
    if (screen >= 0)
        Redraw();
}

bool CCliParallelUi::CancelAll()
{
    return g_cancelAll;
}

int CCliParallelUi::Canceled()
{
    m_drawnLines = 0;
    return m_prompts.Canceled();
}
