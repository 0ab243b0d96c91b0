#pragma once

#include "model/effect_zone.h"

#include <QString>

struct TemperatureSettings
{
    static constexpr int kLabelCapacity = 31;
    static constexpr int kUnitCapacity = 15;
    static constexpr int kFontCapacity = 31;

    std::int32_t sensor = 0; // 0 temperature only, 1 temperature and humidity
    std::int32_t showTemperature = 1;
    std::int32_t showHumidity = 0;
    std::int32_t oneLine = 0;
    QString temperatureLabel; // before the temperature
    QString temperatureUnit;  // after it
    QString humidityLabel;
    QString humidityUnit;
    QString fontName;
    std::int32_t labelFontSize = 12; // points
    std::int32_t digitSize = 2;      // controller font size 0 to 4
    std::int32_t temperatureDigitColour = 1;
    std::int32_t humidityDigitColour = 1;
    std::int32_t temperatureLabelColour = 1;
    std::int32_t humidityLabelColour = 1;
    // Layout results of the renderer.
    std::int32_t temperatureLabelLeft = 0; // ttbl
    std::int32_t temperatureUnitLeft = 0;  // ttel
    std::int32_t temperatureTop = 0;       // tttt
    std::int32_t humidityLabelLeft = 0;    // thbl
    std::int32_t humidityUnitLeft = 0;     // thel
    std::int32_t humidityTop = 0;          // thtt
    std::int16_t humidityNumberLeft = 0;   // thnl
    std::uint8_t temperatureNumberTop = 0; // ttnt
    std::uint8_t humidityNumberTop = 0;    // thnt
};

// Temperature (and humidity) that the controller reads from its sensor and draws live.
class CTemperatureZone final : public CEffectZone
{
public:
    explicit CTemperatureZone(CProjectObject* parent);
    int GetKind() const override { return KindTemperature; }
    int GetImageIndex() const override { return 8; }
    void VisitProperties(CPropertyIo& io) override;

    TemperatureSettings& Settings() { return m_settings; }
    const TemperatureSettings& Settings() const { return m_settings; }

private:
    TemperatureSettings m_settings;
};
