#include "forms/splitter_form.h"

#include "forms/definitions.h"
#include "splitter/split_layout.h"

namespace forms {

SplitterForm::SplitterForm(rt::Runtime& runtime, MenuCommands& commands)
    : PaneWindow(runtime, kSplitterFormDefinition,
                 {{&Picture1, "Picture1"}, {&Picture2, "Picture2"}, {&Picture3, "Picture3"}, {&Image1, "Image1"}}),
      commands_(commands)
{
}

void SplitterForm::Form_Resize()
{
    rt::OnErrorResumeNext onError;
    splitter::enforceMinimumWidth(*this);
    LayoutForImage1(Image1->Left());
}

void SplitterForm::LayoutForImage1(rt::Single p)
{
    splitter::layOutVerticalSplit({*Picture2, *Image1, *Picture3, splitter::ReferenceArea::clientOf(*this)}, p);
}

void SplitterForm::Image1_MouseDown(int, int, rt::Single, rt::Single) { splitter::barMouseDown(bar(1)); }
void SplitterForm::Image1_MouseMove(int b, int s, rt::Single x, rt::Single y) { splitter::barMouseMove(bar(1), {b, s, x, y}); }
void SplitterForm::Image1_MouseUp(int, int, rt::Single, rt::Single) { splitter::barMouseUp(bar(1)); }

PaneWindow::BarHooks SplitterForm::barHooks(int)
{
    return {DraggingImage1, &layoutThunk<SplitterForm, &SplitterForm::LayoutForImage1>};
}

void SplitterForm::dispatchMouse(const rt::Control& control, rt::MouseEvent event, const rt::MouseArgs& args)
{
    static constexpr MouseHandlers<SplitterForm> kHandlers[] = {
        {"Image1", &SplitterForm::Image1_MouseDown, &SplitterForm::Image1_MouseMove, &SplitterForm::Image1_MouseUp},
    };
    dispatchTo<SplitterForm>(*this, kHandlers, control, event, args);
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

}  // namespace forms
