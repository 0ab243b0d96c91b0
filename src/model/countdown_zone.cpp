#include "model/countdown_zone.h"

#include "base/default_font.h"
#include "model/indexed_key.h"
#include "model/live_zone_defaults.h"
#include "model/property_io.h"

#include <QDateTime>
#include <QTimeZone>

#include <mutex>

CCountdownZone::CCountdownZone(CProjectObject* parent) : CEffectZone(parent)
{
    ApplyLiveZoneHold(*this, 100);
    m_settings.target = DefaultTarget();
    m_settings.titleFont = DefaultFontName();
    AssignDefaultName(41062, KindCountdown);
}

std::int32_t CCountdownZone::DefaultTarget()
{
    // Working out the local date reads the time-zone rules, and loading a project creates
    // thousands of zones: the result is kept for the minute.
    static std::mutex mutex;
    static qint64 cachedMinute = -1;
    static std::int32_t cachedTarget = 0;
    const qint64 minute = QDateTime::currentSecsSinceEpoch() / 60;
    std::lock_guard lock(mutex);
    if (minute != cachedMinute) {
        // Controller times are local wall-clock seconds counted as if they were UTC.
        const QDateTime endOfDay(QDate::currentDate(), QTime(23, 59, 59), QTimeZone::utc());
        cachedTarget = static_cast<std::int32_t>(endOfDay.toSecsSinceEpoch() + 2592000);
        cachedMinute = minute;
    }
    return cachedTarget;
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
        io.Int(IndexedKey("ncr", i), s.colour[i]);
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
