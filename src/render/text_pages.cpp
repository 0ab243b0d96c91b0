#include "render/text_pages.h"

#include "render/led_paint.h"

#include <algorithm>

int AlignedTop(int windowHeight, int inkHeight, int verticalAlign)
{
    switch (verticalAlign) {
    case 2:
        return 0;
    case 3:
        return windowHeight - inkHeight - (windowHeight != inkHeight ? 1 : 0);
    default:
        return (windowHeight - inkHeight) / 2;
    }
}

std::vector<QImage> CutTallStrip(const QImage& strip, int width, int height)
{
    std::vector<QImage> pages;
    const InkRows ink = FindInkRows(strip);
    if (!ink.HasInk() || width <= 0 || height <= 0)
        return pages;
    // Every ink row lands on a page, the last one too.
    for (int y = ink.first; y <= ink.last; y += height) {
        QImage page = BlackImage(width, height);
        CopyRect(page, 0, 0, strip, 0, y, width, height);
        pages.push_back(std::move(page));
    }
    return pages;
}

std::vector<QImage> CutWideStrip(const QImage& strip, int width, int height, int verticalAlign)
{
    std::vector<QImage> pages;
    const InkRows ink = FindInkRows(strip);
    if (!ink.HasInk() || width <= 0 || height <= 0)
        return pages;
    const int top = AlignedTop(height, ink.Height(), verticalAlign);
    for (int x = 0; x < strip.width(); x += width) {
        QImage page = BlackImage(width, height);
        CopyRect(page, 0, top, strip, x, ink.first, width, height);
        pages.push_back(std::move(page));
    }
    return pages;
}

std::vector<QImage> PackLines(const std::vector<QImage>& lines, int width, int height,
                              int verticalAlign, int topSpace, int linePitch)
{
    struct Line
    {
        const QImage* image;
        int source;
        int height;
    };
    std::vector<Line> items;
    std::vector<QImage> pages;
    if (width <= 0 || height <= 0)
        return pages;
    const bool fixedPitch = topSpace != 0 || linePitch != 0;
    for (const QImage& image : lines) {
        const InkRows ink = FindInkRows(image);
        if (!ink.HasInk())
            continue;
        Line line{&image, ink.first, verticalAlign != 0 ? ink.Height() : height};
        if (fixedPitch && line.height != linePitch) {
            line.source = ink.first - topSpace - (linePitch - line.height) / 2;
            line.height = linePitch;
        }
        if (line.height <= 0)
            continue;
        items.push_back(line);
    }
    size_t i = 0;
    while (i < items.size()) {
        QImage work = BlackImage(width, height);
        int y = 0;
        for (;;) {
            const Line& line = items[i];
            CopyRect(work, 0, y, *line.image, 0, line.source, width, line.height);
            y += line.height;
            ++i;
            if (i == items.size())
                break;
            int gap = 0;
            if (!fixedPitch)
                gap = line.height <= 3 ? 1 : line.height / 4;
            if (y + gap + items[i].height > height)
                break;
            y += gap;
        }
        // A line higher than the window fills its page from the top.
        const int used = std::min(y, height);
        QImage page = BlackImage(width, height);
        CopyRect(page, 0, AlignedTop(height, used, verticalAlign), work, 0, 0, width, used);
        pages.push_back(std::move(page));
    }
    return pages;
}

void DropBlankLastPage(std::vector<QImage>& pages)
{
    if (pages.size() > 1 && !FindInkRows(pages.back()).HasInk())
        pages.pop_back();
}
