#pragma once

#include "model/led_rect.h"

#include <QRect>
#include <QSize>

// The preview's zoom: a panel coordinate c is shown at c x numerator / denominator. The
// levels run 1/2, 1/1, 2/1 ... 8/1.
struct PreviewZoom
{
    static constexpr int kMaxNumerator = 8;
    static constexpr int kMaxDenominator = 2;

    int numerator = 1;
    int denominator = 1;

    // Out-of-range values become 1.
    static PreviewZoom FromSettings(int mul, int div);
    // The largest of the levels that shows a screen of the size whole in a pane of the size
    // (1/2 when none does: the smallest there is).
    static PreviewZoom LargestFitting(QSize screen, QSize pane);
    void ZoomIn();
    void ZoomOut();
    bool CanZoomIn() const { return numerator < kMaxNumerator; }
    bool CanZoomOut() const { return denominator < kMaxDenominator; }

    int Scale(int value) const { return value * numerator / denominator; }
    int Unscale(int value) const { return value * denominator / numerator; }
    QRect ToScreen(const LedRect& rect) const;
    LedRect ToPanel(const QRect& rect) const;
};

// What part of a pane the mouse holds: the 5-pixel bands at its edges resize, the rest
// moves it.
enum PaneGrip : int {
    GripMove = 0,
    GripLeft = 1,
    GripRight = 2,
    GripTop = 4,
    GripBottom = 8,
};

// The grip at a point of a pane of the size (pane pixels).
int PaneGripAt(const QPoint& point, const QSize& size);

// A window's rectangle after the grip moved by (dx, dy) panel pixels: inside the screen
// and at least 16 x 4 panel pixels.
LedRect DraggedRect(const LedRect& start, int grip, int dx, int dy, int screenWidth,
                    int screenHeight);
