#include "replay/session.h"

namespace replay {

Session::Session() : program_(host_.runtime())
{
    host_.runtime().setErrorOutput([this](const std::string& line) {
        // A long session may report many; keep a bounded tail.
        if (errors_.size() >= 1000)
            errors_.erase(errors_.begin(), errors_.begin() + 500);
        errors_.push_back(line);
    });
}

void Session::apply(const Event& e)
{
    rt::Runtime& runtime = host_.runtime();
    forms::PaneWindow* form = window(e.window);
    if (e.kind == EventKind::Open)
        program_.open(e.window);
    else if (e.kind == EventKind::Menu)
        runtime.click(program_.splitterForm(), e.menuIndex);
    else if (form && e.kind == EventKind::Close)
        runtime.close(*form);
    else if (form && e.kind == EventKind::Resize)
        host_.resizeClient(*form, e.x, e.y);
    else if (form && isMouse(e.kind))
        runtime.mouse(*form, runtimeMouse(e.kind), e.button, e.shift, e.x, e.y);
}

ResizeOutcome Session::resizeOutcome(Window, double width, double height) const
{
    float w = 0, h = 0;
    if (rt::roundToSingle(width, w) != rt::ErrorCode::None || rt::roundToSingle(height, h) != rt::ErrorCode::None ||
        w < 0 || h < 0)
        return {ResizeOutcome::Kind::Unchanged};
    return {ResizeOutcome::Kind::Settles, w, h};
}

}  // namespace replay
