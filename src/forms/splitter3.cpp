#include "forms/splitter3.h"

#include "forms/definitions.h"
#include "splitter/split_layout.h"

namespace forms {

using splitter::ReferenceArea;

Splitter3::Splitter3(rt::Runtime& runtime)
    : PaneWindow(runtime, kSplitter3Definition,
                 {{&Picture1, "Picture1"}, {&Picture2, "Picture2"}, {&Picture3, "Picture3"}, {&Picture4, "Picture4"},
                  {&Picture5, "Picture5"}, {&Picture6, "Picture6"}, {&Image1, "Image1"}, {&Image2, "Image2"}})
{
}

void Splitter3::Form_Resize()
{
    rt::OnErrorResumeNext onError;
    splitter::enforceMinimumWidth(*this);
    LayoutForImage1(Image1->Left());
    LayoutForImage2(Image2->Top());
}

void Splitter3::LayoutForImage1(rt::Single p1)
{
    rt::OnErrorResumeNext onError;
    splitter::layOutVerticalSplit({*Picture2, *Image1, *Picture3, ReferenceArea::clientOf(*this)}, p1);
    LayoutForImage2(Image2->Top());
}

void Splitter3::LayoutForImage2(rt::Single p2)
{
    splitter::layOutHorizontalSplit({*Picture5, *Image2, *Picture6, *Picture4, ReferenceArea::outerOf(*Picture2)}, p2);
}

void Splitter3::Image1_MouseDown(int, int, rt::Single, rt::Single) { splitter::barMouseDown(bar(1)); }
void Splitter3::Image1_MouseMove(int b, int s, rt::Single x, rt::Single y) { splitter::barMouseMove(bar(1), {b, s, x, y}); }
void Splitter3::Image1_MouseUp(int, int, rt::Single, rt::Single) { splitter::barMouseUp(bar(1)); }
void Splitter3::Image2_MouseDown(int, int, rt::Single, rt::Single) { splitter::barMouseDown(bar(2)); }
void Splitter3::Image2_MouseMove(int b, int s, rt::Single x, rt::Single y) { splitter::barMouseMove(bar(2), {b, s, x, y}); }
void Splitter3::Image2_MouseUp(int, int, rt::Single, rt::Single) { splitter::barMouseUp(bar(2)); }

PaneWindow::BarHooks Splitter3::barHooks(int number)
{
    if (number == 1)
        return {DraggingImage1, &layoutThunk<Splitter3, &Splitter3::LayoutForImage1>};
    return {DraggingImage2, &layoutThunk<Splitter3, &Splitter3::LayoutForImage2>};
}

void Splitter3::dispatchMouse(const rt::Control& control, rt::MouseEvent event, const rt::MouseArgs& args)
{
    using S = Splitter3;
    static constexpr MouseHandlers<S> kHandlers[] = {
        {"Image1", &S::Image1_MouseDown, &S::Image1_MouseMove, &S::Image1_MouseUp},
        {"Image2", &S::Image2_MouseDown, &S::Image2_MouseMove, &S::Image2_MouseUp},
    };
    dispatchTo<S>(*this, kHandlers, control, event, args);
}

}  // namespace forms
