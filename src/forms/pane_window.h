// What the four windows have in common. Each window describes its bars once, in a table of rows naming
// the bar's controls, drag flag and layout routine as members of the window class; from that table the
// window builds one splitter::Bar per bar, and everything else (the drag protocol, the mouse dispatch,
// the replay checks, what assistive tools see) works from those.
#pragma once

#include <span>
#include <vector>

#include "runtime/control_ref.h"
#include "runtime/form.h"
#include "runtime/runtime.h"
#include "splitter/bar.h"
#include "splitter/keyboard_mode.h"

namespace forms {

// One bar of a window class, in Image-number order: row k describes Image<k>.
template <class Window>
struct BarRow {
    rt::ControlRef Window::*bar;
    rt::ControlRef Window::*indicator;
    rt::ControlRef Window::*container;  // null: the bar lies on the window itself
    rt::ControlRef Window::*limit;      // null: the drag limit is the window's client size
    rt::ControlRef Window::*first;      // the side left of or above the bar
    rt::ControlRef Window::*second;     // the side right of or below it
    bool Window::*dragging;
    void (Window::*layout)(rt::Single);
    splitter::BarDirection direction;
};

class PaneWindow : public rt::Form {
public:
    // Every bar of the window, in Image-number order; their controls are reachable while it is loaded.
    std::span<const splitter::Bar> bars() const { return bars_; }
    // DraggingImage<number>.
    bool dragging(int number) const;
    // The bar the keyboard is moving (F8), or null.
    const splitter::Bar* keyboardBar() const { return keyboard_.bar(bars_); }

    // Keeps the outer width at the minimum or more, then lays out every bar again at its own position, in
    // Image-number order: a resize never moves a bar, and nested splits follow their containers.
    void Form_Resize() override;

protected:
    PaneWindow(rt::Runtime& runtime, const rt::FormDefinition& definition) : rt::Form(runtime, definition) {}

    // Called once from the window's constructor with its table.
    template <class Window, std::size_t N>
    void describeBars(Window& self, const BarRow<Window> (&rows)[N])
    {
        bars_.reserve(N);
        int number = 0;
        for (const BarRow<Window>& row : rows) {
            const auto optional = [&](rt::ControlRef Window::*member) {
                return member ? &(self.*member) : nullptr;
            };
            bars_.push_back({*this, ++number, row.direction, self.*row.bar, self.*row.indicator,
                             optional(row.container), optional(row.limit), self.*row.first, self.*row.second,
                             self.*row.dragging, [&self, layout = row.layout](rt::Single p) { (self.*layout)(p); }});
        }
    }

private:
    void onLoad() override;
    void onUnload() override;
    void dispatchMouse(const rt::Control& control, rt::MouseEvent event, const rt::MouseArgs& args) override;
    // Keyboard mode: F8 and the bar keys. No key does anything while a mouse button is held; losing the
    // keyboard, a press and closing the window each cancel keyboard mode.
    bool dispatchKey(const rt::KeyArgs& args) override;
    void dispatchFocusLost() override;
    void dispatchMousePress() override;
    // For assistive tools.
    const rt::Control* keyboardFocus() const override;
    std::optional<rt::BarAccess> barAccess(const rt::Control& control) const override;
    std::string describeControl(const rt::Control& control) const override;
    void dispatchBarPosition(const rt::Control& control, double position) override;

    const splitter::Bar* barFor(const rt::Control& control) const;

    std::vector<splitter::Bar> bars_;
    splitter::KeyboardMode keyboard_;
};

}  // namespace forms
