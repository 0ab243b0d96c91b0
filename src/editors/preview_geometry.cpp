#include "editors/preview_geometry.h"

#include <algorithm>

namespace {

constexpr int kGripBand = 5;
constexpr int kMinWidth = 16;
constexpr int kMinHeight = 4;

// Moves one edge, keeping the minimum size against the opposite edge and the screen.
int MoveLowEdge(int edge, int delta, int high, int minimum)
{
    return std::clamp(edge + delta, 0, std::max(high - minimum, 0));
}

int MoveHighEdge(int edge, int delta, int low, int minimum, int limit)
{
    return std::clamp(edge + delta, std::min(low + minimum, limit), limit);
}

} // namespace

PreviewZoom PreviewZoom::FromSettings(int mul, int div)
{
    PreviewZoom zoom;
    zoom.numerator = mul >= 1 && mul <= kMaxNumerator ? mul : 1;
    zoom.denominator = div >= 1 && div <= kMaxDenominator ? div : 1;
    return zoom;
}

PreviewZoom PreviewZoom::LargestFitting(QSize screen, QSize pane)
{
    PreviewZoom best;
    best.denominator = kMaxDenominator;
    for (PreviewZoom level = best;;) {
        if (level.Scale(screen.width()) > pane.width() ||
            level.Scale(screen.height()) > pane.height())
            break;
        best = level;
        if (!level.CanZoomIn())
            break;
        level.ZoomIn();
    }
    return best;
}

void PreviewZoom::ZoomIn()
{
    if (denominator > 1)
        --denominator;
    else if (numerator < kMaxNumerator)
        ++numerator;
}

void PreviewZoom::ZoomOut()
{
    if (numerator > 1)
        --numerator;
    else if (denominator < kMaxDenominator)
        ++denominator;
}

QRect PreviewZoom::ToScreen(const LedRect& rect) const
{
    const int left = Scale(rect.left);
    const int top = Scale(rect.top);
    return QRect(left, top, Scale(rect.right) - left, Scale(rect.bottom) - top);
}

LedRect PreviewZoom::ToPanel(const QRect& rect) const
{
    return LedRect{Unscale(rect.left()), Unscale(rect.top()), Unscale(rect.left() + rect.width()),
                   Unscale(rect.top() + rect.height())};
}

int PaneGripAt(const QPoint& point, const QSize& size)
{
    int grip = GripMove;
    if (point.x() < kGripBand)
        grip |= GripLeft;
    else if (point.x() >= size.width() - kGripBand)
        grip |= GripRight;
    if (point.y() < kGripBand)
        grip |= GripTop;
    else if (point.y() >= size.height() - kGripBand)
        grip |= GripBottom;
    return grip;
}

LedRect DraggedRect(const LedRect& start, int grip, int dx, int dy, int screenWidth,
                    int screenHeight)
{
    LedRect rect = start;
    const int width = std::min(start.Width(), screenWidth);
    const int height = std::min(start.Height(), screenHeight);
    if (grip == GripMove) {
        rect.left = std::clamp(start.left + dx, 0, std::max(screenWidth - width, 0));
        rect.top = std::clamp(start.top + dy, 0, std::max(screenHeight - height, 0));
        rect.right = rect.left + width;
        rect.bottom = rect.top + height;
        return rect;
    }
    if (grip & GripLeft)
        rect.left = MoveLowEdge(start.left, dx, start.right, kMinWidth);
    if (grip & GripRight)
        rect.right = MoveHighEdge(start.right, dx, start.left, kMinWidth, screenWidth);
    if (grip & GripTop)
        rect.top = MoveLowEdge(start.top, dy, start.bottom, kMinHeight);
    if (grip & GripBottom)
        rect.bottom = MoveHighEdge(start.bottom, dy, start.top, kMinHeight, screenHeight);
    return rect;
}
