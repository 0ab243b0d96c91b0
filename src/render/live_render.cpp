#include "model/clock_zone.h"
#include "model/countdown_zone.h"
#include "model/datetime_zone.h"
#include "model/temperature_zone.h"
#include "platform/font_mapping.h"
#include "render/led_paint.h"
#include "render/live_layout.h"
#include "render/zone_renderers.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {

QFont PreviewFont(int sizeIndex)
{
    return LedFont(PreviewFontFace(), PointsToPixels(ControllerFontFor(sizeIndex).previewPoints));
}

QFont PointFont(const QString& face, int points)
{
    return LedFont(face, PointsToPixels(std::clamp(points, 1, 500)));
}

void StoreSinglePage(CEffectZone& zone, QImage page)
{
    zone.ClearPages();
    if (!page.isNull())
        zone.AddPage(std::make_unique<CLedBitmap>(std::move(page)));
}

void DrawLine(QPainter& painter, const QFont& font, const QColor& colour, const QRect& box,
              const QString& text, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop)
{
    if (text.isEmpty())
        return;
    painter.setFont(font);
    painter.setPen(colour);
    painter.save();
    painter.setClipRect(box);
    painter.drawText(box, alignment | Qt::TextSingleLine, text);
    painter.restore();
}

void DrawMark(QPainter& painter, const ClockSettings& settings, const ClockDial& dial, int position,
              int style, int size, int colour)
{
    if (size <= 0)
        return;
    size = std::min(size, 1000);
    const QPoint point = DialPoint(position, dial.radius) + QPoint(dial.shiftX, dial.shiftY);
    const int x0 = point.x() + dial.margin - (size + 1) / 2;
    const int y0 = point.y() + dial.margin - (size + 1) / 2;
    const QColor fill = ColourFromIndex(colour);
    switch (style) {
    case 1:
        painter.fillRect(QRect(x0, y0, size, size), fill);
        break;
    case 2: {
        const int hour = position == 0 ? 12 : position / 5;
        DrawLine(painter, PointFont(settings.titleFont, size), fill,
                 QRect(x0 - size, y0 - size, 3 * size, 3 * size), QString::number(hour),
                 Qt::AlignCenter);
        break;
    }
    default:
        painter.setPen(QColor(0, 0, 0));
        painter.setBrush(fill);
        painter.drawEllipse(QRect(x0 - 1, y0 - 1, size + 1, size + 1));
        painter.setBrush(Qt::NoBrush);
        break;
    }
}

void DrawHand(QImage& page, const ClockDial& dial, int position, int length, int width, int colour,
              int taper)
{
    const QRgb rgb = ColourFromIndex(colour).rgb();
    const int cx = dial.shiftX + dial.margin + dial.radius;
    const int cy = dial.shiftY + dial.margin + dial.radius;
    for (int d = 0; d < length; ++d) {
        int dotWidth = width;
        if (taper > 0 && d >= length - taper)
            dotWidth = std::max(1, width - (d - (length - taper) + 1));
        const QPoint point = DialPoint(position, d);
        const int x = cx - d + point.x();
        const int y = cy - d + point.y();
        for (const QPoint& dot : HandDotPattern(dotWidth)) {
            const int px = x + dot.x();
            const int py = y + dot.y();
            if (px >= 0 && py >= 0 && px < page.width() && py < page.height())
                page.setPixel(px, py, rgb);
        }
    }
}

} // namespace

