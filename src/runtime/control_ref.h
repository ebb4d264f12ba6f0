// A window's named handle on one of its controls, declared once as a member of the window class:
//     rt::ControlRef Picture2{*this, "Picture2"};
// It is bound to the live control whenever the window loads and cleared when it unloads, so a window's
// routines reach their controls by member, with no look-up by name per statement.
#pragma once

#include <string_view>

namespace rt {

class Control;
class Form;

class ControlRef {
public:
    ControlRef(Form& form, std::string_view name);
    ControlRef(const ControlRef&) = delete;
    ControlRef& operator=(const ControlRef&) = delete;

    std::string_view name() const { return name_; }
    bool bound() const { return control_ != nullptr; }

    // The live control. Using a handle while its window is not loaded is a defect in the program, not an
    // error a person can cause: it throws std::logic_error naming the control.
    Control& operator*() const { return control_ ? *control_ : unbound(); }
    Control* operator->() const { return &**this; }
    Control* get() const { return control_; }

private:
    friend class Form;
    [[noreturn]] Control& unbound() const;

    std::string_view name_;
    Control* control_ = nullptr;
};

}  // namespace rt
