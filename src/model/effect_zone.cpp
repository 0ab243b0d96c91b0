#include "model/effect_zone.h"

#include "model/play_window.h"
#include "model/prepare_hooks.h"
#include "model/property_io.h"
#include "model/screen.h"

CEffectZone::CEffectZone(CProjectObject* parent) : CProjectObject(parent) {}

CEffectZone::~CEffectZone() = default;

void CEffectZone::Prepare(RenderForm form)
{
    PrepareHooks().PrepareZone(*this, form);
    CProjectObject::Prepare(form);
}

void CEffectZone::VisitProperties(CPropertyIo& io)
{
    CProjectObject::VisitProperties(io);
    io.Int("action", m_action);
    io.Int("speed", m_speed);
    io.Int("repeat", m_repeat);
    io.Int("delay", m_hold);
    io.Int("flash", m_flash);
    io.Int("flashdelay", m_flashDelay);
}

std::uint32_t CEffectZone::GetPageHold(int) const
{
    if (m_action == ActionContinuousMoveLeft)
        return 0;
    if (m_action == ActionAlwaysHold)
        return kHoldForever;
    return static_cast<std::uint32_t>(m_hold);
}

CLedBitmap* CEffectZone::GetPage(int index) const
{
    if (index < 0 || index >= GetPageCount())
        return nullptr;
    return m_pages[static_cast<size_t>(index)].get();
}

LedRect CEffectZone::WindowRect() const
{
    const CProjectObject* parent = Parent();
    if (parent && parent->GetKind() == KindWindow)
        return static_cast<const CPlayWindow*>(parent)->WindowRect();
    for (const CProjectObject* object = parent; object; object = object->Parent()) {
        if (object->GetKind() == KindScreen) {
            const auto* screen = static_cast<const CScreen*>(object);
            return {0, 0, screen->Width(), screen->Height()};
        }
    }
    return {0, 0, 64, 32};
}

int CEffectZone::ColourDepth() const
{
    for (const CProjectObject* object = Parent(); object; object = object->Parent()) {
        if (object->GetKind() == KindScreen)
            return static_cast<const CScreen*>(object)->ColourDepth();
    }
    return 1;
}
