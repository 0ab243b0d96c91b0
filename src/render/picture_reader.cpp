#include "render/picture_reader.h"

#include "base/bounded_file.h"
#include "platform/image_libraries.h"
#include "render/led_paint.h"
#include "render/system_text.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPainter>

#include <gif_lib.h>

#include <algorithm>
#include <mutex>

namespace {

// What a picture may allocate while it is decoded (a 120-megapixel picture at 4 bytes a
// pixel); Qt's own default of 128 MB refuses a phone's photo read whole.
constexpr int kAllocationLimitMb = 512;
// Icon files list their entries; more than this is no icon.
constexpr int kMaxIconEntries = 64;
// A GIF is composed on a canvas of its full size (twice, for frames that are undone): no
// animation needs more than this, and a file that claims more is refused.
constexpr qint64 kMaxGifPixels = 32LL * 1000 * 1000;

void PrepareReaders()
{
    static std::once_flag once;
    std::call_once(once, [] {
        QuietImageLibraries();
        if (QImageReader::allocationLimit() < kAllocationLimitMb)
            QImageReader::setAllocationLimit(kAllocationLimitMb);
    });
}

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

bool Missing(const QString& path, QString& reason)
{
    reason = SystemText(61600, {Shown(path)});
    return false;
}

bool Unreadable(const QString& path, const QString& detail, QString& reason)
{
    reason = SystemText(61601, {Shown(path)});
    if (!detail.isEmpty())
        reason += QStringLiteral(" (%1)").arg(detail);
    return false;
}

bool TooLarge(const QString& path, QSize size, qint64 limit, QString& reason)
{
    reason = SystemText(61602, {Shown(path), QString::number(size.width()),
                                QString::number(size.height()), QString::number(limit / 1000000)});
    return false;
}

// A frame stretched over a black page.
QImage PageFromFrame(const QImage& frame, int width, int height)
{
    QImage page = BlackImage(width, height);
    if (page.isNull() || frame.isNull())
        return page;
    QPainter painter(&page);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(QRect(0, 0, width, height), frame);
    return page;
}

// ---- GIF, composed frame by frame as a viewer shows it.

struct GifSource
{
    QFile file;
};

int ReadGifBytes(GifFileType* gif, GifByteType* bytes, int length)
{
    auto* source = static_cast<GifSource*>(gif->UserData);
    const qint64 read = source->file.read(reinterpret_cast<char*>(bytes), length);
    return read < 0 ? 0 : static_cast<int>(read);
}

class CGifFile
{
public:
    ~CGifFile()
    {
        if (m_gif)
            DGifCloseFile(m_gif, nullptr);
    }
    bool Open(const QString& path)
    {
        m_source.file.setFileName(path);
        if (!m_source.file.open(QIODevice::ReadOnly))
            return false;
        int error = 0;
        m_gif = DGifOpen(&m_source, ReadGifBytes, &error);
        return m_gif != nullptr;
    }
    GifFileType* operator->() const { return m_gif; }
    GifFileType* Get() const { return m_gif; }

private:
    GifSource m_source;
    GifFileType* m_gif = nullptr;
};

struct GifFrameInfo
{
    int disposal = DISPOSAL_UNSPECIFIED;
    int delay = -1; // hundredths
    int transparent = NO_TRANSPARENT_COLOR;
};

// Reads the pixels of the image whose descriptor was just read into the canvas.
bool DrawGifImage(GifFileType* gif, const GifFrameInfo& info, QImage& canvas)
{
    const GifImageDesc& desc = gif->Image;
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    const int width = desc.Width;
    const int height = desc.Height;
    if (width <= 0 || height <= 0)
        return true;
    std::vector<GifPixelType> line(static_cast<size_t>(width));
    const auto drawRow = [&](int row) {
        const int y = desc.Top + row;
        if (y < 0 || y >= canvas.height())
            return;
        auto* out = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        for (int i = 0; i < width; ++i) {
            const int x = desc.Left + i;
            const int index = line[static_cast<size_t>(i)];
            if (x < 0 || x >= canvas.width() || index == info.transparent)
                continue;
            if (!map || index >= map->ColorCount) {
                out[x] = qRgb(0, 0, 0);
                continue;
            }
            const GifColorType& c = map->Colors[index];
            out[x] = qRgb(c.Red, c.Green, c.Blue);
        }
    };
    if (desc.Interlace) {
        static constexpr int kStart[] = {0, 4, 2, 1};
        static constexpr int kStep[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass) {
            for (int row = kStart[pass]; row < height; row += kStep[pass]) {
                if (DGifGetLine(gif, line.data(), width) != GIF_OK)
                    return false;
                drawRow(row);
            }
        }
        return true;
    }
    for (int row = 0; row < height; ++row) {
        if (DGifGetLine(gif, line.data(), width) != GIF_OK)
            return false;
        drawRow(row);
    }
    return true;
}

bool ReadGif(const QString& path, int width, int height, int maxFrames, PictureFrames& out,
             QString& reason)
{
    CGifFile gif;
    if (!gif.Open(path))
        return Unreadable(path, QString(), reason);
    const QSize size(gif->SWidth, gif->SHeight);
    if (size.isEmpty())
        return Unreadable(path, QString(), reason);
    if (static_cast<qint64>(size.width()) * size.height() > kMaxGifPixels)
        return TooLarge(path, size, kMaxGifPixels, reason);
    out.sourceSize = size;
    // The canvas starts dark and every part a frame leaves or gives back stays dark: the
    // sign's background, whatever background colour the file names.
    QImage canvas = BlackImage(size.width(), size.height());
    if (canvas.isNull())
        return TooLarge(path, size, kMaxGifPixels, reason);
    GifFrameInfo next;
    std::vector<int> delays;
    bool damaged = false;
    for (;;) {
        GifRecordType record = TERMINATE_RECORD_TYPE;
        if (DGifGetRecordType(gif.Get(), &record) != GIF_OK) {
            damaged = true;
            break;
        }
        if (record == TERMINATE_RECORD_TYPE)
            break;
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif.Get(), &code, &block) != GIF_OK) {
                damaged = true;
                break;
            }
            if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) {
                GraphicsControlBlock control{};
                if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) {
                    next.disposal = control.DisposalMode;
                    next.delay = control.DelayTime;
                    next.transparent = control.TransparentColor;
                }
            }
            while (block) {
                if (DGifGetExtensionNext(gif.Get(), &block) != GIF_OK) {
                    damaged = true;
                    block = nullptr;
                }
            }
            if (damaged)
                break;
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE)
            continue;
        if (static_cast<int>(out.frames.size()) >= maxFrames) {
            out.cut = true;
            break;
        }
        if (DGifGetImageDesc(gif.Get()) != GIF_OK) {
            damaged = true;
            break;
        }
        const QImage before = next.disposal == DISPOSE_PREVIOUS ? canvas.copy() : QImage();
        if (!DrawGifImage(gif.Get(), next, canvas)) {
            damaged = true;
            break;
        }
        out.frames.push_back(PageFromFrame(canvas, width, height));
        delays.push_back(next.delay >= 0 ? next.delay : 10);
        const GifImageDesc& desc = gif->Image;
        if (next.disposal == DISPOSE_BACKGROUND) {
            QPainter painter(&canvas);
            painter.fillRect(QRect(desc.Left, desc.Top, desc.Width, desc.Height), Qt::black);
        } else if (next.disposal == DISPOSE_PREVIOUS && !before.isNull()) {
            canvas = before;
        }
        next = GifFrameInfo{};
    }
    if (out.frames.empty())
        return Unreadable(path, QString(), reason);
    out.animated = out.frames.size() > 1;
    if (out.animated)
        out.delays = std::move(delays);
    return true;
}

