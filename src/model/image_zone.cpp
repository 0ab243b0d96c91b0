#include "model/image_zone.h"

#include "model/property_io.h"

#include <algorithm>

CImageZone::CImageZone(CProjectObject* parent) : CEffectZone(parent)
{
    m_action = ActionDirect;
    AssignDefaultName(41031, KindImage);
}

void CImageZone::VisitProperties(CPropertyIo& io)
{
    CEffectZone::VisitProperties(io);
    io.Int("ip00", m_key.keyColour);
    io.Int("ip01", m_key.extra);
    io.Int("ip02", m_key.pixelLimit);
    io.Int("ip03", m_key.tolerance);
    io.Text("ip04", m_key.sourcePath, ImageKeyParams::kPathCapacity);
}

std::uint32_t CImageZone::GetPageHold(int page) const
{
    if (m_frameDelays.empty())
        return static_cast<std::uint32_t>(m_hold);
    if (page < 0 || page >= static_cast<int>(m_frameDelays.size()))
        return 10;
    const long long hold = static_cast<long long>(m_frameDelays[static_cast<size_t>(page)]) +
                           static_cast<long long>(m_key.extra) * 10;
    return static_cast<std::uint32_t>(std::clamp<long long>(hold, 0, 0xFFFFFFFFLL));
}
