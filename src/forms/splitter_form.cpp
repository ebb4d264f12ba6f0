#include "forms/splitter_form.h"

#include "forms/definitions.h"
#include "splitter/split_layout.h"

namespace forms {

using S = SplitterForm;
constexpr auto LR = splitter::BarDirection::LeftRight;

void SplitterForm::LayoutForImage1(rt::Single p)
{
    splitter::layOutVerticalSplit({*Picture2, *Image1, *Picture3, splitter::ReferenceArea::clientOf(*this)}, p);
}

void SplitterForm::dispatchClick(const rt::MenuEntry& entry)
{
    if (entry.name == "SanbunMenu")
        commands_.SanbunMenu_Click();
    else if (entry.name == "YonbunMenu")
        commands_.YonbunMenu_Click();
    else if (entry.name == "RokuBunMenu")
        commands_.RokuBunMenu_Click();
}

std::string SplitterForm::describeMenuEntry(const rt::MenuEntry& entry) const
{
    if (entry.name == "SanbunMenu")
        return "Opens the window with three panes";
    if (entry.name == "YonbunMenu")
        return "Opens the window with four panes";
    if (entry.name == "RokuBunMenu")
        return "Opens the window with five panes";
    return {};
}

// Every bar of the window, in Image-number order.
const BarRow<S> S::kBarRows[] = {
    {&S::Image1, &S::Picture1, nullptr, nullptr, &S::Picture2, &S::Picture3, &S::DraggingImage1, &S::LayoutForImage1, LR},
};

SplitterForm::SplitterForm(rt::Runtime& runtime, MenuCommands& commands)
    : PaneWindow(runtime, kSplitterFormDefinition), commands_(commands)
{
    describeBars(*this, kBarRows);
}

}  // namespace forms
