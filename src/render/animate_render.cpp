#include "render/led_paint.h"
#include "render/zone_renderers.h"

#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

QImage Stretched(const QImage& text, const QRect& target, bool mirrorX, bool mirrorY)
{
    QImage page = BlackImage(text.width(), text.height());
    if (page.isNull() || target.isEmpty())
        return page;
    QPainter painter(&page);
    SetLedRenderHints(painter);
    painter.drawImage(target, mirrorX || mirrorY ? text.mirrored(mirrorX, mirrorY) : text);
    return page;
}

// Flip about the vertical (horizontal = true) or horizontal axis.
std::vector<QImage> FlipPages(const QImage& text, bool horizontal, int steps)
{
    std::vector<QImage> pages;
    const int width = text.width();
    const int height = text.height();
    const int quarter = std::max(1, steps / 4);
    const int side = horizontal ? width : height;
    const auto squeezed = [&] {
        QImage page = BlackImage(width, height);
        QPainter painter(&page);
        SetLedRenderHints(painter);
        painter.drawImage(QRect(width / 2 - 2, 0, 4, height), text);
        return page;
    };
    for (int q = 0; q < 4; ++q) {
        const bool mirrored = q == 1 || q == 2;
        for (int k = 0; k < quarter; ++k) {
            if (horizontal && q == 2 && k == 0)
                continue;
            const int b = q % 2 == 0 ? k : quarter - 1 - k;
            const int inset = static_cast<int>(side * b * 0.5 / quarter);
            const int extent = std::max(1, side - 2 * inset);
            const QRect target =
                horizontal ? QRect(inset, 0, extent, height) : QRect(0, inset, width, extent);
            pages.push_back(
                Stretched(text, target, horizontal && mirrored, !horizontal && mirrored));
        }
        if (horizontal && (q == 0 || q == 2))
            pages.push_back(squeezed());
    }
    return pages;
}

std::vector<QImage> RotatePages(const QImage& text, bool revolve, int steps)
{
    std::vector<QImage> pages;
    const int width = text.width();
    const int height = text.height();
    for (int n = 0; n <= steps; ++n) {
        const int angle = (revolve ? steps - n : n) * 360 / steps;
        const double radians = angle * kPi / 180.0;
        const double c = std::cos(radians);
        const double s = std::sin(radians);
        const int boxWidth = static_cast<int>(
            std::max(std::fabs(width * c - height * s), std::fabs(width * c + height * s)));
        const int boxHeight = static_cast<int>(
            std::max(std::fabs(width * s - height * c), std::fabs(width * s + height * c)));
        QImage page = BlackImage(width, height);
        QPainter painter(&page);
        SetLedRenderHints(painter);
        const QPointF origin =
            revolve ? QPointF((width - boxWidth) / 2, (height - boxHeight) / 2) : QPointF(0, 0);
        painter.translate(origin + QPointF(boxWidth / 2.0, boxHeight / 2.0));
        painter.rotate(360 - angle);
        painter.translate(-width / 2.0, -height / 2.0);
        painter.drawImage(0, 0, text);
        painter.end();
        pages.push_back(std::move(page));
    }
    return pages;
}

std::vector<QImage> SpritePages(const QImage& text, int kind, bool toRight, int steps)
{
    std::vector<QImage> pages;
    const int width = text.width();
    const int height = text.height();
    const int step = (width + steps - 1) / steps;
    for (int i = 0; i < steps; ++i) {
        QImage sprite = SpritePicture(kind, i % 2, height);
        if (toRight)
            sprite = sprite.mirrored(true, false);
        QImage page = BlackImage(width, height);
        const int spriteTop = (height - sprite.height()) / 2;
        if (!toRight) {
            const int edge = width - i * step;
            CopyRect(page, edge, 0, text, 0, 0, width, height);
            CopyRect(page, edge - sprite.width(), spriteTop, sprite, 0, 0, sprite.width(),
                     sprite.height());
        } else {
            const int edge = i * step;
            CopyRect(page, edge - width, 0, text, 0, 0, width, height);
            CopyRect(page, edge, spriteTop, sprite, 0, 0, sprite.width(), sprite.height());
        }
        pages.push_back(std::move(page));
    }
    return pages;
}

} // namespace

QImage SpritePicture(int kind, int frame, int windowHeight)
{
    const int size = std::clamp(windowHeight, 4, 32);
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(0xFF000000u);
    QPainter painter(&image);
    SetLedRenderHints(painter);
    painter.setPen(Qt::NoPen);
    if (kind == 0) {
        // An eater facing left, mouth open or closed.
        painter.setBrush(QColor(255, 255, 0));
        const QRectF body(0, 0, size - 1, size - 1);
        if (frame == 0)
            painter.drawPie(body, (180 + 35) * 16, (360 - 70) * 16);
        else
            painter.drawPie(body, (180 + 8) * 16, (360 - 16) * 16);
        painter.setBrush(QColor(0, 0, 0));
        const int eye = std::max(1, size / 8);
        painter.drawRect(size / 2 - eye / 2, size / 4 - eye / 2, eye, eye);
    } else {
        // A butterfly seen from above, wings up or down.
        const double mid = size / 2.0;
        const double span = frame == 0 ? size * 0.48 : size * 0.3;
        painter.setBrush(QColor(255, 0, 255));
        painter.drawEllipse(QPointF(mid - span / 2, mid - size * 0.2), span / 2, size * 0.22);
        painter.drawEllipse(QPointF(mid + span / 2, mid - size * 0.2), span / 2, size * 0.22);
        painter.setBrush(QColor(0, 255, 255));
        painter.drawEllipse(QPointF(mid - span / 2.5, mid + size * 0.2), span / 2.5, size * 0.16);
        painter.drawEllipse(QPointF(mid + span / 2.5, mid + size * 0.2), span / 2.5, size * 0.16);
        painter.setBrush(QColor(255, 255, 255));
        painter.drawRect(QRectF(mid - 0.5, size * 0.1, std::max(1.0, size / 12.0), size * 0.8));
    }
    painter.end();
    return image;
}

std::vector<QImage> AnimatePages(const QImage& text, int type, int steps, int hold1, int hold2,
                                 std::vector<std::uint32_t>& holds)
{
    holds.clear();
    std::vector<QImage> pages;
    if (text.isNull())
        return pages;
    steps = std::clamp(steps, 1, 128); // the editor offers 8 to 64
    const auto hold = [](int value) {
        return static_cast<std::uint32_t>(std::clamp(value, 0, 0xFFFF));
    };
    switch (type) {
    case 2:
        pages = FlipPages(text, true, steps);
        for (size_t i = 0; i < pages.size(); ++i) {
            if (i + 1 == pages.size() || i == 0)
                holds.push_back(hold(hold2));
            else if (static_cast<int>(i) == steps / 2)
                holds.push_back(hold(hold2 / 2));
            else
                holds.push_back(hold(hold1));
        }
        return pages;
    case 3:
    case 4:
    case 5:
        pages = type == 3 ? FlipPages(text, false, steps) : RotatePages(text, type == 5, steps);
        for (size_t i = 0; i < pages.size(); ++i)
            holds.push_back(i == 0 || i + 1 == pages.size() ? hold(hold2) : hold(hold1));
        return pages;
    default: {
        const bool toRight = type == 1 || type == 7;
        const int kind = type == 6 || type == 7 ? 1 : 0;
        pages = SpritePages(text, kind, toRight, steps);
        holds.assign(pages.size(), hold(hold1));
        pages.push_back(text);
        holds.push_back(hold(hold2));
        return pages;
    }
    }
}
