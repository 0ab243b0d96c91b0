#pragma once

#include <QImage>
#include <QRgb>

#include <vector>

// The look of a lit sign, for pictures larger than its LEDs: every LED a round dot on a dark
// ground, so that the gaps between the LEDs show as they do on the sign. Below three pixels
// an LED has no room for a gap and stays a square block. `play --dots` writes it into GIFs;
// the preview draws it from zoom 4/1 up.
class CLedLook
{
public:
    static constexpr int kSmallestDotZoom = 3;
    // The ground between the dots.
    static constexpr QRgb kGround = qRgb(48, 48, 48);

    // zoom: pixels per LED (1 or more); dots: round dots, else square blocks.
    CLedLook(int zoom, bool dots);

    int Zoom() const { return m_zoom; }
    bool HasDots() const { return m_dots; }
    // Whether pixel (i, j) of an LED's zoom x zoom cell shows the LED (else the ground).
    bool InDot(int i, int j) const
    {
        return m_mask[static_cast<size_t>(j) * static_cast<size_t>(m_zoom) +
                      static_cast<size_t>(i)] != 0;
    }
    // The picture (one pixel per LED) with every LED zoom x zoom pixels large.
    QImage Draw(const QImage& leds) const;

private:
    int m_zoom;
    bool m_dots;
    std::vector<unsigned char> m_mask;
};

// Whether the preview offers the LED look at a zoom of numerator / denominator: whole
// zooms from 4/1 up.
bool LedLookFits(int numerator, int denominator);
