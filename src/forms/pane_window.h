// What the four windows have in common: controls reached by name, the bars wired to the drag protocol
// from the table of bars, and a flat table that hands each bar event to the window's named handler.
#pragma once

#include <initializer_list>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "runtime/form.h"
#include "runtime/runtime.h"
#include "splitter/bar_drag.h"

namespace forms {

class PaneWindow : public rt::Form {
public:
    // A bar's hooks into its window: its drag flag and its layout routine.
    struct BarHooks {
        bool& dragging;
        void (*layout)(rt::Form& form, rt::Single position);
    };

    // The wiring of bar Image<number> while the window is loaded.
    const splitter::BarWiring& bar(int number) const;

protected:
    using NamedControl = std::pair<rt::Control**, std::string_view>;

    PaneWindow(rt::Runtime& runtime, const rt::FormDefinition& definition, std::initializer_list<NamedControl> named);

    virtual BarHooks barHooks(int number) = 0;

    // Turns a layout member into the plain function a wiring holds.
    template <class Window, void (Window::*Layout)(rt::Single)>
    static void layoutThunk(rt::Form& form, rt::Single position)
    {
        (static_cast<Window&>(form).*Layout)(position);
    }

    // A window's handler table: one row per bar, the bar's three mouse handlers.
    template <class Window>
    struct MouseHandlers {
        using Handler = void (Window::*)(int button, int shift, rt::Single x, rt::Single y);
        std::string_view control;
        Handler down, move, up;
    };

    template <class Window>
    static void dispatchTo(Window& window, std::span<const MouseHandlers<Window>> table, const rt::Control& control,
                           rt::MouseEvent event, const rt::MouseArgs& a)
    {
        for (const auto& row : table)
            if (row.control == control.name()) {
                const auto handler = event == rt::MouseEvent::Down ? row.down
                                     : event == rt::MouseEvent::Move ? row.move
                                                                     : row.up;
                (window.*handler)(a.button, a.shift, a.x, a.y);
                return;
            }
    }

private:
    void onLoad() override;
    void onUnload() override;

    std::vector<NamedControl> named_;
    std::vector<splitter::BarWiring> bars_;
};

}  // namespace forms
