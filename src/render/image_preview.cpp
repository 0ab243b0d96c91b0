#include "render/image_preview.h"

#include "base/bounded_file.h"
#include "base/last_error.h"
#include "base/string_table.h"
#include "render/led_paint.h"

#include <QImageReader>
#include <QPainter>

namespace {

constexpr int kMaxFrames = 254;

bool Fail(const QString& text)
{
    RecordError(text);
    return false;
}

} // namespace

QString ImageFileFilter()
{
    return QStringLiteral("*.bmp *.gif *.tif *.tiff *.jpg *.jpeg *.ico *.png");
}

bool LoadImagePreview(const QString& path, const ImageKeyParams& key, int width, int height,
                      int colourDepth, ImagePreview& preview)
{
    // Only a regular file of a sane size is opened: a FIFO would block the dialog.
    if (!IsSafeNamedFile(path))
        return Fail(LoadString(41025) + QStringLiteral(" ") + path);
    QImageReader reader(path);
    if (!reader.canRead())
        return Fail(LoadString(41026) + QStringLiteral(" ") + path);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > kMaxPreviewPixels)
        return Fail(LoadString(41026) + QStringLiteral(" ") + path);
    QImage first = reader.read();
    if (first.isNull())
        return Fail(LoadString(41026) + QStringLiteral(" ") + path);

    ImagePreview result;
    result.sourceSize = first.size();
    result.frameCount = 1;
    if (reader.supportsAnimation()) {
        result.delays.push_back(reader.nextImageDelay());
        while (result.frameCount < kMaxFrames && reader.canRead() && !reader.read().isNull()) {
            ++result.frameCount;
            result.delays.push_back(reader.nextImageDelay());
        }
        if (result.frameCount == 1)
            result.delays.clear();
    }
    QImage shown = BlackImage(std::max(width, 1), std::max(height, 1));
    {
        QPainter painter(&shown);
        painter.drawImage(shown.rect(), first.convertToFormat(QImage::Format_RGB32));
    }
    ReduceColours(shown, key);
    ReduceToScreenColours(shown, colourDepth);
    result.shown = std::move(shown);
    preview = std::move(result);
    return true;
}