// ---- Everything else through Qt's readers.

bool IsIcon(const QByteArray& format)
{
    return format == "ico" || format == "cur";
}

// The entry of an icon file with the most pixels (the first of equals).
int LargestIconEntry(const QString& path)
{
    QImageReader reader(path);
    const int count = std::min(reader.imageCount(), kMaxIconEntries);
    int best = 0;
    qint64 bestPixels = -1;
    for (int i = 0; i < count; ++i) {
        if (!reader.jumpToImage(i))
            break;
        QImage entry;
        if (!reader.read(&entry))
            continue;
        const qint64 pixels = static_cast<qint64>(entry.width()) * entry.height();
        if (pixels > bestPixels) {
            bestPixels = pixels;
            best = i;
        }
    }
    return best;
}

} // namespace

QString PictureFileFilter()
{
    return QStringLiteral("*.bmp *.gif *.tif *.tiff *.jpg *.jpeg *.ico *.png");
}

bool ProbePicture(const QString& path, QSize& size, QString& reason)
{
    PrepareReaders();
    if (path.isEmpty() || !IsSafeNamedFile(path))
        return Missing(path, reason);
    QImageReader reader(path);
    if (!reader.canRead())
        return Unreadable(path, reader.errorString(), reason);
    size = reader.size();
    if (!size.isValid()) {
        // The format says nothing before it decodes: decode it (small formats do this).
        QImage image;
        if (!reader.read(&image))
            return Unreadable(path, reader.errorString(), reason);
        size = image.size();
    }
    return true;
}

