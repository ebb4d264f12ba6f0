#include "splitter/split_layout.h"

namespace splitter {

void layOutVerticalSplit(const VerticalSplit& s, rt::Single x)
{
    rt::OnErrorResumeNext onError;
    s.left.setLeft(0);
    s.left.setTop(0);
    s.right.setTop(0);
    s.bar.setTop(0);
    s.left.setHeight(s.area.height());
    s.right.setHeight(s.area.height());
    s.bar.setHeight(s.area.height());
    s.left.setWidth(x);
    s.bar.setLeft(x);
    s.right.setLeft(rt::Number(x) + kGap);
    s.right.setWidth(rt::Number(s.area.width()) - s.left.Width() - kGap);
}

void layOutHorizontalSplit(const HorizontalSplit& s, rt::Single y)
{
    rt::OnErrorResumeNext onError;
    s.bar.setHeight(kHorizontalBarThickness);
    s.upper.setLeft(0);
    s.lower.setLeft(0);
    s.bar.setLeft(0);
    s.indicator.setLeft(0);
    s.upper.setWidth(s.area.width());
    s.lower.setWidth(s.area.width());
    s.bar.setWidth(s.area.width());
    s.indicator.setWidth(s.area.width());
    s.upper.setTop(0);
    s.upper.setHeight(y);
    s.bar.setTop(y);
    s.lower.setTop(rt::Number(s.upper.Height()) + kGap);
    s.lower.setHeight(rt::Number(s.area.height()) - kGap - s.upper.Height());
}

void enforceMinimumWidth(rt::Form& form)
{
    rt::OnErrorResumeNext onError;
    if (form.Width() < kMinimumOuterWidth)
        form.setWidth(kMinimumOuterWidth);
}

}  // namespace splitter
