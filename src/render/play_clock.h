#pragma once

#include <QDateTime>

// The moment the live zones of a preview show. The desktop preview follows the wall clock;
// the command line and the tests step a clock of their own with every tick, so that a run
// does not depend on how fast the machine draws.
class IPlayClock
{
public:
    virtual ~IPlayClock() = default;
    // The local time to render live zones at; an invalid value means the wall clock.
    virtual QDateTime Now() const = 0;
    // Called once per preview tick with the tick's length.
    virtual void Advance(int milliseconds) = 0;
};

// The wall clock: live zones show the current time.
class CWallPlayClock final : public IPlayClock
{
public:
    QDateTime Now() const override { return {}; }
    void Advance(int) override {}
};

// A clock that starts at a given moment and moves only with the ticks.
class CSteppedPlayClock final : public IPlayClock
{
public:
    explicit CSteppedPlayClock(const QDateTime& start) : m_start(start) {}
    QDateTime Now() const override { return m_start.addMSecs(m_elapsed); }
    void Advance(int milliseconds) override { m_elapsed += milliseconds; }
    qint64 Elapsed() const { return m_elapsed; }

private:
    QDateTime m_start;
    qint64 m_elapsed = 0;
};

// The wall clock shared by every preview that is given no clock of its own.
IPlayClock& WallPlayClock();
