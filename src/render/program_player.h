#pragma once

#include "render/window_player.h"

#include <QImage>

#include <memory>
#include <vector>

class CProgram;
class IPlayClock;
class IRandomSource;

// Plays every window of a program on one tick clock, without a display: the preview of the
// command line and of the tests. The desktop preview runs the same window players in its
// panes.
class CProgramPlayer
{
public:
    // Ten minutes of ticks: the longest run the command line makes.
    static constexpr int kMaxTicks = 10 * 60 * 1000 / CWindowPlayer::kTickMs;

    explicit CProgramPlayer(IRandomSource* random = nullptr, IPlayClock* clock = nullptr);

    // Binds one player per window of the program (not owned) and starts them all.
    void Start(CProgram* program);
    // One tick of every window, then the clock moves on by a tick.
    void Tick();

    int WindowCount() const { return static_cast<int>(m_windows.size()); }
    const CWindowPlayer& Window(int index) const { return *m_windows[static_cast<size_t>(index)]; }
    // True once every window has shown each of its zones.
    bool AllZonesShown() const;
    // True when some window has a zone with a page.
    bool HasSomethingToPlay() const;
    // The screen as it looks now: black, the program's border, every window at its place.
    QImage ComposeScreen() const;

private:
    IRandomSource* m_random;
    IPlayClock* m_clock;
    CProgram* m_program = nullptr;
    std::vector<std::unique_ptr<CWindowPlayer>> m_windows;
};
