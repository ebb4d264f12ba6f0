#include <gtest/gtest.h>

#include <set>

#include "splitter/bar_table.h"
#include "support/window_fixture.h"

namespace {

using splitter::BarDirection;
using testing_support::WindowTest;

// Every bar checked against its live window: where it lies, its indicator, the indicator's size at a
// press, what the upper limit is measured against, and which layout its release runs.
class TenBars : public WindowTest {
protected:
    void SetUp() override
    {
        program.start();
        program.SanbunMenu_Click();
        program.YonbunMenu_Click();
        program.RokuBunMenu_Click();
    }

    rt::Form& window(std::string_view name)
    {
        if (name == "Splitter3") return *program.splitter3();
        if (name == "Splitter4") return *program.splitter4();
        if (name == "Splitter5") return *program.splitter5();
        return program.splitterForm();
    }
};

TEST_F(TenBars, TableMatchesTheWindows)
{
    ASSERT_EQ(splitter::kBars.size(), 10u);
    std::set<std::pair<std::string_view, int>> seen;
    for (const splitter::BarEntry& entry : splitter::kBars) {
        SCOPED_TRACE(std::string(entry.window) + " Image" + std::to_string(entry.number));
        EXPECT_TRUE(seen.insert({entry.window, entry.number}).second);
        rt::Form& form = window(entry.window);
        const rt::Control& bar = form.control("Image" + std::to_string(entry.number));
        const rt::Control& indicator = form.control(entry.indicator);
        const std::string_view container = bar.parent() ? std::string_view(bar.parent()->name()) : "";
        EXPECT_EQ(container, entry.container);
        EXPECT_EQ(indicator.parent(), bar.parent());
        EXPECT_EQ(bar.pointer(), entry.direction == BarDirection::LeftRight ? rt::MousePointer::SizeWestEast
                                                                            : rt::MousePointer::SizeNorthSouth);
    }
}

TEST_F(TenBars, PressLaysTheIndicatorOverTheBarHalvedForVerticalBars)
{
    for (const splitter::BarEntry& entry : splitter::kBars) {
        SCOPED_TRACE(std::string(entry.window) + " Image" + std::to_string(entry.number));
        rt::Form& form = window(entry.window);
        const std::string barName = "Image" + std::to_string(entry.number);
        const rt::Control& bar = form.control(barName);
        press(form, barName.c_str());
        const rt::Control& indicator = form.control(entry.indicator);
        EXPECT_TRUE(indicator.Visible());
        const float width = entry.direction == BarDirection::LeftRight ? bar.Width() / 2 : bar.Width();
        EXPECT_EQ(indicator.bounds(), (rt::Rect{bar.Left(), bar.Top(), width, bar.Height()}));
        release(form);
        EXPECT_FALSE(indicator.Visible());
    }
    EXPECT_EQ(program.splitterForm().control("Picture1").Width(), 67.5f);
    EXPECT_EQ(program.splitter5()->control("Picture1").Width(), 97.5f);
}

TEST_F(TenBars, UpperLimitIsMeasuredAgainstTheWindowOrPicture5)
{
    for (const splitter::BarEntry& entry : splitter::kBars) {
        SCOPED_TRACE(std::string(entry.window) + " Image" + std::to_string(entry.number));
        rt::Form& form = window(entry.window);
        const std::string barName = "Image" + std::to_string(entry.number);
        const bool vertical = entry.direction == BarDirection::LeftRight;
        float size = vertical ? form.ScaleWidth() : form.ScaleHeight();
        if (!entry.limitControl.empty())
            size = form.control(entry.limitControl).Width();  // outer width, border included
        const float original = vertical ? form.control(barName).Left() : form.control(barName).Top();
        press(form, barName.c_str());
        moveTo(form, barName.c_str(), 1e6);
        const rt::Control& indicator = form.control(entry.indicator);
        EXPECT_EQ(vertical ? indicator.Left() : indicator.Top(), size - 100);
        moveTo(form, barName.c_str(), -1e6);
        EXPECT_EQ(vertical ? indicator.Left() : indicator.Top(), 100);
        release(form);
        EXPECT_EQ(vertical ? form.control(barName).Left() : form.control(barName).Top(), 100);
        drag(form, barName.c_str(), original);  // later bars may lie inside this one's container
    }
}

TEST_F(TenBars, DraggingOneBarLeavesEveryOtherBarsFlagAndIndicatorAlone)
{
    forms::Splitter5& s5 = *program.splitter5();
    const rt::Rect p1 = s5.control("Picture1").bounds(), p4t = {0, 120, 0, 255};
    press(s5, "Image4");
    moveTo(s5, "Image4", 2500);
    EXPECT_TRUE(s5.DraggingImage4);
    EXPECT_FALSE(s5.DraggingImage1 || s5.DraggingImage2 || s5.DraggingImage3);
    release(s5);
    EXPECT_EQ(s5.control("Picture1").bounds(), p1);
    EXPECT_FALSE(s5.control("Picture1").Visible() || s5.control("Picture4").Visible() ||
                 s5.control("Picture7").Visible());
    EXPECT_EQ(s5.control("Picture4").Top(), p4t.top);
    EXPECT_EQ(s5.control("Picture7").Top(), 180);
    // Another window's bar with the same name is untouched too.
    EXPECT_FALSE(program.splitter4()->DraggingImage1);
    EXPECT_EQ(program.splitter4()->control("Image1").Left(), 3360);
}

TEST_F(TenBars, HorizontalBarDragsTo100AboveTheWindowsBottomFromItsContainersTop)
{
    forms::Splitter4& s4 = *program.splitter4();
    drag(s4, "Image3", 99999);
    EXPECT_EQ(s4.control("Image3").Top(), 6360 - 100);
}

}  // namespace