bool ReadPictureFrames(const QString& path, int width, int height, int maxFrames,
                       PictureFrames& out, QString& reason)
{
    PrepareReaders();
    out = PictureFrames{};
    if (path.isEmpty() || !IsSafeNamedFile(path))
        return Missing(path, reason);
    if (width <= 0 || height <= 0 || maxFrames <= 0)
        return Unreadable(path, QString(), reason);
    QImageReader reader(path);
    reader.setAutoTransform(true);
    if (!reader.canRead())
        return Unreadable(path, reader.errorString(), reason);
    const QByteArray format = reader.format();
    if (format == "gif")
        return ReadGif(path, width, height, maxFrames, out, reason);

    const QSize size = reader.size();
    // JPEG decodes straight at an eighth of its size or more; the others decode whole.
    const qint64 shrink = format == "jpeg" ? 64 : 1;
    if (size.isValid() &&
        static_cast<qint64>(size.width()) * size.height() / shrink > kMaxPicturePixels)
        return TooLarge(path, size, kMaxPicturePixels, reason);
    if (reader.supportsOption(QImageIOHandler::ScaledSize) && size.isValid()) {
        // Decoded at the size it is shown (before the file's own rotation).
        const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
        reader.setScaledSize(turned ? QSize(height, width) : QSize(width, height));
    }
    if (IsIcon(format)) {
        const int entry = LargestIconEntry(path);
        if (entry > 0 && reader.jumpToImage(entry))
            out.sourceSize = reader.size();
    } else {
        out.sourceSize = size;
    }
    const bool animation = reader.supportsAnimation() && reader.imageCount() != 1;
    std::vector<int> delays;
    for (;;) {
        if (static_cast<int>(out.frames.size()) >= maxFrames) {
            out.cut = reader.canRead();
            break;
        }
        QImage frame;
        if (!reader.read(&frame))
            break;
        if (out.frames.empty() && !out.sourceSize.isValid())
            out.sourceSize = frame.size();
        out.frames.push_back(PageFromFrame(frame, width, height));
        const int delayMs = reader.nextImageDelay();
        delays.push_back(delayMs >= 0 ? (delayMs + 5) / 10 : 10);
        if (!animation || !reader.canRead())
            break;
    }
    if (out.frames.empty())
        return Unreadable(path, reader.errorString(), reason);
    out.animated = out.frames.size() > 1;
    if (out.animated)
        out.delays = std::move(delays);
    return true;
}
