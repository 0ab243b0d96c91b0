#include "model/animate_zone.h"

#include "model/property_io.h"

CAnimateZone::CAnimateZone(CProjectObject* parent) : CRichTextBase(parent)
{
    m_action = ActionDirect;
    m_hold = 20;
    AssignDefaultName(41077, KindAnimate);
}

void CAnimateZone::VisitProperties(CPropertyIo& io)
{
    CRichTextBase::VisitProperties(io);
    io.Int("ada", m_hold1);
    io.Int("adb", m_hold2);
    io.Int("ast", m_maxStep);
    io.Int("att", m_type);
}

std::uint32_t CAnimateZone::GetPageHold(int page) const
{
    if (page >= 0 && page < static_cast<int>(m_pageHolds.size()))
        return m_pageHolds[static_cast<size_t>(page)];
    return static_cast<std::uint32_t>(m_hold1);
}
