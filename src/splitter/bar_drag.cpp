#include "splitter/bar_drag.h"

namespace splitter {
namespace {

bool leftRight(const BarWiring& w) { return w.entry.direction == BarDirection::LeftRight; }

rt::Single barPosition(const BarWiring& w) { return leftRight(w) ? w.bar.Left() : w.bar.Top(); }

rt::Single indicatorPosition(const BarWiring& w) { return leftRight(w) ? w.indicator.Left() : w.indicator.Top(); }

rt::Single limitSize(const BarWiring& w)
{
    if (w.limitControl)
        return leftRight(w) ? w.limitControl->Width() : w.limitControl->Height();
    return leftRight(w) ? w.form.ScaleWidth() : w.form.ScaleHeight();
}

}  // namespace

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

void barMouseDown(const BarWiring& w)
{
    const rt::Number width = w.entry.halveIndicatorWidth ? rt::Number(w.bar.Width()) / 2 : rt::Number(w.bar.Width());
    w.indicator.Move(w.bar.Left(), w.bar.Top(), rt::toSingle(width), w.bar.Height());
    w.indicator.setVisible(true);
    w.dragging = true;
}

void barMouseMove(const BarWiring& w, const rt::MouseArgs& args)
{
    const rt::Single candidate = rt::toSingle(rt::Number(barPosition(w)) + (leftRight(w) ? args.x : args.y));
    const rt::Single p = limitDragPosition(candidate, limitSize(w));
    if (w.dragging) {
        if (leftRight(w))
            w.indicator.setLeft(p);
        else
            w.indicator.setTop(p);
    }
}

void barMouseUp(const BarWiring& w)
{
    w.layout(w.form, indicatorPosition(w));
    w.indicator.setVisible(false);
    w.dragging = false;
}

void barMouseEvent(const BarWiring& w, rt::MouseEvent event, const rt::MouseArgs& args)
{
    switch (event) {
    case rt::MouseEvent::Down: barMouseDown(w); return;
    case rt::MouseEvent::Move: barMouseMove(w, args); return;
    case rt::MouseEvent::Up: barMouseUp(w); return;
    }
}

}  // namespace splitter
