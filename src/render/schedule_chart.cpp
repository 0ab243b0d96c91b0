#include "render/schedule_chart.h"

#include "render/play_schedule.h"

#include <QColor>
#include <QFont>
#include <QLocale>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int kDays = 7;
constexpr int kHourWidth = 32;
constexpr int kLabelWidth = 120;
constexpr int kHeaderHeight = 24;
constexpr int kMargin = 12;
constexpr int kRowGap = 6;
constexpr int kRowHeight = 48;
constexpr int kLegendLine = 18;
constexpr int kLegendColumnWidth = 260;
constexpr int kLegendColumns = 3;

QColor ProgramColour(int index)
{
    // Hues a golden angle apart stay distinct for many programs.
    return QColor::fromHsv((index * 137) % 360, 170, 225);
}

int LaneHeight(int programs)
{
    return std::clamp(kRowHeight / std::max(programs, 1), 2, 16);
}

} // namespace

QImage DrawWeekChart(const CPlaySchedule& schedule, const QDate& first)
{
    const int programs = static_cast<int>(schedule.Programs().size());
    const int laneHeight = LaneHeight(programs);
    const int rowHeight = laneHeight * std::max(programs, 1);
    const int chartWidth = 24 * kHourWidth;
    const int legendRows = (programs + kLegendColumns - 1) / kLegendColumns;
    const int width = kMargin * 2 + kLabelWidth + chartWidth;
    const int chartTop = kMargin + kHeaderHeight;
    const int chartHeight = kDays * (rowHeight + kRowGap);
    const int height =
        chartTop + chartHeight + kMargin + std::max(legendRows, 1) * kLegendLine + kMargin;

    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    painter.setFont(font);
    const int left = kMargin + kLabelWidth;

    for (int hour = 0; hour <= 24; ++hour) {
        const int x = left + hour * kHourWidth;
        painter.setPen(QColor(hour % 6 == 0 ? 150 : 215, hour % 6 == 0 ? 150 : 215, 215));
        painter.drawLine(x, chartTop - 4, x, chartTop + chartHeight - kRowGap);
        if (hour < 24) {
            painter.setPen(Qt::black);
            painter.drawText(QRect(x, kMargin, kHourWidth, kHeaderHeight - 6), Qt::AlignCenter,
                             QStringLiteral("%1").arg(hour, 2, 10, QLatin1Char('0')));
        }
    }

    const QLocale english(QLocale::English);
    for (int d = 0; d < kDays; ++d) {
        const QDate date = first.addDays(d);
        const int top = chartTop + d * (rowHeight + kRowGap);
        painter.setPen(Qt::black);
        painter.drawText(QRect(kMargin, top, kLabelWidth - 6, rowHeight),
                         Qt::AlignVCenter | Qt::AlignLeft,
                         english.toString(date, QStringLiteral("ddd yyyy-MM-dd")));
        painter.fillRect(QRect(left, top, chartWidth, rowHeight), QColor(244, 244, 244));
        for (const CPlaySchedule::Band& band : schedule.Day(date)) {
            const int x0 = left + band.start * chartWidth / CPlaySchedule::kSecondsPerDay;
            const int x1 = left + band.end * chartWidth / CPlaySchedule::kSecondsPerDay;
            for (int program : band.programs)
                painter.fillRect(
                    QRect(x0, top + program * laneHeight, std::max(x1 - x0, 1), laneHeight),
                    ProgramColour(program));
        }
    }

    const int legendTop = chartTop + chartHeight + kMargin;
    if (programs == 0) {
        painter.setPen(Qt::black);
        painter.drawText(QPoint(kMargin, legendTop + 12), QStringLiteral("No program is sent."));
    }
    for (int i = 0; i < programs; ++i) {
        const int x = kMargin + (i % kLegendColumns) * kLegendColumnWidth;
        const int y = legendTop + (i / kLegendColumns) * kLegendLine;
        painter.fillRect(QRect(x, y + 2, 14, 12), ProgramColour(i));
        painter.setPen(Qt::black);
        painter.drawText(QRect(x + 20, y, kLegendColumnWidth - 24, kLegendLine),
                         Qt::AlignVCenter | Qt::AlignLeft,
                         schedule.Programs()[static_cast<size_t>(i)].name);
    }
    painter.end();
    return image;
}
