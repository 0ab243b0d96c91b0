#pragma once

#include <QImage>

// One rendered page of a zone at LED resolution: a 32-bit RGB image the size of the
// zone's window. Black is an unlit LED.
class CLedBitmap
{
public:
    CLedBitmap() = default;
    CLedBitmap(int width, int height);
    explicit CLedBitmap(QImage image);

    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }
    bool IsNull() const { return m_image.isNull(); }

    QImage& Image() { return m_image; }
    const QImage& Image() const { return m_image; }

    // Fills the whole page with black (every LED off).
    void Clear();

    // Makes a black bitmap of the size, releasing the old one; false (and no bitmap) for a
    // width or height of 0 or less.
    bool Create(int width, int height);
    // Loads an image file at its own size, or stretched to width x height; false when the
    // file cannot be read (the bitmap is then released).
    bool LoadFile(const QString& path);
    bool LoadFile(const QString& path, int width, int height);
    // Releases the bitmap.
    void Release() { m_image = QImage(); }

private:
    QImage m_image;
};
