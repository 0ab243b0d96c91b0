#include "render/text_editing.h"

#include <algorithm>

namespace {

int ColourBits(int colourDepth)
{
    return colourDepth >= 1 && colourDepth <= 3 ? colourDepth : 1;
}

} // namespace

QVector<int> EditorFontSizes()
{
    return {8,  9,  10, 11, 12, 14, 16, 18, 20, 22, 24,  26,  28, 30,
            32, 36, 40, 48, 56, 64, 72, 80, 88, 96, 104, 112, 128};
}

int EditorFontSize(const QString& text)
{
    bool ok = false;
    const int size = text.trimmed().toInt(&ok);
    if (!ok || size < kEditorMinFontSize || size > kEditorMaxFontSize)
        return kEditorFallbackFontSize;
    return size;
}

QVector<int> ForeColourIndexes(int colourDepth)
{
    QVector<int> indexes;
    for (int i = 1; i < (1 << ColourBits(colourDepth)); ++i)
        indexes.append(i);
    return indexes;
}

QVector<int> BackColourIndexes(int colourDepth)
{
    QVector<int> indexes{0};
    indexes.append(ForeColourIndexes(colourDepth));
    return indexes;
}

QColor ForeColour(int index)
{
    return QColor(index & 1 ? 255 : 0, index & 2 ? 255 : 0, index & 4 ? 255 : 0);
}

QColor BackColour(int index)
{
    const auto lowered = [](int channel) { return channel ? channel - 20 : 0; };
    const QColor full = ForeColour(index);
    return QColor(lowered(full.red()), lowered(full.green()), lowered(full.blue()));
}

int ColourIndexOf(const QColor& colour, int threshold)
{
    return (colour.red() > threshold ? 1 : 0) | (colour.green() > threshold ? 2 : 0) |
           (colour.blue() > threshold ? 4 : 0);
}

bool IsCustomLineSpacing(const LineSpacing& spacing)
{
    return spacing.lineSpace != 0 || spacing.topSpace != 0;
}

LineSpacing ProposedLineSpacing(const LineSpacing& current, int zoneHeight)
{
    if (IsCustomLineSpacing(current))
        return current;
    return {std::clamp(zoneHeight / 2, kMinLineSpace, kMaxLineSpace), 0};
}
