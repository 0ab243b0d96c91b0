#pragma once

#include "model/effect_zone.h"

#include <QString>

// The four items of a date-time zone, in display order.
enum DateTimeItem : int {
    DateTimeText = 0,
    DateTimeDate = 1,
    DateTimeWeekday = 2,
    DateTimeTime = 3,
    DateTimeItemCount = 4,
};

struct DateTimeSettings
{
    static constexpr int kTextCapacity = 126;

    std::int16_t timeDifference = 0; // minutes
    std::uint8_t oneLine = 0;        // 1 all items on one line
    std::uint8_t size = 2;           // controller font size 0 to 4
    std::uint8_t order = 0;          // 0 normal, 1 time and weekday exchanged
    std::uint8_t enabled[DateTimeItemCount] = {0, 1, 2, 3}; // not 0: shown
    std::uint16_t x[DateTimeItemCount] = {0, 0, 0, 0};
    std::uint8_t row[DateTimeItemCount] = {0, 0, 1, 2};
    std::uint8_t colour[DateTimeItemCount] = {1, 1, 1, 1};
    std::uint8_t format[DateTimeItemCount] = {0, 4, 1, 0};
    QString text;
};

// Date, weekday and time drawn live by the controller, with a static text.
class CDateTimeZone final : public CEffectZone
{
public:
    explicit CDateTimeZone(CProjectObject* parent);
    int GetKind() const override { return KindDateTime; }
    int GetImageIndex() const override { return 4; }
    void VisitProperties(CPropertyIo& io) override;

    DateTimeSettings& Settings() { return m_settings; }
    const DateTimeSettings& Settings() const { return m_settings; }

private:
    DateTimeSettings m_settings;
};
