#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <vector>

// Picture files as a zone shows them: every frame stretched over a black page of the size it
// is shown at. The image zones, the "Load Image" dialog, the checker and dithering all read
// through here, so that each of them sees the same pixels.
//
// Decoding happens at the shown size where the format allows it (JPEG), so that a camera's
// photo needs no more memory than its page. A TIFF gives its first page, an icon its largest
// entry, a GIF every frame as a viewer composes it; the area a GIF frame gives back to the
// background stays dark, as the sign's background is.
struct PictureFrames
{
    std::vector<QImage> frames; // Format_RGB32, the size asked for
    std::vector<int> delays;    // hundredths of a second per frame of an animation
    QSize sourceSize;           // the file's own size (of the entry taken)
    bool animated = false;      // the file holds more than one frame to play
    bool cut = false;           // it held more frames than were taken
};

// Pictures that cannot be decoded at a smaller size are refused above this many pixels.
constexpr qint64 kMaxPicturePixels = 120LL * 1000 * 1000;

// Reads at most maxFrames frames at width x height. False, with the reason in the system's
// words, when the file is missing, not a picture, damaged or too large.
bool ReadPictureFrames(const QString& path, int width, int height, int maxFrames,
                       PictureFrames& out, QString& reason);

// Whether the file is a picture that reads, without decoding it whole; its size.
bool ProbePicture(const QString& path, QSize& size, QString& reason);

// The file types the dialogs offer ("*.bmp *.gif ...").
QString PictureFileFilter();
