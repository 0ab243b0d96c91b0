#include "render/led_look.h"

#include <algorithm>

namespace {

constexpr int kSmallestPreviewLookZoom = 4;
// The dot's radius as a share of the cell.
constexpr double kDotRadius = 0.42;

} // namespace

CLedLook::CLedLook(int zoom, bool dots)
    : m_zoom(std::max(1, zoom)), m_dots(dots && zoom >= kSmallestDotZoom),
      m_mask(static_cast<size_t>(m_zoom) * static_cast<size_t>(m_zoom), 1)
{
    if (!m_dots)
        return;
    const double centre = m_zoom / 2.0;
    const double radius = m_zoom * kDotRadius;
    for (int j = 0; j < m_zoom; ++j) {
        for (int i = 0; i < m_zoom; ++i) {
            const double dx = i + 0.5 - centre;
            const double dy = j + 0.5 - centre;
            m_mask[static_cast<size_t>(j * m_zoom + i)] =
                dx * dx + dy * dy <= radius * radius ? 1 : 0;
        }
    }
}

QImage CLedLook::Draw(const QImage& leds) const
{
    if (leds.isNull())
        return QImage();
    const QImage source = leds.convertToFormat(QImage::Format_RGB32);
    QImage out(source.width() * m_zoom, source.height() * m_zoom, QImage::Format_RGB32);
    if (out.isNull())
        return out;
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int j = 0; j < m_zoom; ++j) {
            auto* row = reinterpret_cast<QRgb*>(out.scanLine(y * m_zoom + j));
            for (int x = 0; x < source.width(); ++x) {
                QRgb* cell = row + static_cast<ptrdiff_t>(x) * m_zoom;
                for (int i = 0; i < m_zoom; ++i)
                    cell[i] = InDot(i, j) ? (in[x] | 0xFF000000u) : kGround;
            }
        }
    }
    return out;
}

bool LedLookFits(int numerator, int denominator)
{
    return denominator == 1 && numerator >= kSmallestPreviewLookZoom;
}
