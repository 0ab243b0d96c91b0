#pragma once

#include "model/effect_zone.h"

#include <QString>

// Colour slots of a countdown: the digits of days, hours, minutes and seconds, their
// units, and the title.
enum CountdownColour : int { CountdownDigits = 0, CountdownUnits = 4, CountdownTitle = 8 };

struct CountdownSettings
{
    static constexpr int kFontCapacity = 31;
    static constexpr int kTitleCapacity = 63;

    std::int32_t target = 0; // local time, seconds since 1970-01-01 00:00
    std::int32_t type = 0;   // 0 count down, 1 timer
    std::int32_t format = 0;
    std::int32_t show[4] = {1, 1, 1, 1}; // days, hours, minutes, seconds
    std::int32_t digitSize = 2;          // controller font size 0 to 4
    std::int32_t colour[9] = {1, 1, 1, 1, 1, 1, 1, 1, 1};
    std::int32_t titleFontSize = 12;
    QString titleFont;
    QString title;
    // Layout results of the renderer.
    std::int32_t numberLeft = 0;
    std::int32_t numberTop = 0;
    std::int32_t titleLeft = 0;
};

// Days, hours, minutes and seconds to a moment, drawn live by the controller.
class CCountdownZone final : public CEffectZone
{
public:
    explicit CCountdownZone(CProjectObject* parent);
    int GetKind() const override { return KindCountdown; }
    int GetImageIndex() const override { return 9; }
    void VisitProperties(CPropertyIo& io) override;

    CountdownSettings& Settings() { return m_settings; }
    const CountdownSettings& Settings() const { return m_settings; }

    // 23:59:59 of today (local time) plus thirty days, in local seconds since 1970.
    static std::int32_t DefaultTarget();

private:
    CountdownSettings m_settings;
};
