#include "render/gif_writer.h"

#include <gif_lib.h>

CGifWriter::~CGifWriter()
{
    Abandon();
}

int CGifWriter::Write(GifFileType* gif, const std::uint8_t* bytes, int length)
{
    auto* self = static_cast<CGifWriter*>(gif->UserData);
    if (self->m_writeFailed)
        return 0;
    const qint64 written = self->Device().write(reinterpret_cast<const char*>(bytes), length);
    if (written != length) {
        self->m_writeFailed = true;
        return 0;
    }
    return length;
}

bool CGifWriter::Fail(const QString& what)
{
    m_error = !m_inMemory && (m_writeFailed || m_file.error() != QFileDevice::NoError)
                  ? QStringLiteral("%1: %2").arg(m_file.fileName(), m_file.errorString())
                  : what;
    Abandon();
    return false;
}

bool CGifWriter::Open(const QString& path, int width, int height,
                      const std::vector<Colour>& palette)
{
    Abandon();
    m_error.clear();
    m_inMemory = false;
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly)) {
        m_error = QStringLiteral("%1: %2").arg(path, m_file.errorString());
        return false;
    }
    return Start(width, height, palette);
}

bool CGifWriter::OpenInMemory(int width, int height, const std::vector<Colour>& palette)
{
    Abandon();
    m_error.clear();
    m_inMemory = true;
    m_memory.setData(QByteArray());
    m_memory.open(QIODevice::WriteOnly);
    return Start(width, height, palette);
}

bool CGifWriter::Start(int width, int height, const std::vector<Colour>& palette)
{
    m_writeFailed = false;
    m_width = width;
    m_height = height;
    int status = 0;
    m_gif = EGifOpen(this, &CGifWriter::Write, &status);
    if (!m_gif)
        return Fail(QString::fromLatin1(GifErrorString(status)));
    int size = 2;
    while (size < static_cast<int>(palette.size()) && size < 256)
        size *= 2;
    std::vector<GifColorType> colours(static_cast<std::size_t>(size), GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < palette.size() && i < colours.size(); ++i)
        colours[i] = GifColorType{palette[i].red, palette[i].green, palette[i].blue};
    ColorMapObject* map = GifMakeMapObject(size, colours.data());
    if (!map)
        return Fail(QStringLiteral("Out of memory."));
    EGifSetGifVersion(m_gif, true);
    const int described = EGifPutScreenDesc(m_gif, width, height, 8, 0, map);
    GifFreeMapObject(map);
    if (described == GIF_ERROR)
        return Fail(QString::fromLatin1(GifErrorString(m_gif->Error)));
    // Loop for ever.
    static const GifByteType kApplication[] = {'N', 'E', 'T', 'S', 'C', 'A',
                                               'P', 'E', '2', '.', '0'};
    static const GifByteType kLoop[] = {1, 0, 0};
    if (EGifPutExtensionLeader(m_gif, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
        EGifPutExtensionBlock(m_gif, sizeof kApplication, kApplication) == GIF_ERROR ||
        EGifPutExtensionBlock(m_gif, sizeof kLoop, kLoop) == GIF_ERROR ||
        EGifPutExtensionTrailer(m_gif) == GIF_ERROR)
        return Fail(QString::fromLatin1(GifErrorString(m_gif->Error)));
    return true;
}

bool CGifWriter::AddFrame(const std::vector<std::uint8_t>& pixels, int delay)
{
    if (!m_gif)
        return false;
    if (pixels.size() != static_cast<std::size_t>(m_width) * m_height)
        return Fail(QStringLiteral("A frame of the wrong size."));
    delay = qBound(0, delay, 0xFFFF);
    const GifByteType control[4] = {0, static_cast<GifByteType>(delay & 0xFF),
                                    static_cast<GifByteType>(delay >> 8), 0};
    if (EGifPutExtension(m_gif, GRAPHICS_EXT_FUNC_CODE, 4, control) == GIF_ERROR ||
        EGifPutImageDesc(m_gif, 0, 0, m_width, m_height, false, nullptr) == GIF_ERROR)
        return Fail(QString::fromLatin1(GifErrorString(m_gif->Error)));
    std::vector<GifPixelType> line(static_cast<std::size_t>(m_width));
    for (int y = 0; y < m_height; ++y) {
        const std::uint8_t* row = pixels.data() + static_cast<std::size_t>(y) * m_width;
        std::copy(row, row + m_width, line.begin());
        if (EGifPutLine(m_gif, line.data(), m_width) == GIF_ERROR)
            return Fail(QString::fromLatin1(GifErrorString(m_gif->Error)));
    }
    return true;
}

bool CGifWriter::Finish()
{
    if (!m_gif)
        return false;
    int status = 0;
    const int closed = EGifCloseFile(m_gif, &status);
    m_gif = nullptr;
    if (closed == GIF_ERROR || m_writeFailed)
        return Fail(QString::fromLatin1(GifErrorString(status)));
    if (m_inMemory) {
        m_memory.close();
        return true;
    }
    if (!m_file.commit()) {
        m_error = QStringLiteral("%1: %2").arg(m_file.fileName(), m_file.errorString());
        return false;
    }
    return true;
}

void CGifWriter::Abandon()
{
    if (m_gif) {
        int status = 0;
        EGifCloseFile(m_gif, &status);
        m_gif = nullptr;
    }
    if (m_file.isOpen())
        m_file.cancelWriting();
    if (m_memory.isOpen()) {
        m_memory.close();
        m_memory.setData(QByteArray());
    }
}
