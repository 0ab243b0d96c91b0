#include "model/countdown_zone.h"

#include "base/default_font.h"
#include "model/live_zone_defaults.h"
#include "model/property_io.h"

#include <QByteArray>
#include <QDateTime>
#include <QTimeZone>

CCountdownZone::CCountdownZone(CProjectObject* parent) : CEffectZone(parent)
{
    ApplyLiveZoneHold(*this, 100);
    m_settings.target = DefaultTarget();
    m_settings.titleFont = DefaultFontName();
    AssignDefaultName(41062, KindCountdown);
}

std::int32_t CCountdownZone::DefaultTarget()
{
    // Controller times are local wall-clock seconds counted as if they were UTC.
    const QDate today = QDate::currentDate();
    const QDateTime endOfDay(today, QTime(23, 59, 59), QTimeZone::utc());
    return static_cast<std::int32_t>(endOfDay.toSecsSinceEpoch() + 2592000);
}

void CCountdownZone::VisitProperties(CPropertyIo& io)
{
    CEffectZone::VisitProperties(io);
    CountdownSettings& s = m_settings;
    io.Int("bop0", s.show[0]);
    io.Int("bop1", s.show[1]);
    io.Int("bop2", s.show[2]);
    io.Int("bop3", s.show[3]);
    io.Int("ncs", s.digitSize);
    io.Int("nct", s.type);
    for (int i = 0; i < 9; ++i)
        io.Int(("ncr" + QByteArray::number(i)).constData(), s.colour[i]);
    io.Int("nfs", s.titleFontSize);
    io.Int("nft", s.format);
    io.Int("nnl", s.numberLeft);
    io.Int("nnt", s.numberTop);
    io.Int("ntt", s.target);
    io.Int("ntl", s.titleLeft);
    io.Text("sf", s.title, CountdownSettings::kTitleCapacity);
    io.Text("sff", s.titleFont, CountdownSettings::kFontCapacity);
    if (io.IsReading())
        m_action = ActionDirect;
}
