#pragma once

#include <QImage>

#include <vector>

// Page cutting of the text zone. Pages are window-sized (width x height) black images.

// Top of an ink block of the height in a window of the height, by vertical alignment
// (2 top, 3 bottom, anything else middle).
int AlignedTop(int windowHeight, int inkHeight, int verticalAlign);

// Vertical scrolling: the tall strip cut into window-high pages from its first ink row
// to its last.
std::vector<QImage> CutTallStrip(const QImage& strip, int width, int height);

// Horizontal scrolling: the wide strip cut into window-wide pages, its ink rows placed by
// the vertical alignment.
std::vector<QImage> CutWideStrip(const QImage& strip, int width, int height, int verticalAlign);

// Pages of lines: each line bitmap's ink packed top to bottom with the gap rule (a quarter
// of the line's height without fixed pitch), each page's block placed by the alignment.
// Fixed pitch applies when topSpace or linePitch is not 0.
std::vector<QImage> PackLines(const std::vector<QImage>& lines, int width, int height,
                              int verticalAlign, int topSpace, int linePitch);

// Removes the last page when there is more than one and the last has no ink.
void DropBlankLastPage(std::vector<QImage>& pages);
