#include "app/program.h"

namespace app {

std::size_t windowIndex(std::string_view name)
{
    std::size_t i = 0;
    while (i < kWindowCount && kWindows[i].name != name)
        ++i;
    return i;
}

std::string windowChoices()
{
    std::string text;
    for (std::size_t i = 0; i < kWindowCount; ++i)
        text += std::string(i == 0 ? "" : i + 1 == kWindowCount ? " or " : ", ") + std::string(kWindows[i].name);
    return text;
}

Program::Program(rt::Runtime& runtime) : runtime_(runtime)
{
    windows_[0] = kWindows[0].create(runtime_, *this);
}

void Program::start() { windows_[0]->Show(); }

forms::PaneWindow& Program::open(std::size_t index)
{
    std::unique_ptr<forms::PaneWindow>& instance = windows_.at(index);
    if (!instance)
        instance = kWindows[index].create(runtime_, *this);
    instance->Show();
    return *instance;
}

forms::PaneWindow* Program::open(std::string_view name)
{
    const std::size_t index = windowIndex(name);
    return index < kWindowCount ? &open(index) : nullptr;
}

forms::SplitterForm& Program::splitterForm() { return static_cast<forms::SplitterForm&>(*windows_[0]); }

std::array<forms::PaneWindow*, kWindowCount> Program::windows() const
{
    std::array<forms::PaneWindow*, kWindowCount> all{};
    for (std::size_t i = 0; i < kWindowCount; ++i)
        all[i] = windows_[i].get();
    return all;
}

void Program::SanbunMenu_Click() { open("Splitter3"); }
void Program::YonbunMenu_Click() { open("Splitter4"); }
void Program::RokuBunMenu_Click() { open("Splitter5"); }

}  // namespace app
