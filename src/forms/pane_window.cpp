#include "forms/pane_window.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "runtime/host.h"
#include "splitter/bar_drag.h"
#include "splitter/bar_names.h"
#include "splitter/split_layout.h"

namespace forms {

bool PaneWindow::dragging(int number) const
{
    if (number < 1 || static_cast<std::size_t>(number) > bars_.size())
        throw std::logic_error(std::string(name()) + " has no bar Image" + std::to_string(number));
    return bars_[static_cast<std::size_t>(number) - 1].dragging;
}

void PaneWindow::Form_Resize()
{
    rt::OnErrorResumeNext onError;
    splitter::enforceMinimumWidth(*this);
    for (const splitter::Bar& bar : bars_)
        bar.layout(bar.position());
}

// A table that disagrees with the definition is a defect: say so the first time the window loads.
void PaneWindow::onLoad()
{
    for (const splitter::Bar& bar : bars_) {
        const std::string where = std::string(name()) + " bar " + std::string(bar.control.name());
        const rt::Control* container = bar.container ? bar.container->get() : nullptr;
        if (bar.control.name() != "Image" + std::to_string(bar.number))
            throw std::logic_error(where + ": rows must be in Image-number order");
        if (bar.control->role() != rt::ControlRole::Bar || bar.indicator->role() != rt::ControlRole::Indicator)
            throw std::logic_error(where + ": its row names controls of the wrong kind");
        if (bar.control->parent() != container || bar.indicator->parent() != container ||
            bar.first->parent() != container || bar.second->parent() != container)
            throw std::logic_error(where + ": its controls do not all lie in its container");
    }
}

void PaneWindow::onUnload() { keyboard_.cancel(bars_); }

const splitter::Bar* PaneWindow::barFor(const rt::Control& control) const
{
    for (const splitter::Bar& bar : bars_)
        if (bar.control.get() == &control)
            return &bar;
    return nullptr;
}

void PaneWindow::dispatchMouse(const rt::Control& control, rt::MouseEvent event, const rt::MouseArgs& args)
{
    const splitter::Bar* bar = barFor(control);
    if (!bar)
        return;
    switch (event) {
    case rt::MouseEvent::Down: splitter::barMouseDown(*bar); return;
    case rt::MouseEvent::Move: splitter::barMouseMove(*bar, args); return;
    case rt::MouseEvent::Up: splitter::barMouseUp(*bar); return;
    }
}

bool PaneWindow::dispatchKey(const rt::KeyArgs& args)
{
    if (mouseButtonsHeld())
        return false;
    return keyboard_.key(bars_, args, runtime().host().twipsPerPixel(*this));
}

void PaneWindow::dispatchFocusLost() { keyboard_.cancel(bars_); }

void PaneWindow::dispatchMousePress() { keyboard_.cancel(bars_); }

const rt::Control* PaneWindow::keyboardFocus() const
{
    const splitter::Bar* bar = keyboardBar();
    return bar ? bar->control.get() : nullptr;
}

// The range is the drag's own; when a limit size under twice the margin makes its ends cross, it is told
// from the smaller end to the larger, so that no tool sees a range with its maximum below its minimum, and
// after a resize has left the bar outside it, it reaches to the bar. While the keyboard moves the bar, the
// position is its indicator's: where the bar will be laid out.
std::optional<rt::BarAccess> PaneWindow::barAccess(const rt::Control& control) const
{
    const splitter::Bar* bar = barFor(control);
    if (!bar)
        return std::nullopt;
    const bool taken = keyboardBar() == bar;
    const rt::Single position = taken ? bar->indicatorPosition() : bar->position();
    const rt::Single lowest = splitter::lowestDragPosition(*bar), highest = splitter::highestDragPosition(*bar);
    const double span = double(highest) - lowest;
    const double share = span > 0 ? std::clamp((double(position) - lowest) / span, 0.0, 1.0) : 0.0;
    return rt::BarAccess{splitter::describeBar(*bar, bars_),
                         splitter::describePosition(position, lowest, highest, bar->direction),
                         std::string(bar->indicator.name()),
                         position,
                         std::min({lowest, highest, position}),
                         std::max({lowest, highest, position}),
                         share,
                         bar->vertical(),
                         taken};
}

std::string PaneWindow::describeControl(const rt::Control& control) const
{
    return splitter::describeSide(control, bars_);
}

// Laid out as a drag released there; a mouse drag under way is left alone.
void PaneWindow::dispatchBarPosition(const rt::Control& control, double position)
{
    const splitter::Bar* bar = barFor(control);
    if (!bar || mouseButtonsHeld())
        return;
    keyboard_.cancel(bars_);
    splitter::barDragTo(*bar, position);
}

}  // namespace forms
