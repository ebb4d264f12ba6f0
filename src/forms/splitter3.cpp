#include "forms/splitter3.h"

#include "forms/definitions.h"
#include "splitter/split_layout.h"

namespace forms {

using S = Splitter3;
constexpr auto LR = splitter::BarDirection::LeftRight;
constexpr auto UD = splitter::BarDirection::UpDown;
using splitter::ReferenceArea;

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

// Every bar of the window, in Image-number order.
const BarRow<S> S::kBarRows[] = {
    {&S::Image1, &S::Picture1, nullptr, nullptr, &S::Picture2, &S::Picture3, &S::DraggingImage1, &S::LayoutForImage1, LR},
    {&S::Image2, &S::Picture4, &S::Picture2, nullptr, &S::Picture5, &S::Picture6, &S::DraggingImage2, &S::LayoutForImage2, UD},
};

Splitter3::Splitter3(rt::Runtime& runtime) : PaneWindow(runtime, kSplitter3Definition) { describeBars(*this, kBarRows); }

}  // namespace forms
