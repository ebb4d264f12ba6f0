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
    for (const splitter::BarEntry& entry : splitter::kBars) {
        if (entry.window != name())
            continue;
        const BarHooks hooks = barHooks(entry.number);
        bars_.push_back({entry, *this, control("Image" + std::to_string(entry.number)), control(entry.indicator),
                         entry.limitControl.empty() ? nullptr : &control(entry.limitControl), hooks.dragging,
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
