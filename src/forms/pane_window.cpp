#include "forms/pane_window.h"

#include <stdexcept>
#include <string>

namespace forms {

PaneWindow::PaneWindow(rt::Runtime& runtime, const rt::FormDefinition& definition,
                       std::initializer_list<NamedControl> named)
    : rt::Form(runtime, definition), named_(named)
{
}

const splitter::BarWiring& PaneWindow::bar(int number) const
{
    if (number < 1 || static_cast<std::size_t>(number) > bars_.size())
        throw std::logic_error(std::string(name()) + " has no loaded bar Image" + std::to_string(number));
    return bars_[static_cast<std::size_t>(number) - 1];
}

void PaneWindow::onLoad()
{
    for (auto& [pointer, controlName] : named_)
        *pointer = &control(controlName);
    bars_.clear();
    for (const splitter::BarSpec& spec : splitter::kBars) {
        if (spec.window != name())
            continue;
        const BarHooks hooks = barHooks(spec.number);
        bars_.push_back({spec, *this, control("Image" + std::to_string(spec.number)), control(spec.indicator),
                         spec.limitControl.empty() ? nullptr : &control(spec.limitControl), hooks.dragging,
                         hooks.layout});
    }
}

void PaneWindow::onUnload()
{
    bars_.clear();
    for (auto& [pointer, controlName] : named_)
        *pointer = nullptr;
}

}  // namespace forms
