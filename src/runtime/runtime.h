// The forms runtime: loads and unloads windows, takes events from the host and runs the windows'
// handlers one at a time, routing the mouse by hit test and capture. An error that a handler does not
// trap goes to the default handling: one line on the error output, and the program carries on.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/errors.h"
#include "runtime/form.h"
#include "runtime/host.h"
#include "runtime/keyboard.h"
#include "runtime/mouse.h"

namespace rt {

class Runtime {
public:
    explicit Runtime(Host& host);
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    Host& host() const { return host_; }

    // Where default handling writes its one-line messages; stderr unless replaced.
    void setErrorOutput(std::function<void(const std::string&)> output);

    // Sees every mouse event the host hands over, as it is handed over and before it is routed: for
    // tools that check or record what the runtime was given. None unless set.
    using MouseObserver = std::function<void(Form&, MouseEvent, int button, int shift, double x, double y)>;
    void setMouseObserver(MouseObserver observer) { mouseObserver_ = std::move(observer); }

    // Loads `form` if needed and has the host show it.
    void show(Form& form);

    // Events from the host. Sizes and positions are client-area twips.
    void resized(Form& form, double clientWidth, double clientHeight);
    void mouse(Form& form, MouseEvent event, int button, int shift, double x, double y);
    void click(Form& form, std::size_t menuIndex);
    // A key pressed in the window that has the keyboard; true when the window used it, so that the host
    // can pass any other key on.
    bool key(Form& form, Key key, int shift);
    // The window lost the keyboard to another window, or to its own menu bar.
    void focusLost(Form& form);
    // An assistive tool sets a bar's position (twips, in the bar's container).
    void setBarPosition(Form& form, const Control& bar, double position);
    // The user closed the window: its controls are unloaded, the instance stays.
    void close(Form& form);

    const std::vector<Form*>& loadedForms() const { return loaded_; }
    // Untrapped errors handled so far.
    unsigned long untrappedErrors() const { return untrapped_; }

    void reportProblem(const Form& form, const std::string& what);

private:
    template <class Body>
    void runHandler(const Form& form, std::string_view control, std::string_view event, Body&& body);
    void deliverMouse(Form& form, Control* target, MouseEvent event, int button, int shift, double x, double y);

    Host& host_;
    std::vector<Form*> loaded_;
    std::function<void(const std::string&)> errorOutput_;
    MouseObserver mouseObserver_;
    unsigned long untrapped_ = 0;
};

}  // namespace rt
