#include "forms/splitter4.h"

#include "forms/definitions.h"
#include "splitter/split_layout.h"

namespace forms {

using S = Splitter4;
constexpr auto LR = splitter::BarDirection::LeftRight;
constexpr auto UD = splitter::BarDirection::UpDown;
using splitter::ReferenceArea;

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

// Every bar of the window, in Image-number order.
const BarRow<S> S::kBarRows[] = {
    {&S::Image1, &S::Picture1, nullptr, nullptr, &S::Picture2, &S::Picture3, &S::DraggingImage1, &S::LayoutForImage1, LR},
    {&S::Image2, &S::Picture4, &S::Picture2, nullptr, &S::Picture5, &S::Picture6, &S::DraggingImage2, &S::LayoutForImage2, UD},
    {&S::Image3, &S::Picture7, &S::Picture3, nullptr, &S::Picture8, &S::Picture9, &S::DraggingImage3, &S::LayoutForImage3, UD},
};

Splitter4::Splitter4(rt::Runtime& runtime) : PaneWindow(runtime, kSplitter4Definition) { describeBars(*this, kBarRows); }

}  // namespace forms
