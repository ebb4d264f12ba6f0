// One splitter bar of one window instance: the controls it works with, its drag flag and its layout
// routine. Windows describe their bars in a table of their own and build these from it; the drag
// protocol, the mouse dispatch, the replay checks and what assistive tools see all read them from here.
#pragma once

#include <functional>

#include "runtime/control.h"
#include "runtime/control_ref.h"
#include "runtime/form.h"

namespace splitter {

enum class BarDirection {
    LeftRight,  // a vertical bar: its position is its Left, the pointer's X moves it
    UpDown,     // a horizontal bar: its position is its Top, the pointer's Y moves it
};

struct Bar {
    rt::Form& form;
    int number;  // Image<number>, DraggingImage<number>, LayoutForImage<number>
    BarDirection direction;
    const rt::ControlRef& control;
    const rt::ControlRef& indicator;  // lies in the same container as the bar
    const rt::ControlRef* container;  // where the bar lies; null: the window's client area
    const rt::ControlRef* limit;      // what the upper drag limit is measured against; null: the client size
    const rt::ControlRef& first;      // the side left of or above the bar
    const rt::ControlRef& second;     // the side right of or below it
    bool& dragging;
    std::function<void(rt::Single)> layout;

    bool vertical() const { return direction == BarDirection::LeftRight; }
    // Left of a vertical bar, Top of a horizontal one.
    rt::Single position() const { return vertical() ? control->Left() : control->Top(); }
    rt::Single indicatorPosition() const { return vertical() ? indicator->Left() : indicator->Top(); }
    // The size the upper drag limit is measured against, along the bar's direction.
    rt::Single limitSize() const
    {
        if (limit)
            return vertical() ? (*limit)->Width() : (*limit)->Height();
        return vertical() ? form.ScaleWidth() : form.ScaleHeight();
    }
    // The size its split divides along its direction: the container's outer size, or the client size.
    rt::Single splitSize() const
    {
        if (container)
            return vertical() ? (*container)->Width() : (*container)->Height();
        return vertical() ? form.ScaleWidth() : form.ScaleHeight();
    }
    rt::Single splitBreadth() const
    {
        if (container)
            return vertical() ? (*container)->Height() : (*container)->Width();
        return vertical() ? form.ScaleHeight() : form.ScaleWidth();
    }
};

}  // namespace splitter
