#include "runtime/runtime.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "runtime/defects.h"

namespace rt {

const char* eventSuffix(MouseEvent event)
{
    switch (event) {
    case MouseEvent::Down: return "MouseDown";
    case MouseEvent::Move: return "MouseMove";
    case MouseEvent::Up: return "MouseUp";
    }
    return "Mouse";
}

Runtime::Runtime(Host& host)
    : host_(host), errorOutput_([](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); })
{
}

void Runtime::setErrorOutput(std::function<void(const std::string&)> output) { errorOutput_ = std::move(output); }

void Runtime::reportProblem(const Form& form, const std::string& what)
{
    errorOutput_("splitter: " + std::string(form.name()) + ": " + what);
}

template <class Body>
void Runtime::runHandler(const Form& form, std::string_view control, std::string_view event, Body&& body)
{
    UntrappedScope untrapped;
    const auto handler = [&] {
        return std::string(form.name()) + "." + std::string(control) + "_" + std::string(event);
    };
    try {
        body();
    } catch (const RuntimeError& e) {
        // An error the program's own statements may raise: reported, and the program goes on.
        ++untrapped_;
        errorOutput_("splitter: runtime error " + std::to_string(static_cast<int>(e.code())) + " (" +
                     describe(e.code()) + ") in " + handler() + "; the program continues");
    } catch (const std::exception& e) {
        // Anything else is a defect in the program (a missing control, a broken invariant).
        const std::string line = "splitter: internal error in " + handler() + ": " + e.what();
        if (defectResponse() == DefectResponse::Stop) {
            std::fprintf(stderr, "%s\n", line.c_str());
            std::abort();
        }
        ++untrapped_;
        errorOutput_(line + "; the program continues");
    }
}

void Runtime::show(Form& form)
{
    if (!form.loaded()) {
        form.load();
        loaded_.push_back(&form);
    }
    form.shown_ = true;
    host_.showForm(form);
}

void Runtime::resized(Form& form, double clientWidth, double clientHeight)
{
    if (!form.loaded())
        return;
    Single w = 0, h = 0;
    // A size the host cannot express in twips is not applied; the window keeps its last one.
    if (roundToSingle(clientWidth, w) != ErrorCode::None || roundToSingle(clientHeight, h) != ErrorCode::None ||
        w < 0 || h < 0) {
        reportProblem(form, "ignored an unusable client size from the window system");
        return;
    }
    form.setClientSize(w, h);
    runHandler(form, "Form", "Resize", [&] { form.Form_Resize(); });
}

void Runtime::mouse(Form& form, MouseEvent event, int button, int shift, double x, double y)
{
    if (mouseObserver_)
        mouseObserver_(form, event, button, shift, x, y);
    if (!form.loaded())
        return;
    button &= kLeftButton | kRightButton | kMiddleButton;
    shift &= kShiftMask | kCtrlMask | kAltMask;
    MouseState& state = form.mouse_;
    switch (event) {
    case MouseEvent::Down: {
        if (!button)
            return;
        runHandler(form, "Form", "MouseDown", [&] { form.dispatchMousePress(); });
        if (state.heldButtons == 0)
            state.capture = form.hitTest(x, y);
        state.heldButtons |= button;
        deliverMouse(form, state.capture, event, button, shift, x, y);
        return;
    }
    case MouseEvent::Move: {
        Control* target = state.heldButtons ? state.capture : form.hitTest(x, y);
        deliverMouse(form, target, event, state.heldButtons, shift, x, y);
        return;
    }
    case MouseEvent::Up: {
        if (!(state.heldButtons & button))
            return;  // a release we never saw pressed
        state.heldButtons &= ~button;
        Control* target = state.capture;
        if (state.heldButtons == 0)
            state.capture = nullptr;
        deliverMouse(form, target, event, button, shift, x, y);
        return;
    }
    }
}

void Runtime::deliverMouse(Form& form, Control* target, MouseEvent event, int button, int shift, double x, double y)
{
    if (!target)
        return;
    double ox = 0, oy = 0;
    form.originOf(*target, ox, oy);
    runHandler(form, target->name(), eventSuffix(event), [&] {
        // X and Y reach the handler as Singles; a coordinate beyond that range fails here, as the handler's.
        const MouseArgs args{button, shift, toSingle(x - ox), toSingle(y - oy)};
        form.dispatchMouse(*target, event, args);
    });
}

void Runtime::click(Form& form, std::size_t menuIndex)
{
    if (!form.loaded() || menuIndex >= form.menu().size())
        return;
    const MenuEntry& entry = form.menu()[menuIndex];
    runHandler(form, entry.name, "Click", [&] { form.dispatchClick(entry); });
}

bool Runtime::key(Form& form, Key key, int shift)
{
    if (!form.loaded())
        return false;
    bool used = false;
    runHandler(form, "Form", "KeyDown", [&] {
        used = form.dispatchKey({key, shift & (kShiftMask | kCtrlMask | kAltMask)});
    });
    return used;
}

void Runtime::focusLost(Form& form)
{
    if (form.loaded())
        runHandler(form, "Form", "LostFocus", [&] { form.dispatchFocusLost(); });
}

void Runtime::setBarPosition(Form& form, const Control& bar, double position)
{
    if (!form.loaded() || &bar.form() != &form)
        return;
    runHandler(form, bar.name(), "Change", [&] { form.dispatchBarPosition(bar, position); });
}

void Runtime::close(Form& form)
{
    if (!form.loaded())
        return;
    form.unload();
    loaded_.erase(std::remove(loaded_.begin(), loaded_.end(), &form), loaded_.end());
    host_.unloadForm(form);
    if (loaded_.empty())
        host_.allFormsClosed();
}

}  // namespace rt
