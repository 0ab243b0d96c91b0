#include "render/window_player.h"

#include "model/effect_zone.h"
#include "model/play_window.h"
#include "render/play_clock.h"
#include "render/renderer.h"
#include "render/sign_picture.h"

#include <algorithm>

CWindowPlayer::CWindowPlayer(IRandomSource* random, IPlayClock* clock)
    : m_random(random), m_clock(clock ? clock : &WallPlayClock()), m_player(random)
{}

CEffectZone* CWindowPlayer::ZoneAt(const CPlayWindow* window, int index)
{
    if (!window)
        return nullptr;
    CProjectObject* child = window->GetChild(index);
    if (!child || !IsZoneKind(child->GetKind()))
        return nullptr;
    return static_cast<CEffectZone*>(child);
}

bool CWindowPlayer::IsLiveZone(const CEffectZone& zone)
{
    const int kind = zone.GetKind();
    return kind == KindClock || kind == KindDateTime || kind == KindCountdown;
}

int CWindowPlayer::HoldTicks(const CEffectZone& zone, int page)
{
    if (zone.GetAction() == EffectContinuousMoveLeft)
        return 0;
    std::int64_t hold = zone.GetPageHold(page);
    if (zone.GetKind() == KindText && zone.GetAction() == EffectDirect)
        hold = std::max<std::int64_t>(hold, kMinDirectTextHoldTicks);
    return static_cast<int>(std::min<std::int64_t>(hold, kMaxHoldTicks));
}

int CWindowPlayer::SpeedTicks(const CEffectZone& zone)
{
    return std::clamp(zone.GetSpeed(), 0, kMaxSpeed);
}

void CWindowPlayer::Bind(CPlayWindow* window, int planes)
{
    m_window = window;
    m_planes = planes;
    const int width = window ? window->Width() : 0;
    const int height = window ? window->Height() : 0;
    if (width > 0 && height > 0 &&
        static_cast<std::int64_t>(width) * height <= CEffectPlayer::kMaxPixels) {
        m_output = QImage(width, height, QImage::Format_RGB32);
        m_output.fill(Qt::black);
    } else {
        m_output = QImage();
    }
    ResetStill();
}

const QImage* CWindowPlayer::PageImage(const CEffectZone& zone, int position)
{
    // Positions follow the card's order (a zone moving right may play its last page first).
    const CLedBitmap* bitmap = zone.GetPage(CardPageIndex(zone, position));
    if (!bitmap || bitmap->IsNull())
        return nullptr;
    // The player keeps the screen's colours itself; an image's key is applied here, so that
    // the page comes in as the card shows it.
    if (!NeedsKeyForCard(zone))
        return &bitmap->Image();
    m_keyedPage = CardPage(zone, bitmap->Image());
    return &m_keyedPage;
}

EffectBorder CWindowPlayer::BorderOfWindow() const
{
    const WindowFrame& frame = m_window->Frame();
    EffectBorder border;
    border.on = frame.enabled != 0;
    border.colour = frame.colour;
    border.style = frame.type;
    border.mode = frame.direction;
    border.speed = frame.speed;
    return border;
}

void CWindowPlayer::StartPlay()
{
    m_zoneIndex = 0;
    m_pageIndex = 0;
    m_holding = false;
    m_ticks = 0;
    m_roundDone = ZoneAt(m_window, 0) == nullptr;
    if (!m_output.isNull())
        m_output.fill(Qt::black);
    const CEffectZone* zone = ZoneAt(m_window, 0);
    if (!zone || m_output.isNull()) {
        // Nothing this window could show: it stays dark and does not hold up a run.
        m_player.Load(nullptr, nullptr, EffectDirect, m_planes, 0, 0, {});
        m_roundDone = true;
        return;
    }
    m_player.Load(&m_output, PageImage(*zone, 0), zone->GetAction(), m_planes, m_window->Width(),
                  m_window->Height(), BorderOfWindow());
}

void CWindowPlayer::ResetStill()
{
    m_zoneIndex = 0;
    m_pageIndex = 0;
    m_ticks = 0;
    m_holding = false;
}

void CWindowPlayer::RenderLive(CEffectZone& zone)
{
    const QDateTime now = m_clock->Now();
    if (now.isValid())
        SetRenderTime(now);
    zone.Prepare(RenderForm::Display);
    if (now.isValid())
        SetRenderTime(QDateTime());
    m_pageIndex = std::clamp(m_pageIndex, 0, std::max(zone.GetPageCount() - 1, 0));
    m_player.RefreshTarget(PageImage(zone, m_pageIndex));
}

void CWindowPlayer::AdvancePage(const CEffectZone& shownZone)
{
    const int shownPage = m_pageIndex;
    ++m_pageIndex;
    if (m_pageIndex >= CardPageCount(shownZone)) {
        m_pageIndex = 0;
        ++m_zoneIndex;
        if (!ZoneAt(m_window, m_zoneIndex)) {
            m_zoneIndex = 0;
            m_roundDone = true;
        }
    }
    const CEffectZone* next = ZoneAt(m_window, m_zoneIndex);
    if (next)
        m_player.LoadPage(PageImage(*next, m_pageIndex), next->GetAction());
    // The page that has just come in is held for its own stay time.
    m_holdTicks = HoldTicks(shownZone, shownPage);
    m_clearAfterHold =
        shownZone.GetClearMode() != 0 && shownZone.GetAction() != EffectContinuousMoveLeft;
    if (m_holdTicks != 0 && !IsLiveZone(shownZone))
        m_holding = true;
}

bool CWindowPlayer::Tick()
{
    CEffectZone* zone = ZoneAt(m_window, m_zoneIndex);
    if (!zone) {
        m_zoneIndex = 0;
        return false;
    }
    if (!m_player.IsLoaded())
        return false;
    ++m_ticks;
    if (m_holding) {
        if (m_ticks < m_holdTicks) {
            m_player.DrawBorderOnly();
            return true;
        }
        if (m_clearAfterHold)
            m_player.Clear();
        m_holding = false;
    }
    if (m_ticks > SpeedTicks(*zone)) {
        m_ticks = 0;
        if (IsLiveZone(*zone))
            RenderLive(*zone);
        if (!m_player.Step())
            AdvancePage(*zone);
    } else {
        m_player.DrawBorderOnly();
    }
    return true;
}
