// The two kinds of split every window is built from: a vertical bar that divides an area into a left and
// a right side, and a horizontal bar that divides it into an upper and a lower side. Both run in
// resume-next mode: a refused statement is skipped and the rest still run, and every size a later step
// depends on is read back from the controls, so a refused size carries its old value forward.
#pragma once

#include "runtime/control.h"
#include "runtime/form.h"

namespace splitter {

inline constexpr rt::Single kGap = 40;                   // between the two sides of every split
inline constexpr rt::Single kHorizontalBarThickness = 40;  // a horizontal bar exactly fills its gap
inline constexpr rt::Single kMinimumOuterWidth = 2000;   // a window's outer width, frame included

// The size a split divides: a window's client area, or a container's outer size (border included).
class ReferenceArea {
public:
    static ReferenceArea clientOf(const rt::Form& form) { return ReferenceArea(&form, nullptr); }
    static ReferenceArea outerOf(const rt::Control& container) { return ReferenceArea(nullptr, &container); }

    rt::Single width() const { return container_ ? container_->Width() : form_->ScaleWidth(); }
    rt::Single height() const { return container_ ? container_->Height() : form_->ScaleHeight(); }

private:
    ReferenceArea(const rt::Form* form, const rt::Control* container) : form_(form), container_(container) {}
    const rt::Form* form_;
    const rt::Control* container_;
};

struct VerticalSplit {
    rt::Control& left;
    rt::Control& bar;
    rt::Control& right;
    ReferenceArea area;
};

struct HorizontalSplit {
    rt::Control& upper;
    rt::Control& bar;
    rt::Control& lower;
    rt::Control& indicator;  // given the container's width, so that it spans it when a drag shows it
    ReferenceArea area;
};

// Left side 0..x, bar at x (its width untouched), right side from x + 40 to the area's right edge.
void layOutVerticalSplit(const VerticalSplit& split, rt::Single x);
// Upper side 0..y, a 40-twip bar at y, lower side from the upper side's height + 40 to the area's bottom.
void layOutHorizontalSplit(const HorizontalSplit& split, rt::Single y);

// A window's Resize rule: an outer width under the minimum becomes the minimum. No rule for the height.
void enforceMinimumWidth(rt::Form& form);

}  // namespace splitter
