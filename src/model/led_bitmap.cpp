#include "model/led_bitmap.h"

#include "base/bounded_file.h"

#include <QImageReader>
#include <QPainter>

#include <algorithm>

CLedBitmap::CLedBitmap(int width, int height)
    : m_image(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32)
{
    Clear();
}

CLedBitmap::CLedBitmap(QImage image)
    : m_image(image.format() == QImage::Format_RGB32 ? std::move(image)
                                                     : image.convertToFormat(QImage::Format_RGB32))
{}

void CLedBitmap::Clear()
{
    if (!m_image.isNull())
        m_image.fill(0xFF000000u);
}

bool CLedBitmap::Create(int width, int height)
{
    m_image = QImage();
    if (width <= 0 || height <= 0)
        return false;
    m_image = QImage(width, height, QImage::Format_RGB32);
    Clear();
    return !m_image.isNull();
}

bool CLedBitmap::LoadFile(const QString& path)
{
    // Anything but a regular file of a sane size (a FIFO would block the reader) is a
    // missing picture.
    if (!IsSafeNamedFile(path)) {
        m_image = QImage();
        return false;
    }
    QImageReader reader(path);
    QImage image = reader.read();
    m_image = image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB32);
    return !m_image.isNull();
}

bool CLedBitmap::LoadFile(const QString& path, int width, int height)
{
    if (!IsSafeNamedFile(path)) {
        m_image = QImage();
        return false;
    }
    QImageReader reader(path);
    QImage image = reader.read();
    if (image.isNull() || !Create(width, height)) {
        m_image = QImage();
        return false;
    }
    QPainter painter(&m_image);
    painter.drawImage(QRect(0, 0, width, height), image);
    return true;
}
