// The program: its identity, the main window, and the one instance reference per secondary
// window class, created on first use and kept for the whole run.
#pragma once

#include <array>
#include <memory>
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
    // Every window instance in class order (SplitterForm, Splitter3, Splitter4, Splitter5); null where
    // the class has none yet.
    std::array<forms::PaneWindow*, 4> windows();

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
