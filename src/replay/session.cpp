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

forms::PaneWindow* Session::window(Window w)
{
    switch (w) {
    case Window::SplitterForm: return &program_.splitterForm();
    case Window::Splitter3: return program_.splitter3();
    case Window::Splitter4: return program_.splitter4();
    case Window::Splitter5: return program_.splitter5();
    }
    return nullptr;
}

const forms::PaneWindow* Session::window(Window w) const { return const_cast<Session*>(this)->window(w); }

int Session::barCount(Window w)
{
    switch (w) {
    case Window::SplitterForm: return 1;
    case Window::Splitter3: return 2;
    case Window::Splitter4: return 3;
    case Window::Splitter5: return 4;
    }
    return 0;
}

const bool* Session::dragFlag(Window w, int bar) const
{
    auto& program = const_cast<app::Program&>(program_);
    switch (w) {
    case Window::SplitterForm:
        return bar == 1 ? &program.splitterForm().DraggingImage1 : nullptr;
    case Window::Splitter3: {
        const forms::Splitter3* f = program.splitter3();
        if (!f)
            return nullptr;
        const bool* flags[] = {&f->DraggingImage1, &f->DraggingImage2};
        return bar >= 1 && bar <= 2 ? flags[bar - 1] : nullptr;
    }
    case Window::Splitter4: {
        const forms::Splitter4* f = program.splitter4();
        if (!f)
            return nullptr;
        const bool* flags[] = {&f->DraggingImage1, &f->DraggingImage2, &f->DraggingImage3};
        return bar >= 1 && bar <= 3 ? flags[bar - 1] : nullptr;
    }
    case Window::Splitter5: {
        const forms::Splitter5* f = program.splitter5();
        if (!f)
            return nullptr;
        const bool* flags[] = {&f->DraggingImage1, &f->DraggingImage2, &f->DraggingImage3, &f->DraggingImage4};
        return bar >= 1 && bar <= 4 ? flags[bar - 1] : nullptr;
    }
    }
    return nullptr;
}

void Session::apply(const Event& e)
{
    rt::Runtime& runtime = host_.runtime();
    switch (e.kind) {
    case EventKind::Open:
        switch (e.window) {
        case Window::SplitterForm: program_.start(); break;
        case Window::Splitter3: program_.SanbunMenu_Click(); break;
        case Window::Splitter4: program_.YonbunMenu_Click(); break;
        case Window::Splitter5: program_.RokuBunMenu_Click(); break;
        }
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
    default: return;
    }
}

}  // namespace replay
