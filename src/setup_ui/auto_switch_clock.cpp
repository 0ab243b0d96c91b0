#include "setup_ui/auto_switch_clock.h"

#include <algorithm>

void CAutoSwitchClock::Start(qint64 nowMs, int intervalMs)
{
    m_intervalMs = std::max(1, intervalMs);
    m_dueMs = nowMs;
}

bool CAutoSwitchClock::TakeSwitch(qint64 nowMs)
{
    if (nowMs + kEarlyMs < m_dueMs)
        return false;
    const qint64 switchedAt = nowMs - m_dueMs > m_intervalMs ? nowMs : m_dueMs;
    m_dueMs = switchedAt + m_intervalMs;
    return true;
}

int CAutoSwitchClock::SecondsLeft(qint64 nowMs) const
{
    const qint64 left = std::max<qint64>(0, m_dueMs - nowMs);
    return int((left + 999) / 1000);
}

int CAutoSwitchClock::NextTickMs(qint64 nowMs, int stepMs) const
{
    const qint64 left = m_dueMs - nowMs;
    if (left <= 0)
        return 0;
    const qint64 toNextSecond = left % 1000 == 0 ? 1000 : left % 1000;
    return int(std::min<qint64>({toNextSecond, left, std::max(1, stepMs)}));
}
