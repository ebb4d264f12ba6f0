// Rectangles in twips, for areas on a window's client surface.
#pragma once

#include <algorithm>

namespace rt {

struct Rect {
    double left = 0, top = 0, width = 0, height = 0;

    double right() const { return left + width; }
    double bottom() const { return top + height; }
    bool empty() const { return !(width > 0 && height > 0); }
    bool contains(double x, double y) const { return x >= left && x < right() && y >= top && y < bottom(); }

    Rect intersected(const Rect& o) const
    {
        const double l = std::max(left, o.left), t = std::max(top, o.top);
        const double r = std::min(right(), o.right()), b = std::min(bottom(), o.bottom());
        return r > l && b > t ? Rect{l, t, r - l, b - t} : Rect{};
    }
    Rect translated(double dx, double dy) const { return {left + dx, top + dy, width, height}; }
    bool operator==(const Rect&) const = default;
};

}  // namespace rt
