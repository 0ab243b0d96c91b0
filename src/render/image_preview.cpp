#include "render/image_preview.h"

#include "base/last_error.h"
#include "base/string_table.h"
#include "model/image_zone.h"
#include "render/dither.h"
#include "render/led_paint.h"
#include "render/picture_reader.h"

#include <algorithm>

namespace {

// As the card shows a page of an image zone with the key.
QImage AsTheCardShows(QImage page, const ImageKeyParams& key, int colourDepth)
{
    ReduceColours(page, key);
    ReduceToScreenColours(page, colourDepth);
    return page;
}

} // namespace

QString ImageFileFilter()
{
    return PictureFileFilter();
}

bool LoadImagePreview(const QString& path, const ImageKeyParams& key, int width, int height,
                      int colourDepth, ImagePreview& preview)
{
    PictureFrames picture;
    QString reason;
    if (!ReadPictureFrames(path, std::max(width, 1), std::max(height, 1), CImageZone::kMaxFrames,
                           picture, reason)) {
        RecordError(LoadString(41026) + u' ' + reason);
        return false;
    }
    ImagePreview result;
    result.sourceSize = picture.sourceSize;
    result.frameCount = static_cast<int>(picture.frames.size());
    for (int delay : picture.delays)
        result.delays.push_back(delay * 10);
    const QImage& first = picture.frames.front();
    result.shown = AsTheCardShows(first, key, colourDepth);
    result.dithered =
        AsTheCardShows(DitherToScreenColours(first, colourDepth, key), key, colourDepth);
    preview = std::move(result);
    return true;
}
