#include "model/led_bitmap.h"

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
