#include "splitter/bar_drag.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace splitter {

rt::Single limitDragPosition(rt::Single candidate, rt::Single limitSize)
{
    rt::Single p = candidate;
    if (p < kDragMargin) {
        p = kDragMargin;
    } else {
        const rt::Single limit = rt::toSingle(rt::Number(limitSize) - kDragMargin);
        if (limit <= p)
            p = limit;
    }
    return p < 0 ? 0 : p;
}

void barMouseDown(const Bar& b)
{
    const rt::Control& bar = *b.control;
    const rt::Number width = b.vertical() ? rt::Number(bar.Width()) / 2 : rt::Number(bar.Width());
    b.indicator->Move(bar.Left(), bar.Top(), rt::toSingle(width), bar.Height());
    b.indicator->setVisible(true);
    b.dragging = true;
}

void barMouseMove(const Bar& b, const rt::MouseArgs& args)
{
    moveIndicator(b, rt::toSingle(rt::Number(b.position()) + (b.vertical() ? args.x : args.y)));
}

void moveIndicator(const Bar& b, rt::Single candidate)
{
    const rt::Single p = limitDragPosition(candidate, b.limitSize());
    if (b.dragging) {
        if (b.vertical())
            b.indicator->setLeft(p);
        else
            b.indicator->setTop(p);
    }
}

rt::Single lowestDragPosition(const Bar& b)
{
    return limitDragPosition(std::numeric_limits<rt::Single>::lowest(), b.limitSize());
}

rt::Single highestDragPosition(const Bar& b)
{
    return limitDragPosition(std::numeric_limits<rt::Single>::max(), b.limitSize());
}

void barMouseUp(const Bar& b)
{
    b.layout(b.indicatorPosition());
    b.indicator->setVisible(false);
    b.dragging = false;
}

void barDragTo(const Bar& b, double position)
{
    if (std::isnan(position))
        return;
    constexpr double kLargest = std::numeric_limits<rt::Single>::max();
    barMouseDown(b);
    moveIndicator(b, rt::toSingle(std::clamp(position, -kLargest, kLargest)));
    barMouseUp(b);
}

}  // namespace splitter
