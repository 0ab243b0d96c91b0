#pragma once

// A rectangle in screen pixels; right and bottom lie just outside it.
struct LedRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr bool IsValid() const { return left < right && top < bottom; }
    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool Contains(int x, int y) const
    {
        return left <= x && x < right && top <= y && y < bottom;
    }
    friend constexpr bool operator==(const LedRect&, const LedRect&) = default;
};
