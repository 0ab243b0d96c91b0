#include "render/dither.h"

#include "model/project_root.h"
#include "render/led_paint.h"
#include "render/picture_reader.h"
#include "render/png_file.h"
#include "render/system_text.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <vector>

namespace {

// Names tried for the written picture before giving up.
constexpr int kMaxNameTries = 99;

struct Rgb
{
    float r = 0;
    float g = 0;
    float b = 0;
};

bool WithinKey(QRgb pixel, const ImageKeyParams& key)
{
    const auto within = [&](int value, int shift) {
        const long long centre = (key.keyColour >> shift) & 0xFF;
        return centre - key.tolerance <= value && value <= centre + key.tolerance;
    };
    return within(qRed(pixel), 0) && within(qGreen(pixel), 8) && within(qBlue(pixel), 16);
}

// The colour as the screen can show it: brightness in red on a red sign; on a red and green
// sign blue turns into a little of both.
Rgb ShowableColour(QRgb pixel, int depth)
{
    const float r = qRed(pixel);
    const float g = qGreen(pixel);
    const float b = qBlue(pixel);
    switch (depth) {
    case 3:
        return {r, g, b};
    case 2:
        return {std::min(255.0f, r + b / 2), std::min(255.0f, g + b / 2), 0};
    default:
        return {0.299f * r + 0.587f * g + 0.114f * b, 0, 0};
    }
}

// The screen's colours (each channel off or full) that the key leaves alone.
std::vector<QRgb> Palette(int depth, const ImageKeyParams& key)
{
    std::vector<QRgb> palette;
    const int count = 1 << depth;
    for (int index = 0; index < count; ++index) {
        const QRgb colour = qRgb(index & 1 ? 255 : 0, index & 2 ? 255 : 0, index & 4 ? 255 : 0);
        if (index == 0 || !WithinKey(colour, key))
            palette.push_back(colour);
    }
    return palette;
}

QRgb Nearest(const Rgb& wanted, const std::vector<QRgb>& palette)
{
    QRgb best = palette.front();
    float bestDistance = 1e30f;
    for (QRgb colour : palette) {
        const float dr = wanted.r - qRed(colour);
        const float dg = wanted.g - qGreen(colour);
        const float db = wanted.b - qBlue(colour);
        const float distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = colour;
        }
    }
    return best;
}

QString FreeName(const QDir& folder, const QString& base, const QByteArray& png)
{
    for (int n = 1; n <= kMaxNameTries; ++n) {
        const QString name = n == 1 ? QStringLiteral("%1-dithered.png").arg(base)
                                    : QStringLiteral("%1-dithered-%2.png").arg(base).arg(n);
        const QString path = folder.filePath(name);
        if (!QFileInfo::exists(path))
            return path;
        // The same picture dithered again: the file already holds it.
        QFile existing(path);
        if (QFileInfo(path).size() == png.size() && existing.open(QIODevice::ReadOnly) &&
            existing.readAll() == png)
            return path;
    }
    return QString();
}

} // namespace

QImage DitherToScreenColours(const QImage& page, int colourDepth, const ImageKeyParams& key)
{
    if (page.isNull())
        return QImage();
    const int depth = colourDepth >= 1 && colourDepth <= 3 ? colourDepth : 1;
    const QImage source = page.convertToFormat(QImage::Format_RGB32);
    const std::vector<QRgb> palette = Palette(depth, key);
    const int width = source.width();
    const int height = source.height();
    QImage out = BlackImage(width, height);
    // Errors carried to this row and the next, one pixel of margin on either side.
    std::vector<Rgb> current(static_cast<size_t>(width) + 2);
    std::vector<Rgb> below(static_cast<size_t>(width) + 2);
    for (int y = 0; y < height; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        std::fill(below.begin(), below.end(), Rgb{});
        // Serpentine: every other row runs right to left, so that no drift builds up.
        const bool forward = y % 2 == 0;
        const int step = forward ? 1 : -1;
        for (int i = 0; i < width; ++i) {
            const int x = forward ? i : width - 1 - i;
            if (WithinKey(in[x], key)) {
                row[x] = qRgb(0, 0, 0);
                continue;
            }
            const Rgb base = ShowableColour(in[x], depth);
            const Rgb& carried = current[static_cast<size_t>(x + 1)];
            const Rgb wanted{std::clamp(base.r + carried.r, 0.0f, 255.0f),
                             std::clamp(base.g + carried.g, 0.0f, 255.0f),
                             std::clamp(base.b + carried.b, 0.0f, 255.0f)};
            const QRgb chosen = Nearest(wanted, palette);
            row[x] = chosen;
            const Rgb error{wanted.r - qRed(chosen), wanted.g - qGreen(chosen),
                            wanted.b - qBlue(chosen)};
            const auto spread = [](Rgb& to, const Rgb& e, float share) {
                to.r += e.r * share;
                to.g += e.g * share;
                to.b += e.b * share;
            };
            spread(current[static_cast<size_t>(x + 1 + step)], error, 7.0f / 16);
            spread(below[static_cast<size_t>(x + 1 - step)], error, 3.0f / 16);
            spread(below[static_cast<size_t>(x + 1)], error, 5.0f / 16);
            spread(below[static_cast<size_t>(x + 1 + step)], error, 1.0f / 16);
        }
        std::swap(current, below);
    }
    return out;
}

QString DitheredPictureFolder(const CProjectObject& object, const QString& source)
{
    const CProjectObject* top = &object;
    while (top->Parent())
        top = top->Parent();
    const QString project = top->GetKind() == KindRoot
                                ? static_cast<const CProjectRoot*>(top)->ProjectPath()
                                : QString();
    return QFileInfo(project.isEmpty() ? source : project).absolutePath();
}

bool WriteDitheredPicture(const QString& source, int width, int height, int colourDepth,
                          const ImageKeyParams& key, const QString& folder, QString& written,
                          QString& reason)
{
    PictureFrames picture;
    if (!ReadPictureFrames(source, width, height, 2, picture, reason))
        return false;
    if (picture.animated) {
        reason = SystemText(61603, {QDir::toNativeSeparators(source)});
        return false;
    }
    const QImage dithered = DitherToScreenColours(picture.frames.front(), colourDepth, key);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!dithered.save(&buffer, "PNG")) {
        reason = SystemText(61604, {QDir::toNativeSeparators(folder)});
        return false;
    }
    const QDir dir(folder);
    const QString path = FreeName(dir, QFileInfo(source).completeBaseName(), png);
    if (path.isEmpty()) {
        reason = SystemText(61604, {QDir::toNativeSeparators(folder)});
        return false;
    }
    QString failure;
    if (!SavePngDurably(dithered, path, &failure)) {
        reason = SystemText(61604, {failure});
        return false;
    }
    written = QFileInfo(path).absoluteFilePath();
    return true;
}
