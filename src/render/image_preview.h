#pragma once

#include "model/image_key_params.h"

#include <QImage>
#include <QString>

#include <vector>

// A picture file read for the "Load Image" dialog: its first frame at the target size as the
// card shows it (keyed with the remove colour, tolerance and pixel limit, reduced to the
// screen's colours), the same dithered to the screen's colours, and the frames of an
// animated picture.
struct ImagePreview
{
    QImage shown;            // target size, as the card shows it
    QImage dithered;         // target size, dithered, as the card shows it
    QSize sourceSize;        // the file's own size
    int frameCount = 0;      // 1 for a still picture
    std::vector<int> delays; // per frame, milliseconds, for an animated picture
};

// File types the loader offers.
QString ImageFileFilter();

// Reads the file; false with the system's text in the last-error text when it is missing,
// not a picture, damaged or too large.
bool LoadImagePreview(const QString& path, const ImageKeyParams& key, int width, int height,
                      int colourDepth, ImagePreview& preview);
