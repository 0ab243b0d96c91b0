#include "base/bounded_file.h"
#include "model/program.h"
#include "model/screen.h"
#include "model/source_path.h"
#include "render/led_paint.h"
#include "render/zone_renderers.h"

#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kPatternWidth = 16;
const int kPatternHeights[CProgram::kBorderPatternCount] = {
    1, 2, 2, 2, 2, 2, 3, 3, 3, 4, 4, 5, 5, 5, 5, 5, 8, 8, 10, 11, 15, 16, 16, 1, 1, 7, 7, 7, 7, 8};

int ColourDepthOf(const CProgram& program)
{
    for (const CProjectObject* object = program.Parent(); object; object = object->Parent()) {
        if (object->GetKind() == KindScreen)
            return static_cast<const CScreen*>(object)->ColourDepth();
    }
    return 3;
}

// Keeps the colours a screen of the depth can show: a single-colour screen lights red, a
// two-colour screen red and green.
void AdaptToDepth(QImage& image, int depth)
{
    if (depth >= 3)
        return;
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const bool lit = (row[x] & 0xFFFFFF) != 0;
            if (!lit)
                continue;
            if (depth <= 1) {
                row[x] = qRgb(255, 0, 0);
            } else if (qRed(row[x]) == 0 && qGreen(row[x]) == 0) {
                row[x] = qRgb(0, 255, 0);
            } else {
                row[x] = qRgb(qRed(row[x]), qGreen(row[x]), 0);
            }
        }
    }
}

} // namespace

int BuiltInBorderHeight(int index)
{
    if (index < 0 || index >= CProgram::kBorderPatternCount)
        return 0;
    return kPatternHeights[index];
}

QImage BuiltInBorderPattern(int index)
{
    const int height = BuiltInBorderHeight(index);
    if (height <= 0)
        return QImage();
    QImage image = BlackImage(kPatternWidth, height);
    static const QRgb kColours[] = {qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
                                    qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
    const QRgb first = kColours[index % 3];
    const QRgb second = kColours[(index / 3 + 1) % 6];
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < kPatternWidth; ++x) {
            bool on = false;
            bool alt = false;
            switch (index % 6) {
            case 0: // dashes
                on = (x / 4) % 2 == 0;
                alt = (x / 8) % 2 != 0;
                break;
            case 1: // checks
                on = ((x / 2) + (y / 2)) % 2 == 0;
                break;
            case 2: // chevrons pointing along the run
                on = std::abs((x % 8) - 4) <= (height > 1 ? y * 4 / height + 1 : 2);
                alt = x >= 8;
                break;
            case 3: // dots
                on = x % 4 == 1 && (height < 3 || y % 3 == height % 3 / 2);
                alt = (x / 4) % 2 != 0;
                break;
            case 4: // solid band with a contrasting centre line
                on = true;
                alt = height > 2 && y == height / 2;
                break;
            default: // diagonal stripes
                on = (x + y) % 6 < 3;
                alt = (x + y) % 12 >= 6;
                break;
            }
            if (on)
                image.setPixel(x, y, alt ? second : first);
        }
    }
    return image;
}

QImage BorderPatternFromImage(const QImage& source)
{
    if (source.isNull())
        return QImage();
    const int width = source.width();
    const int height = source.height();
    if (width > kPatternWidth || height > kPatternWidth) {
        const int across = (width + kPatternWidth - 1) / kPatternWidth;
        const int rows = std::clamp((height + across - 1) / across, 1, kPatternWidth);
        return source.convertToFormat(QImage::Format_RGB32)
            .scaled(kPatternWidth, rows, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    QImage pattern = BlackImage(kPatternWidth, std::min(height, kPatternWidth));
    CopyRect(pattern, (kPatternWidth - width) / 2, 0, source.convertToFormat(QImage::Format_RGB32),
             0, 0, width, height);
    return pattern;
}

void PrepareProgramBorder(CProgram& program)
{
    program.SetBorderWidth(0);
    program.BorderPattern() = QImage();
    program.BorderStrip() = QImage();
    const ProgramBorder& border = program.Border();
    if (!border.enabled)
        return;
    QImage pattern;
    if (border.source != 0) {
        // Only regular files of a sane size are read (a FIFO would block); anything else is
        // a missing picture.
        const QString borderPath = ResolveSourcePath(program, program.BorderKey().sourcePath);
        if (!IsSafeNamedFile(borderPath))
            return;
        QImageReader reader(borderPath);
        const QSize size = reader.size();
        if (size.isValid() && (size.width() > 4096 || size.height() > 4096)) {
            // Halve the work for huge pictures; the pattern is 16 pixels wide anyway.
            reader.setScaledSize(size.scaled(1024, 1024, Qt::KeepAspectRatio));
        }
        const QImage image = reader.read();
        if (image.isNull())
            return;
        pattern = BorderPatternFromImage(image);
        ReduceColours(pattern, program.BorderKey());
    } else {
        pattern = BuiltInBorderPattern(border.pattern);
        if (pattern.isNull())
            return;
        AdaptToDepth(pattern, ColourDepthOf(program));
    }
    if (pattern.isNull())
        return;
    const int thickness = pattern.height();
    QImage strip;
    if (border.flat) {
        strip = pattern.copy(0, 0, thickness, thickness);
    } else {
        strip = BlackImage(thickness, kPatternWidth);
        for (int y = 0; y < kPatternWidth; ++y)
            for (int x = 0; x < thickness; ++x)
                strip.setPixel(x, y, pattern.pixel(y, x));
    }
    program.BorderPattern() = pattern;
    program.BorderStrip() = strip;
    program.SetBorderWidth(thickness);
}

void DrawProgramBorder(QImage& screen, const CProgram& program)
{
    DrawBorderPatterns(screen, program, program.BorderPattern(), program.BorderStrip());
}

void DrawBorderPatterns(QImage& screen, const CProgram& program, const QImage& pattern,
                        const QImage& strip)
{
    const int width = program.BorderWidth();
    if (!program.Border().enabled || width <= 0 || pattern.isNull() || strip.isNull())
        return;
    const bool flat = program.Border().flat != 0;
    const QImage bottom = flat ? pattern : pattern.mirrored(false, true);
    const QImage right = flat ? strip : strip.mirrored(true, false);
    for (int x = 0; x < screen.width(); x += pattern.width()) {
        CopyRect(screen, x, 0, pattern, 0, 0, pattern.width(), pattern.height());
        CopyRect(screen, x, screen.height() - width, bottom, 0, 0, bottom.width(), bottom.height());
    }
    for (int y = 0; y < screen.height(); y += strip.height()) {
        CopyRect(screen, 0, y, strip, 0, 0, strip.width(), strip.height());
        CopyRect(screen, screen.width() - width, y, right, 0, 0, right.width(), right.height());
    }
}
