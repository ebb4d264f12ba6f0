#include <gtest/gtest.h>

#include <set>

#include "support/every_bar.h"
#include "support/window_fixture.h"

namespace {

using testing_support::WindowTest;

// Every bar checked against its live window: where it lies, its indicator, the indicator's size at a
// press, what the upper limit is measured against, and which layout its release runs.
class TenBars : public WindowTest {
protected:
    void SetUp() override { testing_support::openEveryWindow(program); }

    template <class Check>
    void forEachBar(Check check)
    {
        for (forms::PaneWindow* form : program.windows())
            for (const splitter::Bar& bar : form->bars()) {
                SCOPED_TRACE(std::string(form->name()) + " " + std::string(bar.control.name()));
                check(*form, bar);
            }
    }
};

TEST_F(TenBars, DescriptionsMatchTheWindowsBars)
{
    // Window, bar, the container it lies in, its indicator, and whether it moves left and right.
    const std::set<std::tuple<std::string, std::string, std::string, std::string, bool>> expected = {
        {"SplitterForm", "Image1", "", "Picture1", true}, {"Splitter3", "Image1", "", "Picture1", true},
        {"Splitter3", "Image2", "Picture2", "Picture4", false}, {"Splitter4", "Image1", "", "Picture1", true},
        {"Splitter4", "Image2", "Picture2", "Picture4", false}, {"Splitter4", "Image3", "Picture3", "Picture7", false},
        {"Splitter5", "Image1", "", "Picture1", true}, {"Splitter5", "Image2", "Picture2", "Picture4", false},
        {"Splitter5", "Image3", "Picture3", "Picture7", false}, {"Splitter5", "Image4", "Picture5", "Picture10", true},
    };
    std::set<std::tuple<std::string, std::string, std::string, std::string, bool>> described;
    forEachBar([&](forms::PaneWindow& form, const splitter::Bar& bar) {
        described.insert({std::string(form.name()), std::string(bar.control.name()),
                          bar.container ? std::string(bar.container->name()) : "", std::string(bar.indicator.name()),
                          bar.vertical()});
        EXPECT_EQ(bar.control->pointer(), bar.vertical() ? rt::MousePointer::SizeWestEast : rt::MousePointer::SizeNorthSouth);
    });
    EXPECT_EQ(described, expected);
}

TEST_F(TenBars, PressLaysTheIndicatorOverTheBarHalvedForVerticalBars)
{
    forEachBar([&](forms::PaneWindow& form, const splitter::Bar& entry) {
        const std::string barName(entry.control.name());
        const rt::Control& bar = *entry.control;
        press(form, barName.c_str());
        const rt::Control& indicator = *entry.indicator;
        EXPECT_TRUE(indicator.Visible());
        const float width = entry.vertical() ? bar.Width() / 2 : bar.Width();
        EXPECT_EQ(indicator.bounds(), (rt::Rect{bar.Left(), bar.Top(), width, bar.Height()}));
        release(form);
        EXPECT_FALSE(indicator.Visible());
    });
    EXPECT_EQ(program.splitterForm().control("Picture1").Width(), 67.5f);
    EXPECT_EQ(program.splitter5()->control("Picture1").Width(), 97.5f);
}

TEST_F(TenBars, UpperLimitIsMeasuredAgainstTheWindowOrPicture5)
{
    forEachBar([&](forms::PaneWindow& form, const splitter::Bar& entry) {
        const std::string barName(entry.control.name());
        const bool vertical = entry.vertical();
        float size = vertical ? form.ScaleWidth() : form.ScaleHeight();
        if (entry.limit) {
            EXPECT_EQ(entry.limit->name(), "Picture5");
            size = (*entry.limit)->Width();  // outer width, border included
        }
        const float original = entry.position();
        press(form, barName.c_str());
        moveTo(form, barName.c_str(), 1e6);
        EXPECT_EQ(entry.indicatorPosition(), size - 100);
        moveTo(form, barName.c_str(), -1e6);
        EXPECT_EQ(entry.indicatorPosition(), 100);
        release(form);
        EXPECT_EQ(entry.position(), 100);
        drag(form, barName.c_str(), original);  // later bars may lie inside this one's container
    });
}

TEST_F(TenBars, DraggingOneBarLeavesEveryOtherBarsFlagAndIndicatorAlone)
{
    forms::Splitter5& s5 = *program.splitter5();
    const rt::Rect p1 = s5.control("Picture1").bounds(), p4t = {0, 120, 0, 255};
    press(s5, "Image4");
    moveTo(s5, "Image4", 2500);
    EXPECT_TRUE(s5.dragging(4));
    EXPECT_FALSE(s5.dragging(1) || s5.dragging(2) || s5.dragging(3));
    release(s5);
    EXPECT_EQ(s5.control("Picture1").bounds(), p1);
    EXPECT_FALSE(s5.control("Picture1").Visible() || s5.control("Picture4").Visible() ||
                 s5.control("Picture7").Visible());
    EXPECT_EQ(s5.control("Picture4").Top(), p4t.top);
    EXPECT_EQ(s5.control("Picture7").Top(), 180);
    // Another window's bar with the same name is untouched too.
    EXPECT_FALSE(program.splitter4()->dragging(1));
    EXPECT_EQ(program.splitter4()->control("Image1").Left(), 3360);
}

TEST_F(TenBars, HorizontalBarDragsTo100AboveTheWindowsBottomFromItsContainersTop)
{
    forms::Splitter4& s4 = *program.splitter4();
    drag(s4, "Image3", 99999);
    EXPECT_EQ(s4.control("Image3").Top(), 6360 - 100);
}

}  // namespace
