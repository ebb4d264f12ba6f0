// The program: its identity, its windows, the main window, and the one instance per secondary window
// class, created on first use and kept for the whole run.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "app/version.h"
#include "forms/definitions.h"
#include "forms/splitter3.h"
#include "forms/splitter4.h"
#include "forms/splitter5.h"
#include "forms/splitter_form.h"
#include "runtime/program_identity.h"
#include "runtime/runtime.h"

namespace app {

// The program as the desktop knows it.
inline constexpr rt::ProgramIdentity kIdentity = {"splitter", kVersion, &forms::kProgramIcon, kDesktopEntry};

// A window class of the program: its name and how an instance is made.
struct WindowClass {
    std::string_view name;
    std::unique_ptr<forms::PaneWindow> (*create)(rt::Runtime&, forms::MenuCommands&);
};

template <class Window>
std::unique_ptr<forms::PaneWindow> createWindow(rt::Runtime& runtime, [[maybe_unused]] forms::MenuCommands& commands)
{
    if constexpr (std::is_constructible_v<Window, rt::Runtime&, forms::MenuCommands&>)
        return std::make_unique<Window>(runtime, commands);
    else
        return std::make_unique<Window>(runtime);
}

// Every window of the program: the main window first, then those its menu opens, in menu order. This is
// the one list of them; everything that goes over the windows or opens one by name reads it.
inline constexpr auto kWindows = std::to_array<WindowClass>({
    {"SplitterForm", createWindow<forms::SplitterForm>},
    {"Splitter3", createWindow<forms::Splitter3>},
    {"Splitter4", createWindow<forms::Splitter4>},
    {"Splitter5", createWindow<forms::Splitter5>},
});
inline constexpr std::size_t kWindowCount = kWindows.size();

// The window's place in kWindows, or kWindowCount for a name the program has no window of.
std::size_t windowIndex(std::string_view name);
// The windows' names as a choice reads: "A, B, C or D".
std::string windowChoices();

class Program final : public forms::MenuCommands {
public:
    explicit Program(rt::Runtime& runtime);

    // Shows the start-up window.
    void start();
    // Opens the window at `index` in kWindows and returns it: the main window as start() does, any other
    // created on first use, then the same instance shown modeless, unowned.
    forms::PaneWindow& open(std::size_t index);
    // The same by name; null, and nothing opened, for a name the program has no window of.
    forms::PaneWindow* open(std::string_view name);

    // Each opens its window.
    void SanbunMenu_Click() override;
    void YonbunMenu_Click() override;
    void RokuBunMenu_Click() override;

    forms::SplitterForm& splitterForm();
    rt::Runtime& runtime() const { return runtime_; }
    // The window at `index` in kWindows, or null where it has no instance yet.
    forms::PaneWindow* window(std::size_t index) const { return windows_[index].get(); }
    // Every window instance in kWindows order; null where the class has none yet.
    std::array<forms::PaneWindow*, kWindowCount> windows() const;
    // The instance of a window class, or null where it has none yet.
    template <class Window>
    Window* instance() const
    {
        for (const auto& w : windows_)
            if (auto* found = dynamic_cast<Window*>(w.get()))
                return found;
        return nullptr;
    }

private:
    rt::Runtime& runtime_;
    std::array<std::unique_ptr<forms::PaneWindow>, kWindowCount> windows_;
};

}  // namespace app
