#include "forms/splitter5.h"

#include "forms/definitions.h"
#include "splitter/split_layout.h"

namespace forms {

using S = Splitter5;
constexpr auto LR = splitter::BarDirection::LeftRight;
constexpr auto UD = splitter::BarDirection::UpDown;
using splitter::ReferenceArea;

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

// Every bar of the window, in Image-number order.
const BarRow<S> S::kBarRows[] = {
    {&S::Image1, &S::Picture1, nullptr, nullptr, &S::Picture2, &S::Picture3, &S::DraggingImage1, &S::LayoutForImage1, LR},
    {&S::Image2, &S::Picture4, &S::Picture2, nullptr, &S::Picture5, &S::Picture6, &S::DraggingImage2, &S::LayoutForImage2, UD},
    {&S::Image3, &S::Picture7, &S::Picture3, nullptr, &S::Picture8, &S::Picture9, &S::DraggingImage3, &S::LayoutForImage3, UD},
    // Image4's drag is limited by the outer width of its container, not by the window.
    {&S::Image4, &S::Picture10, &S::Picture5, &S::Picture5, &S::Picture11, &S::Picture12, &S::DraggingImage4, &S::LayoutForImage4, LR},
};

Splitter5::Splitter5(rt::Runtime& runtime) : PaneWindow(runtime, kSplitter5Definition) { describeBars(*this, kBarRows); }

}  // namespace forms
