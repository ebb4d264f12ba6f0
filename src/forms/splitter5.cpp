#include "forms/splitter5.h"

#include "forms/definitions.h"
#include "splitter/split_layout.h"

namespace forms {

using splitter::ReferenceArea;

Splitter5::Splitter5(rt::Runtime& runtime)
    : PaneWindow(runtime, kSplitter5Definition,
                 {{&Picture1, "Picture1"},   {&Picture2, "Picture2"},   {&Picture3, "Picture3"},
                  {&Picture4, "Picture4"},   {&Picture5, "Picture5"},   {&Picture6, "Picture6"},
                  {&Picture7, "Picture7"},   {&Picture8, "Picture8"},   {&Picture9, "Picture9"},
                  {&Picture10, "Picture10"}, {&Picture11, "Picture11"}, {&Picture12, "Picture12"},
                  {&Image1, "Image1"},       {&Image2, "Image2"},       {&Image3, "Image3"},
                  {&Image4, "Image4"}})
{
}

void Splitter5::Form_Resize()
{
    rt::OnErrorResumeNext onError;
    splitter::enforceMinimumWidth(*this);
    LayoutForImage1(Image1->Left());
    LayoutForImage2(Image2->Top());
    LayoutForImage3(Image3->Top());
    LayoutForImage4(Image4->Left());
}

// Resizes both containers, then lays out every split inside them again at its unchanged position.
void Splitter5::LayoutForImage1(rt::Single x)
{
    rt::OnErrorResumeNext onError;
    splitter::layOutVerticalSplit({*Picture2, *Image1, *Picture3, ReferenceArea::clientOf(*this)}, x);
    LayoutForImage2(Image2->Top());
    LayoutForImage3(Image3->Top());
    LayoutForImage4(Image4->Left());
}

// Resizes the upper-left container, then lays out its own split again.
void Splitter5::LayoutForImage2(rt::Single y)
{
    rt::OnErrorResumeNext onError;
    splitter::layOutHorizontalSplit({*Picture5, *Image2, *Picture6, *Picture4, ReferenceArea::outerOf(*Picture2)}, y);
    LayoutForImage4(Image4->Left());
}

void Splitter5::LayoutForImage3(rt::Single y)
{
    splitter::layOutHorizontalSplit({*Picture8, *Image3, *Picture9, *Picture7, ReferenceArea::outerOf(*Picture3)}, y);
}

void Splitter5::LayoutForImage4(rt::Single x)
{
    splitter::layOutVerticalSplit({*Picture11, *Image4, *Picture12, ReferenceArea::outerOf(*Picture5)}, x);
}

void Splitter5::Image1_MouseDown(int, int, rt::Single, rt::Single) { splitter::barMouseDown(bar(1)); }
void Splitter5::Image1_MouseMove(int b, int s, rt::Single x, rt::Single y) { splitter::barMouseMove(bar(1), {b, s, x, y}); }
void Splitter5::Image1_MouseUp(int, int, rt::Single, rt::Single) { splitter::barMouseUp(bar(1)); }
void Splitter5::Image2_MouseDown(int, int, rt::Single, rt::Single) { splitter::barMouseDown(bar(2)); }
void Splitter5::Image2_MouseMove(int b, int s, rt::Single x, rt::Single y) { splitter::barMouseMove(bar(2), {b, s, x, y}); }
void Splitter5::Image2_MouseUp(int, int, rt::Single, rt::Single) { splitter::barMouseUp(bar(2)); }
void Splitter5::Image3_MouseDown(int, int, rt::Single, rt::Single) { splitter::barMouseDown(bar(3)); }
void Splitter5::Image3_MouseMove(int b, int s, rt::Single x, rt::Single y) { splitter::barMouseMove(bar(3), {b, s, x, y}); }
void Splitter5::Image3_MouseUp(int, int, rt::Single, rt::Single) { splitter::barMouseUp(bar(3)); }
void Splitter5::Image4_MouseDown(int, int, rt::Single, rt::Single) { splitter::barMouseDown(bar(4)); }
void Splitter5::Image4_MouseMove(int b, int s, rt::Single x, rt::Single y) { splitter::barMouseMove(bar(4), {b, s, x, y}); }
void Splitter5::Image4_MouseUp(int, int, rt::Single, rt::Single) { splitter::barMouseUp(bar(4)); }

PaneWindow::BarHooks Splitter5::barHooks(int number)
{
    switch (number) {
    case 1: return {DraggingImage1, &layoutThunk<Splitter5, &Splitter5::LayoutForImage1>};
    case 2: return {DraggingImage2, &layoutThunk<Splitter5, &Splitter5::LayoutForImage2>};
    case 3: return {DraggingImage3, &layoutThunk<Splitter5, &Splitter5::LayoutForImage3>};
    default: return {DraggingImage4, &layoutThunk<Splitter5, &Splitter5::LayoutForImage4>};
    }
}

void Splitter5::dispatchMouse(const rt::Control& control, rt::MouseEvent event, const rt::MouseArgs& args)
{
    using S = Splitter5;
    static constexpr MouseHandlers<S> kHandlers[] = {
        {"Image1", &S::Image1_MouseDown, &S::Image1_MouseMove, &S::Image1_MouseUp},
        {"Image2", &S::Image2_MouseDown, &S::Image2_MouseMove, &S::Image2_MouseUp},
        {"Image3", &S::Image3_MouseDown, &S::Image3_MouseMove, &S::Image3_MouseUp},
        {"Image4", &S::Image4_MouseDown, &S::Image4_MouseMove, &S::Image4_MouseUp},
    };
    dispatchTo<S>(*this, kHandlers, control, event, args);
}

}  // namespace forms
