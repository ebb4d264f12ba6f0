#include "runtime/control.h"

#include <algorithm>

#include "runtime/form.h"

namespace rt {
namespace {

// Rounds an incoming value, raising its fault; a negative size is refused when `isSize`.
bool accept(Number value, bool isSize, Single& out)
{
    Single rounded = 0;
    if (const ErrorCode fault = roundToSingle(value, rounded); fault != ErrorCode::None)
        return raise(fault);
    if (isSize && rounded < 0)
        return raise(ErrorCode::InvalidPropertyValue);
    out = rounded + 0.0f;  // folds -0 into +0
    return true;
}

}  // namespace

Control::Control(Form& form, Control* parent, const ControlDefinition& d)
    : form_(form), parent_(parent), name_(d.name), kind_(d.kind), role_(d.role), left_(d.left), top_(d.top),
      width_(d.width), height_(d.height), visible_(d.visible), backColor_(d.backColor),
      tabIndex_(d.kind == ControlKind::PictureBox ? d.tabIndex : -1), pointer_(d.pointer),
      border_(d.kind == ControlKind::PictureBox ? d.border : BorderStyle::None)
{
}

bool Control::visibleWithContainers() const
{
    for (const Control* c = this; c; c = c->parent())
        if (!c->Visible())
            return false;
    return true;
}

double Control::innerWidth() const { return std::max(0.0, double(width_) - 2.0 * borderThickness()); }
double Control::innerHeight() const { return std::max(0.0, double(height_) - 2.0 * borderThickness()); }

void Control::changed(const Rect& oldBounds, bool oldVisible)
{
    if (oldBounds != bounds() || oldVisible != visible_)
        form_.controlChanged(*this, oldBounds, oldVisible);
}

bool Control::assign(Single Control::*field, Number value, bool isSize)
{
    Single v = 0;
    if (!accept(value, isSize, v))
        return false;
    const Rect old = bounds();
    this->*field = v;
    changed(old, visible_);
    return true;
}

bool Control::setLeft(Number value) { return assign(&Control::left_, value, false); }
bool Control::setTop(Number value) { return assign(&Control::top_, value, false); }
bool Control::setWidth(Number value) { return assign(&Control::width_, value, true); }
bool Control::setHeight(Number value) { return assign(&Control::height_, value, true); }

bool Control::setVisible(bool visible)
{
    const bool old = visible_;
    visible_ = visible;
    changed(bounds(), old);
    return true;
}

bool Control::Move(Number left, Number top, Number width, Number height)
{
    Single l = 0, t = 0, w = 0, h = 0;
    if (!accept(left, false, l) || !accept(top, false, t) || !accept(width, true, w) || !accept(height, true, h))
        return false;
    const Rect old = bounds();
    left_ = l;
    top_ = t;
    width_ = w;
    height_ = h;
    changed(old, visible_);
    return true;
}

}  // namespace rt