void RenderClockZone(CClockZone& zone, RenderForm form, const QDateTime& now)
{
    const LedRect rect = zone.WindowRect();
    const int width = rect.Width();
    const int height = rect.Height();
    QImage page = BlackImage(width, height);
    if (page.isNull() || width <= 7 || height <= 7) {
        StoreSinglePage(zone, page);
        return;
    }
    const ClockSettings& s = zone.Settings();
    const ClockDial dial = ClockDialFor(s, width, height);
    {
        QPainter painter(&page);
        SetLedRenderHints(painter);
        if (s.titleShown && !s.title.isEmpty()) {
            DrawLine(painter, PointFont(s.titleFont, s.size[ClockTitle]),
                     ColourFromIndex(s.colour[ClockTitle]),
                     QRect(s.titleOffsetX, s.titleOffsetY, width, height / 2), s.title,
                     Qt::AlignHCenter | Qt::AlignTop);
        }
        for (int p = 0; p < 60; ++p) {
            if (p % 5 != 0)
                DrawMark(painter, s, dial, p, s.minuteMarkStyle == 2 ? 0 : s.minuteMarkStyle,
                         s.size[ClockMinuteMarks], s.colour[ClockMinuteMarks]);
        }
        for (int p = 0; p < 60; p += 5)
            DrawMark(painter, s, dial, p, s.hourMarkStyle, s.size[ClockHourMarks],
                     s.colour[ClockHourMarks]);
    }
    if (form == RenderForm::Display) {
        const int offset = s.offsetSign ? -s.offsetMinutes : s.offsetMinutes;
        const QTime time = now.addSecs(static_cast<qint64>(offset) * 60).time();
        const int r = dial.radius;
        DrawHand(page, dial, time.second(), 7 * r / 8 - 1, s.size[ClockSecondHand],
                 s.colour[ClockSecondHand], 0);
        DrawHand(page, dial, time.minute(), 3 * r / 4, s.size[ClockMinuteHand],
                 s.colour[ClockMinuteHand], 0);
        DrawHand(page, dial, (time.hour() % 12) * 5 + time.minute() / 12, 2 * r / 3,
                 s.size[ClockHourHand], s.colour[ClockHourHand], s.size[ClockHourHand]);
    }
    StoreSinglePage(zone, page);
}

void RenderDateTimeZone(CDateTimeZone& zone, RenderForm form, const QDateTime& now)
{
    const LedRect rect = zone.WindowRect();
    const int width = rect.Width();
    const int height = rect.Height();
    DateTimeSettings& s = zone.Settings();
    const QFont font = PreviewFont(s.size);
    const int staticWidth = s.text.isEmpty() ? 0 : QFontMetrics(font).horizontalAdvance(s.text);
    LayoutDateTime(s, width, staticWidth, now);
    QImage page = BlackImage(width, height);
    if (page.isNull()) {
        StoreSinglePage(zone, page);
        return;
    }
    const int lineHeight = ControllerFontFor(s.size).lineHeight;
    QPainter painter(&page);
    SetLedRenderHints(painter);
    const int last = form == RenderForm::Controller ? DateTimeText : DateTimeTime;
    for (int item = DateTimeText; item <= last; ++item) {
        if (!s.enabled[item])
            continue;
        const DateTimeItemText text = FormatDateTimeItem(s, item, s.format[item], now);
        const int top = s.row[item] * lineHeight;
        DrawLine(painter, font, ColourFromIndex(s.colour[item]),
                 QRect(s.x[item], top, std::max(0, width - s.x[item]), lineHeight), text.text);
    }
    painter.end();
    StoreSinglePage(zone, page);
}

