#pragma once

#include "model/image_key_params.h"

#include <QImage>
#include <QString>

#include <vector>

// A picture file read for the "Load Image" dialog: its first frame keyed with the remove
// colour, tolerance and pixel limit and reduced to the screen's colours at the target
// size, as the LED shows it, with the frames of an animated picture.
struct ImagePreview
{
    QImage shown;            // target size, screen colours
    QSize sourceSize;        // the file's own size
    int frameCount = 0;      // 1 for a still picture
    std::vector<int> delays; // per frame, milliseconds, for an animated picture
};

// Pictures larger than this (in pixels) are refused before they are decoded.
constexpr qint64 kMaxPreviewPixels = 64LL * 1024 * 1024;
// File types the loader offers.
QString ImageFileFilter();

// Reads the file; false with the system's text in the last-error text when it is missing,
// not a picture, damaged or too large.
bool LoadImagePreview(const QString& path, const ImageKeyParams& key, int width, int height,
                      int colourDepth, ImagePreview& preview);
