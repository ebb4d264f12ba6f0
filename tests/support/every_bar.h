// Every bar of every window as a test parameter, and helpers to open the windows and drag a bar.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "app/program.h"
#include "runtime/memory_host.h"
#include "support/defined_bars.h"

namespace testing_support {

// Opens the window of that class (the main one by starting the program) and returns it.
inline forms::PaneWindow& openWindow(app::Program& program, std::string_view name)
{
    if (name == "Splitter3")
        program.SanbunMenu_Click();
    else if (name == "Splitter4")
        program.YonbunMenu_Click();
    else if (name == "Splitter5")
        program.RokuBunMenu_Click();
    else
        program.start();
    for (forms::PaneWindow* window : program.windows())
        if (window && window->name() == name)
            return *window;
    throw std::logic_error("no window class " + std::string(name));
}

inline void openEveryWindow(app::Program& program)
{
    for (const char* name : {"SplitterForm", "Splitter3", "Splitter4", "Splitter5"})
        openWindow(program, name);
}

struct BarId {
    std::string window;
    int number;
    std::string label() const { return window + "_Image" + std::to_string(number); }
};

inline void PrintTo(const BarId& bar, std::ostream* out) { *out << bar.window << " Image" << bar.number; }

// Every bar of every window, in window and Image-number order, as the window definitions give them (not as
// the windows' own tables do, so that a bar missing from a table is seen as a failing test, not a skipped one).
inline std::vector<BarId> everyBar()
{
    std::vector<BarId> bars;
    for (const DefinedBar& bar : kDefinedBars)
        bars.push_back({bar.window, bar.number});
    return bars;
}

inline const splitter::Bar& barOf(const forms::PaneWindow& window, int number)
{
    return window.bars()[static_cast<std::size_t>(number - 1)];
}

// A program of its own with all four windows open and its error reports going to `errors`, for setting
// one way of doing a thing against another.
struct OpenProgram {
    explicit OpenProgram(std::vector<std::string>& errors)
    {
        host.runtime().setErrorOutput([&errors](const std::string& line) { errors.push_back(line); });
        openEveryWindow(program);
    }
    rt::Runtime& runtime() { return host.runtime(); }
    forms::PaneWindow& window(const BarId& id) { return openWindow(program, id.window); }

    rt::MemoryHost host;
    app::Program program{host.runtime()};
};

// A whole mouse drag of a bar through the runtime: a press in its visible strip, one move that makes
// `position` the candidate, and the release there.
inline void dragBar(rt::Runtime& runtime, forms::PaneWindow& window, const splitter::Bar& bar, double position)
{
    double ox = 0, oy = 0;
    window.originOf(*bar.control, ox, oy);
    double x = ox + (bar.vertical() ? 20 : 200), y = oy + (bar.vertical() ? bar.control->Height() / 2 : 20);
    runtime.mouse(window, rt::MouseEvent::Down, rt::kLeftButton, 0, x, y);
    (bar.vertical() ? x : y) = (bar.vertical() ? ox : oy) + position - bar.position();
    runtime.mouse(window, rt::MouseEvent::Move, rt::kLeftButton, 0, x, y);
    runtime.mouse(window, rt::MouseEvent::Up, rt::kLeftButton, 0, x, y);
}

}  // namespace testing_support
