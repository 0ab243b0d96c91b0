#pragma once

#include <climits>

// A rectangle in screen pixels; right and bottom lie just outside it.
struct LedRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr bool IsValid() const { return left < right && top < bottom; }
    // Sizes are worked out in 64 bits and saturate: a rectangle read from a file may span
    // the whole int range.
    constexpr int Width() const { return Span(left, right); }
    constexpr int Height() const { return Span(top, bottom); }
    constexpr bool Contains(int x, int y) const
    {
        return left <= x && x < right && top <= y && y < bottom;
    }
    friend constexpr bool operator==(const LedRect&, const LedRect&) = default;

private:
    static constexpr int Span(int from, int to)
    {
        const long long span = static_cast<long long>(to) - from;
        return span > INT_MAX ? INT_MAX : span < INT_MIN ? INT_MIN : static_cast<int>(span);
    }
};
