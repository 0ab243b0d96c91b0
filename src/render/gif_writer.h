#pragma once

#include <QBuffer>
#include <QSaveFile>
#include <QString>

#include <cstdint>
#include <vector>

struct GifFileType;

// An animated GIF of palette pictures, looping for ever, written through the distribution's
// GIF library into a temporary file that replaces the target only when everything was
// written, or into memory.
class CGifWriter
{
public:
    struct Colour
    {
        std::uint8_t red, green, blue;
    };

    CGifWriter() = default;
    ~CGifWriter();
    CGifWriter(const CGifWriter&) = delete;
    CGifWriter& operator=(const CGifWriter&) = delete;

    // The palette holds at most 256 colours; false with Error() set when the file cannot be
    // started.
    bool Open(const QString& path, int width, int height, const std::vector<Colour>& palette);
    // The same into memory: Bytes() holds the picture after Finish.
    bool OpenInMemory(int width, int height, const std::vector<Colour>& palette);
    // One picture of width x height palette indexes, shown for delay hundredths of a second.
    bool AddFrame(const std::vector<std::uint8_t>& pixels, int delay);
    // Ends the file and puts it in place; false with Error() set when any write failed.
    bool Finish();
    // Drops the file; the target stays as it was.
    void Abandon();

    const QString& Error() const { return m_error; }
    const QByteArray& Bytes() const { return m_memory.data(); }

private:
    static int Write(GifFileType* gif, const std::uint8_t* bytes, int length);
    bool Start(int width, int height, const std::vector<Colour>& palette);
    bool Fail(const QString& what);
    QIODevice& Device() { return m_inMemory ? static_cast<QIODevice&>(m_memory) : m_file; }

    QSaveFile m_file;
    QBuffer m_memory;
    bool m_inMemory = false;
    GifFileType* m_gif = nullptr;
    int m_width = 0;
    int m_height = 0;
    bool m_writeFailed = false;
    QString m_error;
};
