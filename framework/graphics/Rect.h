// An integer rectangle; an empty one has width or height 0 or less.
#pragma once

#include <algorithm>

namespace Vel {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    constexpr Rect() = default;
    constexpr Rect(int x_, int y_, int w, int h) : x(x_), y(y_), width(w), height(h) {}

    constexpr bool IsEmpty() const { return width <= 0 || height <= 0; }
    constexpr bool Contains(int px, int py) const
    {
        return px >= x && px < x + width && py >= y && py < y + height;
    }
    constexpr Rect Intersection(const Rect& o) const
    {
        const int left = std::max(x, o.x);
        const int top = std::max(y, o.y);
        const int right = std::min(x + width, o.x + o.width);
        const int bottom = std::min(y + height, o.y + o.height);
        return Rect(left, top, right - left, bottom - top);
    }
    constexpr bool Intersects(const Rect& o) const { return !Intersection(o).IsEmpty(); }
    constexpr bool operator==(const Rect&) const = default;
};

} // namespace Vel
