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

private:
    QImage m_image;
};
