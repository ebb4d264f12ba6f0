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
    switch (e.kind) {
    case EventKind::Open:
        program_.open(e.window);
        return;
    case EventKind::Menu:
        runtime.click(program_.splitterForm(), e.menuIndex);
        return;
    default: break;
    }
    forms::PaneWindow* form = window(e.window);
    if (!form)
        return;  // never opened: nothing receives the event
    switch (e.kind) {
    case EventKind::Close: runtime.close(*form); return;
    case EventKind::Resize: host_.resizeClient(*form, e.x, e.y); return;
    case EventKind::Down: runtime.mouse(*form, rt::MouseEvent::Down, e.button, e.shift, e.x, e.y); return;
    case EventKind::Move: runtime.mouse(*form, rt::MouseEvent::Move, e.button, e.shift, e.x, e.y); return;
    case EventKind::Up: runtime.mouse(*form, rt::MouseEvent::Up, e.button, e.shift, e.x, e.y); return;
    default: return;  // window states: none here
    }
}

ResizeOutcome Session::resizeOutcome(Window, double width, double height) const
{
    float w = 0, h = 0;
    const bool usable = rt::roundToSingle(width, w) == rt::ErrorCode::None &&
                        rt::roundToSingle(height, h) == rt::ErrorCode::None && w >= 0 && h >= 0;
    if (!usable)
        return {ResizeOutcome::Kind::Unchanged};
    return {ResizeOutcome::Kind::Settles, w, h};
}

}  // namespace replay
