#pragma once

#include "render/effect_player.h"

#include <QImage>

class CEffectZone;
class CPlayWindow;
class IPlayClock;
class IRandomSource;

// Plays the zones of one window the way the controller does, one 8 ms tick at a time: page
// after page, each brought in by its zone's entry effect, held for its stay time, with the
// window's border. The preview pane shows Output() while the preview runs.
class CWindowPlayer
{
public:
    static constexpr int kTickMs = 8;
    // Longest hold in ticks, and the shortest one of a "Direct" text.
    static constexpr int kMaxHoldTicks = 400;
    static constexpr int kMinDirectTextHoldTicks = 100;
    // Ticks between steps are the zone's speed plus one; the speed is taken as 0 to 255.
    static constexpr int kMaxSpeed = 255;

    // random and clock: the sources of random choices and of the time live zones show
    // (the process's generator and the wall clock when null).
    explicit CWindowPlayer(IRandomSource* random = nullptr, IPlayClock* clock = nullptr);

    // Remembers the window (not owned) and makes the output the window's size, dark.
    void Bind(CPlayWindow* window, int planes);
    // From the first page of the first zone.
    void StartPlay();
    // One tick; true when the output may have changed.
    bool Tick();
    // Back to the first zone and page, not playing.
    void ResetStill();

    CPlayWindow* Window() const { return m_window; }
    const QImage& Output() const { return m_output; }
    const CEffectPlayer& Player() const { return m_player; }
    int ZoneIndex() const { return m_zoneIndex; }
    int PageIndex() const { return m_pageIndex; }
    int TickCounter() const { return m_ticks; }
    bool IsHolding() const { return m_holding; }
    // True once every zone of the window has been shown (at once for a window without
    // zones).
    bool HasShownAllZones() const { return m_roundDone; }

    // The zone at the index among the window's children, or null.
    static CEffectZone* ZoneAt(const CPlayWindow* window, int index);
    // Live zones draw the time: clock, date-time and countdown.
    static bool IsLiveZone(const CEffectZone& zone);
    // Ticks a page of the zone is held after its effect.
    static int HoldTicks(const CEffectZone& zone, int page);
    // Ticks between effect steps, minus one.
    static int SpeedTicks(const CEffectZone& zone);

private:
    const QImage* PageImage(const CEffectZone& zone, int position);
    EffectBorder BorderOfWindow() const;
    void RenderLive(CEffectZone& zone);
    void AdvancePage(const CEffectZone& shownZone);

    IRandomSource* m_random;
    IPlayClock* m_clock;
    CEffectPlayer m_player;
    CPlayWindow* m_window = nullptr;
    int m_planes = 1;
    QImage m_output;
    // The page being brought in, keyed as the card keys it (image zones only).
    QImage m_keyedPage;
    int m_zoneIndex = 0;
    int m_pageIndex = 0;
    int m_ticks = 0;
    bool m_holding = false;
    // The hold and clear setting of the page that has just come in.
    int m_holdTicks = 0;
    bool m_clearAfterHold = false;
    bool m_roundDone = false;
};
