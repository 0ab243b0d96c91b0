#pragma once

class CProgram;

#include "model/image_key_params.h"
#include "model/led_bitmap.h"

#include <QColor>
#include <QImage>

#include <cstdint>

class QPainter;

// Rows of a bitmap that carry ink (any pixel that is not black).
struct InkRows
{
    int first = 0;
    int last = -1;
    bool HasInk() const { return last >= first; }
    int Height() const { return HasInk() ? last - first + 1 : 0; }
};

InkRows FindInkRows(const QImage& image);
inline InkRows FindInkRows(const CLedBitmap& bitmap)
{
    return FindInkRows(bitmap.Image());
}

// Key-colour reduction: pixels within the key colour's tolerance turn black, the others
// keep only full-on channels (a channel above the limit becomes 255, else 0).
void ReduceColours(QImage& image, std::uint32_t keyColour, int tolerance, int pixelLimit);
void ReduceColours(QImage& image, const ImageKeyParams& key);
inline void ReduceColours(CLedBitmap& bitmap, const ImageKeyParams& key)
{
    ReduceColours(bitmap.Image(), key);
}

// Reduces a page to what a screen of the colour depth (1 red, 2 red and green, 3 full
// colour) shows: a channel the screen has is lit (255) when it is 2 or more, as the
// controller's bit planes take it; the channels it lacks become 0.
void ReduceToScreenColours(QImage& image, int colourDepth);

// Both in one pass, as the card shows a page: the key's reduction when a key is given, then
// the screen's colours.
void ReduceForCard(QImage& image, const ImageKeyParams* key, int colourDepth);

// A stored 0x00BBGGRR colour.
QColor ColourFromColorRef(std::uint32_t colorRef);
std::uint32_t ColorRefFromColour(const QColor& colour);
// A 3-bit colour index (bit 0 red, bit 1 green, bit 2 blue); 0 is black.
QColor ColourFromIndex(int index);

// A black 32-bit image of the size (an empty image for sizes of 0 or less).
QImage BlackImage(int width, int height);

// Copies the source rectangle (sx, sy, w, h) of src to (dx, dy) of dst; parts outside
// either image are left out. Rows are copied as memory blocks.
void CopyRect(QImage& dst, int dx, int dy, const QImage& src, int sx, int sy, int w, int h);

// Draws the program's border around a whole-screen picture: top and left as the pattern
// and the strip are, bottom and right mirrored unless the border is flat.
void DrawProgramBorder(QImage& screen, const CProgram& program);
// The same with patterns of the caller's (the border's pattern and strip in other colours).
void DrawBorderPatterns(QImage& screen, const CProgram& program, const QImage& pattern,
                        const QImage& strip);

// A painter setting for LED pixels: no anti-aliasing of shapes or text.
void SetLedRenderHints(QPainter& painter);
