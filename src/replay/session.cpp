#include "replay/session.h"

namespace replay {

Session::Session() : program_(host_.runtime())
{
    host_.runtime().setErrorOutput([](const std::string&) {});  // counted by the runtime
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

ResizeOutcome Session::sizeAfter(const Event& e) const
{
    float w = 0, h = 0;
    if (e.kind != EventKind::Resize || rt::roundToSingle(e.x, w) != rt::ErrorCode::None ||
        rt::roundToSingle(e.y, h) != rt::ErrorCode::None || w < 0 || h < 0)
        return {ResizeOutcome::Kind::Unchanged};
    return {ResizeOutcome::Kind::Settles, w, h};
}

}  // namespace replay
