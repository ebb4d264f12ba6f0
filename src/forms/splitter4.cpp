#include "forms/splitter4.h"

#include "forms/definitions.h"
#include "splitter/split_layout.h"

namespace forms {

using splitter::ReferenceArea;

Splitter4::Splitter4(rt::Runtime& runtime)
    : PaneWindow(runtime, kSplitter4Definition,
                 {{&Picture1, "Picture1"}, {&Picture2, "Picture2"}, {&Picture3, "Picture3"}, {&Picture4, "Picture4"},
                  {&Picture5, "Picture5"}, {&Picture6, "Picture6"}, {&Picture7, "Picture7"}, {&Picture8, "Picture8"},
                  {&Picture9, "Picture9"}, {&Image1, "Image1"}, {&Image2, "Image2"}, {&Image3, "Image3"}})
{
}

void Splitter4::Form_Resize()
{
    rt::OnErrorResumeNext onError;
    splitter::enforceMinimumWidth(*this);
    LayoutForImage1(Image1->Left());
    LayoutForImage2(Image2->Top());
    LayoutForImage3(Image3->Top());
}

void Splitter4::LayoutForImage1(rt::Single position)
{
    rt::OnErrorResumeNext onError;
    splitter::layOutVerticalSplit({*Picture2, *Image1, *Picture3, ReferenceArea::clientOf(*this)}, position);
    LayoutForImage2(Image2->Top());
    LayoutForImage3(Image3->Top());
}

void Splitter4::LayoutForImage2(rt::Single position)
{
    splitter::layOutHorizontalSplit({*Picture5, *Image2, *Picture6, *Picture4, ReferenceArea::outerOf(*Picture2)},
                                    position);
}

void Splitter4::LayoutForImage3(rt::Single position)
{
    splitter::layOutHorizontalSplit({*Picture8, *Image3, *Picture9, *Picture7, ReferenceArea::outerOf(*Picture3)},
                                    position);
}

void Splitter4::Image1_MouseDown(int, int, rt::Single, rt::Single) { splitter::barMouseDown(bar(1)); }
void Splitter4::Image1_MouseMove(int b, int s, rt::Single x, rt::Single y) { splitter::barMouseMove(bar(1), {b, s, x, y}); }
void Splitter4::Image1_MouseUp(int, int, rt::Single, rt::Single) { splitter::barMouseUp(bar(1)); }
void Splitter4::Image2_MouseDown(int, int, rt::Single, rt::Single) { splitter::barMouseDown(bar(2)); }
void Splitter4::Image2_MouseMove(int b, int s, rt::Single x, rt::Single y) { splitter::barMouseMove(bar(2), {b, s, x, y}); }
void Splitter4::Image2_MouseUp(int, int, rt::Single, rt::Single) { splitter::barMouseUp(bar(2)); }
void Splitter4::Image3_MouseDown(int, int, rt::Single, rt::Single) { splitter::barMouseDown(bar(3)); }
void Splitter4::Image3_MouseMove(int b, int s, rt::Single x, rt::Single y) { splitter::barMouseMove(bar(3), {b, s, x, y}); }
void Splitter4::Image3_MouseUp(int, int, rt::Single, rt::Single) { splitter::barMouseUp(bar(3)); }

PaneWindow::BarHooks Splitter4::barHooks(int number)
{
    switch (number) {
    case 1: return {DraggingImage1, &layoutThunk<Splitter4, &Splitter4::LayoutForImage1>};
    case 2: return {DraggingImage2, &layoutThunk<Splitter4, &Splitter4::LayoutForImage2>};
    default: return {DraggingImage3, &layoutThunk<Splitter4, &Splitter4::LayoutForImage3>};
    }
}

void Splitter4::dispatchMouse(const rt::Control& control, rt::MouseEvent event, const rt::MouseArgs& args)
{
    using S = Splitter4;
    static constexpr MouseHandlers<S> kHandlers[] = {
        {"Image1", &S::Image1_MouseDown, &S::Image1_MouseMove, &S::Image1_MouseUp},
        {"Image2", &S::Image2_MouseDown, &S::Image2_MouseMove, &S::Image2_MouseUp},
        {"Image3", &S::Image3_MouseDown, &S::Image3_MouseMove, &S::Image3_MouseUp},
    };
    dispatchTo<S>(*this, kHandlers, control, event, args);
}

}  // namespace forms
