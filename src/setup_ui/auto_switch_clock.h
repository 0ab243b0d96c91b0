#pragma once

#include <QtGlobal>

// The timing of Panel Setup's automatic scan-type trial, by elapsed time: a switch every
// interval counted from the scheduled time of the one before (a late tick or a slow store
// does not stretch the interval), and the status line's count of seconds left.
class CAutoSwitchClock
{
public:
    // A tick this early still counts as on time (timers may fire a little early).
    static constexpr int kEarlyMs = 20;

    // The first switch is due at once.
    void Start(qint64 nowMs, int intervalMs);
    // True when a switch is due at nowMs; the next one is then scheduled one interval after
    // this one was due (or after now, when the trial fell more than an interval behind).
    bool TakeSwitch(qint64 nowMs);
    // The whole seconds left until the next switch, rounded up.
    int SecondsLeft(qint64 nowMs) const;
    // How long to wait for the next tick: until the seconds left change or the switch is
    // due, stepMs at most.
    int NextTickMs(qint64 nowMs, int stepMs = 1000) const;
    int IntervalMs() const { return m_intervalMs; }

private:
    int m_intervalMs = 5000;
    qint64 m_dueMs = 0;
};
