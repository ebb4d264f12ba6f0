#include "forms/pane_window.h"

#include <stdexcept>
#include <string>

#include "splitter/bar_drag.h"
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

void PaneWindow::dispatchMouse(const rt::Control& control, rt::MouseEvent event, const rt::MouseArgs& args)
{
    for (const splitter::Bar& bar : bars_) {
        if (bar.control.get() != &control)
            continue;
        switch (event) {
        case rt::MouseEvent::Down: splitter::barMouseDown(bar); return;
        case rt::MouseEvent::Move: splitter::barMouseMove(bar, args); return;
        case rt::MouseEvent::Up: splitter::barMouseUp(bar); return;
        }
    }
}

}  // namespace forms
