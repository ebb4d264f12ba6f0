#include "app/program.h"

namespace app {

Program::Program(rt::Runtime& runtime) : runtime_(runtime), splitterForm_(runtime, *this) {}

void Program::start() { splitterForm_.Show(); }

template <class Window>
void Program::open(std::unique_ptr<Window>& instance)
{
    if (!instance)
        instance = std::make_unique<Window>(runtime_);
    instance->Show();
}

std::array<forms::PaneWindow*, 4> Program::windows()
{
    return {&splitterForm_, splitter3_.get(), splitter4_.get(), splitter5_.get()};
}

void Program::SanbunMenu_Click() { open(splitter3_); }
void Program::YonbunMenu_Click() { open(splitter4_); }
void Program::RokuBunMenu_Click() { open(splitter5_); }

}  // namespace app
