#include "render/led_paint.h"

#include <QPainter>

#include <algorithm>

namespace {

bool RowHasInk(const QImage& image, int y)
{
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    const int width = image.width();
    for (int x = 0; x < width; ++x) {
        if (row[x] & 0x00FFFFFFu)
            return true;
    }
    return false;
}

} // namespace

InkRows FindInkRows(const QImage& source)
{
    InkRows rows;
    if (source.isNull())
        return rows;
    const QImage image =
        source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
            ? source
            : source.convertToFormat(QImage::Format_RGB32);
    const int height = image.height();
    int first = 0;
    while (first < height && !RowHasInk(image, first))
        ++first;
    if (first == height)
        return rows;
    int last = height - 1;
    while (last > first && !RowHasInk(image, last))
        --last;
    rows.first = first;
    rows.last = last;
    return rows;
}

void ReduceColours(QImage& image, std::uint32_t keyColour, int tolerance, int pixelLimit)
{
    if (image.isNull())
        return;
    if (image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    const int kr = static_cast<int>(keyColour & 0xFF);
    const int kg = static_cast<int>((keyColour >> 8) & 0xFF);
    const int kb = static_cast<int>((keyColour >> 16) & 0xFF);
    const auto within = [tolerance](int value, int key) {
        return static_cast<long long>(key) - tolerance <= value &&
               value <= static_cast<long long>(key) + tolerance;
    };
    const auto level = [pixelLimit](int value) { return value > pixelLimit ? 255 : 0; };
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int r = qRed(row[x]);
            const int g = qGreen(row[x]);
            const int b = qBlue(row[x]);
            if (within(r, kr) && within(g, kg) && within(b, kb))
                row[x] = qRgb(0, 0, 0);
            else
                row[x] = qRgb(level(r), level(g), level(b));
        }
    }
}

void ReduceColours(QImage& image, const ImageKeyParams& key)
{
    ReduceColours(image, key.keyColour, key.tolerance, key.pixelLimit);
}

void ReduceToScreenColours(QImage& image, int colourDepth)
{
    if (image.isNull())
        return;
    if (image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    if (colourDepth < 1 || colourDepth > 3)
        colourDepth = 1;
    const auto lit = [](int value) { return value >= 2 ? 255 : 0; };
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = row[x];
            row[x] = qRgb(lit(qRed(pixel)), colourDepth >= 2 ? lit(qGreen(pixel)) : 0,
                          colourDepth >= 3 ? lit(qBlue(pixel)) : 0);
        }
    }
}

void ReduceForCard(QImage& image, const ImageKeyParams* key, int colourDepth)
{
    if (image.isNull())
        return;
    if (image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    if (colourDepth < 1 || colourDepth > 3)
        colourDepth = 1;
    // Channels the screen lacks are dropped; a channel it has is lit from 2 up, and after
    // the key's reduction a channel is either 0 or 255.
    const QRgb shown = 0xFF000000u | 0xFF0000u | (colourDepth >= 2 ? 0xFF00u : 0u) |
                       (colourDepth >= 3 ? 0xFFu : 0u);
    long long low[3] = {0, 0, 0};
    long long high[3] = {-1, -1, -1};
    int limit = 1; // the screen's own threshold: lit from 2
    if (key) {
        for (int c = 0; c < 3; ++c) {
            const long long centre = (key->keyColour >> (8 * c)) & 0xFF;
            low[c] = centre - key->tolerance;
            high[c] = centre + key->tolerance;
        }
        limit = key->pixelLimit;
    }
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int r = qRed(row[x]);
            const int g = qGreen(row[x]);
            const int b = qBlue(row[x]);
            if (low[0] <= r && r <= high[0] && low[1] <= g && g <= high[1] && low[2] <= b &&
                b <= high[2]) {
                row[x] = 0xFF000000u;
                continue;
            }
            const QRgb lit = (r > limit ? 0xFF0000u : 0u) | (g > limit ? 0xFF00u : 0u) |
                             (b > limit ? 0xFFu : 0u);
            row[x] = 0xFF000000u | (lit & shown);
        }
    }
}

QColor ColourFromColorRef(std::uint32_t colorRef)
{
    return QColor(static_cast<int>(colorRef & 0xFF), static_cast<int>((colorRef >> 8) & 0xFF),
                  static_cast<int>((colorRef >> 16) & 0xFF));
}

std::uint32_t ColorRefFromColour(const QColor& colour)
{
    return static_cast<std::uint32_t>(colour.red()) |
           (static_cast<std::uint32_t>(colour.green()) << 8) |
           (static_cast<std::uint32_t>(colour.blue()) << 16);
}

QColor ColourFromIndex(int index)
{
    return QColor(index & 1 ? 255 : 0, index & 2 ? 255 : 0, index & 4 ? 255 : 0);
}

QImage BlackImage(int width, int height)
{
    if (width <= 0 || height <= 0)
        return QImage();
    QImage image(width, height, QImage::Format_RGB32);
    if (!image.isNull())
        image.fill(0xFF000000u);
    return image;
}

void CopyRect(QImage& dst, int dx, int dy, const QImage& src, int sx, int sy, int w, int h)
{
    if (dst.isNull() || src.isNull() || w <= 0 || h <= 0)
        return;
    // Clip against the source.
    if (sx < 0) {
        w += sx;
        dx -= sx;
        sx = 0;
    }
    if (sy < 0) {
        h += sy;
        dy -= sy;
        sy = 0;
    }
    // Clip against the destination.
    if (dx < 0) {
        w += dx;
        sx -= dx;
        dx = 0;
    }
    if (dy < 0) {
        h += dy;
        sy -= dy;
        dy = 0;
    }
    w = std::min({w, src.width() - sx, dst.width() - dx});
    h = std::min({h, src.height() - sy, dst.height() - dy});
    if (w <= 0 || h <= 0)
        return;
    const QImage source = src.format() == dst.format() ? src : src.convertToFormat(dst.format());
    const int bytes = source.depth() / 8;
    if (bytes <= 0)
        return;
    for (int row = 0; row < h; ++row) {
        std::copy_n(source.constScanLine(sy + row) + sx * bytes, w * bytes,
                    dst.scanLine(dy + row) + dx * bytes);
    }
}

void SetLedRenderHints(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
}
