// The program: its project description, the main window, and the one instance reference per secondary
// window class, created on first use and kept for the whole run.
#pragma once

#include <memory>
#include <string_view>

#include "forms/splitter3.h"
#include "forms/splitter4.h"
#include "forms/splitter5.h"
#include "forms/splitter_form.h"
#include "runtime/runtime.h"

namespace app {

struct ProjectDescription {
    std::string_view name;
    std::string_view windowClasses[4];  // the first is the start-up window
    unsigned locale;                    // user-interface locale
    std::string_view version;
};

inline constexpr ProjectDescription kProject = {
    "Project1", {"SplitterForm", "Splitter3", "Splitter4", "Splitter5"}, 0x0411, "1.00"};

class Program final : public forms::MenuCommands {
public:
    explicit Program(rt::Runtime& runtime);

    // Shows the start-up window.
    void start();

    // Each opens its window: created on first use, then the same instance shown modeless, unowned.
    void SanbunMenu_Click() override;
    void YonbunMenu_Click() override;
    void RokuBunMenu_Click() override;

    forms::SplitterForm& splitterForm() { return splitterForm_; }
    forms::Splitter3* splitter3() const { return splitter3_.get(); }
    forms::Splitter4* splitter4() const { return splitter4_.get(); }
    forms::Splitter5* splitter5() const { return splitter5_.get(); }

private:
    template <class Window>
    void open(std::unique_ptr<Window>& instance);

    rt::Runtime& runtime_;
    forms::SplitterForm splitterForm_;
    std::unique_ptr<forms::Splitter3> splitter3_;
    std::unique_ptr<forms::Splitter4> splitter4_;
    std::unique_ptr<forms::Splitter5> splitter5_;
};

}  // namespace app
