#include "model/datetime_zone.h"

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
        const QByteArray digit = QByteArray::number(k);
        io.Int(("Varnolite3" + digit).constData(), s.colour[k]);
        io.Int(("Varnolite4" + digit).constData(), s.format[k]);
        io.Int(("Varnolite5" + digit).constData(), s.x[k]);
        io.Int(("Varnolite6" + digit).constData(), s.row[k]);
        io.Int(("Varnolite7" + digit).constData(), s.enabled[k]);
    }
    io.Int("Varnolite08", s.order);
    io.Int("Varnolite09", s.oneLine);
    io.Int("Varnolite0a", s.size);
    io.Text("Varnolite0b", s.text, DateTimeSettings::kTextCapacity);
    if (io.IsReading())
        m_action = ActionDirect;
}
