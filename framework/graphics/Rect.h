// Integer geometry shared by the whole framework: points, rectangles (width or height 0 is empty) and insets.
#pragma once

#include <algorithm>

namespace Zestra
{

struct Point
{
    int mX = 0;
    int mY = 0;

    constexpr bool operator==(const Point&) const = default;
};

struct Insets
{
    int mLeft = 0;
    int mTop = 0;
    int mRight = 0;
    int mBottom = 0;

    constexpr bool operator==(const Insets&) const = default;
};

struct Rect
{
    int mX = 0;
    int mY = 0;
    int mWidth = 0;
    int mHeight = 0;

    constexpr Rect() = default;
    constexpr Rect(int x, int y, int width, int height) : mX(x), mY(y), mWidth(width), mHeight(height) {}

    constexpr bool IsEmpty() const { return mWidth <= 0 || mHeight <= 0; }
    constexpr bool Contains(int x, int y) const
    {
        return x >= mX && y >= mY && x < mX + mWidth && y < mY + mHeight;
    }
    constexpr bool Intersects(const Rect& o) const
    {
        return !IsEmpty() && !o.IsEmpty() && o.mX < mX + mWidth && mX < o.mX + o.mWidth && o.mY < mY + mHeight &&
               mY < o.mY + o.mHeight;
    }
    // The common part; empty (0 x 0 at the clamped corner) when the two do not meet.
    constexpr Rect Intersection(const Rect& o) const
    {
        int x1 = std::max(mX, o.mX);
        int y1 = std::max(mY, o.mY);
        int x2 = std::min(mX + mWidth, o.mX + o.mWidth);
        int y2 = std::min(mY + mHeight, o.mY + o.mHeight);
        if (x2 <= x1 || y2 <= y1)
            return Rect(x1, y1, 0, 0);
        return Rect(x1, y1, x2 - x1, y2 - y1);
    }
    // The smallest rectangle holding both; an empty side is ignored.
    constexpr Rect Union(const Rect& o) const
    {
        if (IsEmpty())
            return o;
        if (o.IsEmpty())
            return *this;
        int x1 = std::min(mX, o.mX);
        int y1 = std::min(mY, o.mY);
        int x2 = std::max(mX + mWidth, o.mX + o.mWidth);
        int y2 = std::max(mY + mHeight, o.mY + o.mHeight);
        return Rect(x1, y1, x2 - x1, y2 - y1);
    }
    constexpr Rect Inset(const Insets& in) const
    {
        return Rect(mX + in.mLeft, mY + in.mTop, mWidth - in.mLeft - in.mRight, mHeight - in.mTop - in.mBottom);
    }

    constexpr bool operator==(const Rect&) const = default;
};

} // namespace Zestra
