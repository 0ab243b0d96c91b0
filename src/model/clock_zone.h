#pragma once

#include "model/effect_zone.h"

#include <QString>

// The six parts of an analogue clock, in file order.
enum ClockPart : int {
    ClockHourMarks = 0,
    ClockMinuteMarks = 1,
    ClockHourHand = 2,
    ClockMinuteHand = 3,
    ClockSecondHand = 4,
    ClockTitle = 5,
    ClockPartCount = 6,
};

struct ClockSettings
{
    static constexpr int kTitleCapacity = 255;
    static constexpr int kFontCapacity = 127;

    std::int32_t colour[ClockPartCount] = {1, 1, 1, 1, 1, 1}; // colour indexes
    // Mark sizes and hand widths (0 to 10); the title's font size in points.
    std::int32_t size[ClockPartCount] = {4, 0, 2, 1, 1, 9};
    std::int32_t hourMarkStyle = 0;   // 0 round, 1 rect, 2 number
    std::int32_t minuteMarkStyle = 0; // 0 round, 1 rect
    std::int32_t titleShown = 0;
    QString title;
    QString titleFont;
    std::int32_t titleOffsetX = 0;
    std::int32_t titleOffsetY = 0;
    std::int32_t offsetMinutes = 0;
    std::int32_t offsetSign = 0; // 0 plus, 1 minus
};

// An analogue clock that the controller draws live.
class CClockZone final : public CEffectZone
{
public:
    explicit CClockZone(CProjectObject* parent);
    int GetKind() const override { return KindClock; }
    int GetImageIndex() const override { return 3; }
    void VisitProperties(CPropertyIo& io) override;

    ClockSettings& Settings() { return m_settings; }
    const ClockSettings& Settings() const { return m_settings; }

private:
    ClockSettings m_settings;
};
