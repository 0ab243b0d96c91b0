#include "model/datetime_zone.h"

#include "model/indexed_key.h"
#include "model/live_zone_defaults.h"
#include "model/property_io.h"

#include <QByteArray>

CDateTimeZone::CDateTimeZone(CProjectObject* parent) : CEffectZone(parent)
{
    ApplyLiveZoneHold(*this, 100);
    m_speed = 15;
    m_clearMode = 1;
    AssignDefaultName(41024, KindDateTime);
    // A window lower than 48 pixels has no room for the weekday line.
    if (WindowRect().Height() < 48)
        m_settings.enabled[DateTimeWeekday] = 0;
}

void CDateTimeZone::VisitProperties(CPropertyIo& io)
{
    CEffectZone::VisitProperties(io);
    DateTimeSettings& s = m_settings;
    io.Int("Varnolite01", s.timeDifference);
    for (int k = 0; k < DateTimeItemCount; ++k) {
        io.Int(IndexedKey("Varnolite3", k), s.colour[k]);
        io.Int(IndexedKey("Varnolite4", k), s.format[k]);
        io.Int(IndexedKey("Varnolite5", k), s.x[k]);
        io.Int(IndexedKey("Varnolite6", k), s.row[k]);
        io.Int(IndexedKey("Varnolite7", k), s.enabled[k]);
    }
    io.Int("Varnolite08", s.order);
    io.Int("Varnolite09", s.oneLine);
    io.Int("Varnolite0a", s.size);
    io.Text("Varnolite0b", s.text, DateTimeSettings::kTextCapacity);
    if (io.IsReading())
        m_action = ActionDirect;
}
