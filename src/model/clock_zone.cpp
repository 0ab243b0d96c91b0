#include "model/clock_zone.h"

#include "base/default_font.h"
#include "model/live_zone_defaults.h"
#include "model/property_io.h"

CClockZone::CClockZone(CProjectObject* parent) : CEffectZone(parent)
{
    ApplyLiveZoneHold(*this, 100);
    m_settings.titleFont = DefaultFontName();
    AssignDefaultName(41030, KindClock);
}

void CClockZone::VisitProperties(CPropertyIo& io)
{
    CEffectZone::VisitProperties(io);
    ClockSettings& s = m_settings;
    io.Int("Varnolite01", s.titleShown);
    io.Int("Varnolite02", s.offsetMinutes);
    io.Int("Varnolite03", s.offsetSign);
    io.Int("Varnolite04", s.titleOffsetX);
    io.Int("Varnolite05", s.titleOffsetY);
    io.Int("Varnolite06", s.hourMarkStyle);
    io.Int("Varnolite07", s.minuteMarkStyle);
    io.Text("Varnolite08", s.title, ClockSettings::kTitleCapacity);
    io.Text("Varnolite09", s.titleFont, ClockSettings::kFontCapacity);
    static const char* const kColourKeys[] = {"Varnolite10", "Varnolite11", "Varnolite12",
                                              "Varnolite13", "Varnolite14", "Varnolite15"};
    static const char* const kSizeKeys[] = {"Varnolite20", "Varnolite21", "Varnolite22",
                                            "Varnolite23", "Varnolite24", "Varnolite25"};
    for (int k = 0; k < ClockPartCount; ++k) {
        io.Int(kColourKeys[k], s.colour[k]);
        io.Int(kSizeKeys[k], s.size[k]);
    }
    if (io.IsReading())
        m_action = ActionDirect;
}
