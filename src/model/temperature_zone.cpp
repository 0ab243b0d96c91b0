#include "model/temperature_zone.h"

#include "base/default_font.h"
#include "base/string_table.h"
#include "model/live_zone_defaults.h"
#include "model/property_io.h"

CTemperatureZone::CTemperatureZone(CProjectObject* parent) : CEffectZone(parent)
{
    ApplyLiveZoneHold(*this, 200);
    TemperatureSettings& s = m_settings;
    s.temperatureLabel = LoadString(41071);
    s.temperatureUnit = LoadString(41072);
    s.humidityLabel = LoadString(41073);
    s.humidityUnit = LoadString(41074);
    s.fontName = DefaultFontName();
    AssignDefaultName(41063, KindTemperature);
}

void CTemperatureZone::VisitProperties(CPropertyIo& io)
{
    CEffectZone::VisitProperties(io);
    TemperatureSettings& s = m_settings;
    io.Int("tbho", s.showHumidity);
    io.Int("tbs", s.oneLine);
    io.Int("tbto", s.showTemperature);
    io.Int("thbl", s.humidityLabelLeft);
    io.Int("thel", s.humidityUnitLeft);
    io.Int("thnl", s.humidityNumberLeft);
    io.Int("thnt", s.humidityNumberTop);
    io.Int("thtt", s.humidityTop);
    io.Int("thcn", s.humidityDigitColour);
    io.Int("tnhct", s.humidityLabelColour);
    io.Int("tnns", s.digitSize);
    io.Int("tnst", s.sensor);
    io.Int("tntcn", s.temperatureDigitColour);
    io.Int("tntct", s.temperatureLabelColour);
    io.Int("tnts", s.labelFontSize);
    io.Text("tsf", s.fontName, TemperatureSettings::kFontCapacity);
    io.Text("tshb", s.humidityLabel, TemperatureSettings::kLabelCapacity);
    io.Text("tshe", s.humidityUnit, TemperatureSettings::kUnitCapacity);
    io.Text("tstb", s.temperatureLabel, TemperatureSettings::kLabelCapacity);
    io.Text("tste", s.temperatureUnit, TemperatureSettings::kUnitCapacity);
    io.Int("ttbl", s.temperatureLabelLeft);
    io.Int("ttel", s.temperatureUnitLeft);
    io.Int("ttnt", s.temperatureNumberTop);
    io.Int("tttt", s.temperatureTop);
    if (io.IsReading())
        m_action = ActionDirect;
}