void RenderTemperatureZone(CTemperatureZone& zone, RenderForm form)
{
    const LedRect rect = zone.WindowRect();
    const int width = rect.Width();
    const int height = rect.Height();
    TemperatureSettings& s = zone.Settings();
    const QFont labelFont = PointFont(s.fontName, s.labelFontSize);
    const QFontMetrics metrics(labelFont);
    TemperatureMeasures m;
    m.temperatureLabel = metrics.horizontalAdvance(s.temperatureLabel);
    m.temperatureUnit = metrics.horizontalAdvance(s.temperatureUnit);
    m.humidityLabel = metrics.horizontalAdvance(s.humidityLabel);
    m.humidityUnit = metrics.horizontalAdvance(s.humidityUnit);
    m.labelHeight = metrics.height();
    LayoutTemperature(s, width, height, m);
    QImage page = BlackImage(width, height);
    if (page.isNull()) {
        StoreSinglePage(zone, page);
        return;
    }
    const ControllerFont digits = ControllerFontFor(s.digitSize);
    QPainter painter(&page);
    SetLedRenderHints(painter);
    const auto label = [&](int x, int top, const QString& text, int colour) {
        DrawLine(painter, labelFont, ColourFromIndex(colour),
                 QRect(x, top, std::max(0, width - x), m.labelHeight), text);
    };
    if (TemperatureShown(s)) {
        label(s.temperatureLabelLeft, s.temperatureTop, s.temperatureLabel,
              s.temperatureLabelColour);
        label(s.temperatureUnitLeft, s.temperatureTop, s.temperatureUnit, s.temperatureLabelColour);
        if (form == RenderForm::Display) {
            const int left = TemperatureValueLeft(s);
            DrawLine(painter, PreviewFont(s.digitSize), ColourFromIndex(s.temperatureDigitColour),
                     QRect(left, s.temperatureNumberTop, 3 * digits.halfWidth + digits.halfWidth,
                           digits.lineHeight),
                     QStringLiteral(" 26"));
        }
    }
    if (HumidityShown(s)) {
        label(s.humidityLabelLeft, s.humidityTop, s.humidityLabel, s.humidityLabelColour);
        label(s.humidityUnitLeft, s.humidityTop, s.humidityUnit, s.humidityLabelColour);
        if (form == RenderForm::Display) {
            DrawLine(painter, PreviewFont(s.digitSize), ColourFromIndex(s.humidityDigitColour),
                     QRect(s.humidityNumberLeft, s.humidityNumberTop, 3 * digits.halfWidth,
                           digits.lineHeight),
                     QStringLiteral("60"));
        }
    }
    painter.end();
    StoreSinglePage(zone, page);
}

void RenderCountdownZone(CCountdownZone& zone, RenderForm form, const QDateTime& now)
{
    const LedRect rect = zone.WindowRect();
    const int width = rect.Width();
    const int height = rect.Height();
    CountdownSettings& s = zone.Settings();
    const QFont titleFont = PointFont(s.titleFont, s.titleFontSize);
    const QFontMetrics metrics(titleFont);
    const int titleWidth = s.title.isEmpty() ? 0 : metrics.horizontalAdvance(s.title);
    const int titleHeight = s.title.isEmpty() ? 0 : metrics.height();
    const CountdownLine line = BuildCountdownLine(s, LocalSeconds(now));
    LayoutCountdown(s, width, height, titleWidth, titleHeight, line);
    QImage page = BlackImage(width, height);
    if (page.isNull()) {
        StoreSinglePage(zone, page);
        return;
    }
    const ControllerFont digits = ControllerFontFor(s.digitSize);
    QPainter painter(&page);
    SetLedRenderHints(painter);
    if (!s.title.isEmpty()) {
        DrawLine(painter, titleFont, ColourFromIndex(s.colour[CountdownTitle]),
                 QRect(s.titleLeft, s.numberTop - titleHeight, std::max(0, width - s.titleLeft),
                       titleHeight),
                 s.title);
    }
    if (form == RenderForm::Display) {
        if (line.over) {
            page.fill(0xFF000000u);
            DrawLine(painter, PreviewFont(2), QColor(255, 0, 0), QRect(0, 0, width, height),
                     QStringLiteral("-Over Time-"));
        } else {
            const QFont font = PreviewFont(s.digitSize);
            for (const CountdownPart& part : line.parts) {
                const int x = s.numberLeft + part.x;
                const int labelX = s.numberLeft + part.labelX;
                DrawLine(painter, font, ColourFromIndex(s.colour[CountdownDigits + part.unit]),
                         QRect(x, s.numberTop, std::max(0, labelX - x), digits.lineHeight),
                         part.digits);
                DrawLine(painter, font, ColourFromIndex(s.colour[CountdownUnits + part.unit]),
                         QRect(labelX, s.numberTop, std::max(0, width - labelX), digits.lineHeight),
                         part.label);
            }
        }
    }
    painter.end();
    StoreSinglePage(zone, page);
}
