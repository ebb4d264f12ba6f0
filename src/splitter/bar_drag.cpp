#include "splitter/bar_drag.h"

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
    const rt::Single candidate = rt::toSingle(rt::Number(b.position()) + (b.vertical() ? args.x : args.y));
    const rt::Single p = limitDragPosition(candidate, b.limitSize());
    if (b.dragging) {
        if (b.vertical())
            b.indicator->setLeft(p);
        else
            b.indicator->setTop(p);
    }
}

void barMouseUp(const Bar& b)
{
    b.layout(b.indicatorPosition());
    b.indicator->setVisible(false);
    b.dragging = false;
}

}  // namespace splitter
