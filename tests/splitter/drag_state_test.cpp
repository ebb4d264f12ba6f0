#include <gtest/gtest.h>

#include "splitter/bar_drag.h"
#include "support/defined_bars.h"
#include "support/every_bar.h"
#include "support/window_fixture.h"

namespace {

using rt::MouseEvent;
using testing_support::barOf;
using testing_support::snapshot;
using testing_support::DefinedBar;
using testing_support::WindowTest;

class DragStates : public WindowTest {
protected:
    void SetUp() override { program.start(); }
    forms::SplitterForm& form() { return program.splitterForm(); }
    const rt::Control& indicator() { return form().control("Picture1"); }
    const rt::Control& bar() { return form().control("Image1"); }
};

TEST_F(DragStates, MoveDuringADragMovesOnlyTheIndicator)
{
    press(form(), "Image1");
    host.takeRepaints();
    const auto before = snapshot(form());
    moveTo(form(), "Image1", 3100);
    auto after = snapshot(form());
    EXPECT_EQ(indicator().Left(), 3100);
    after.bounds[0] = before.bounds[0];  // Picture1 comes first in the stored order
    EXPECT_EQ(after, before);
    // Only the indicator's old and new areas need painting again.
    const auto repaints = host.takeRepaints();
    ASSERT_EQ(repaints.size(), 2u);
    EXPECT_EQ(repaints[0], (rt::Rect{2340, 0, 67.5, 4215}));
    EXPECT_EQ(repaints[1], (rt::Rect{3100, 0, 67.5, 4215}));
}

// The drag states of each bar, with what the window definitions say of it.
class DragStatesOfEveryBar : public WindowTest, public ::testing::WithParamInterface<DefinedBar> {
protected:
    void SetUp() override { testing_support::openEveryWindow(program); }
    forms::PaneWindow& form() { return testing_support::openWindow(program, GetParam().window); }
    const splitter::Bar& entry() { return barOf(form(), GetParam().number); }
    std::string name() const { return "Image" + std::to_string(GetParam().number); }
    const rt::Control& bar() { return form().control(name()); }
    const rt::Control& indicator() { return form().control(GetParam().indicator); }
    float along(const rt::Control& c) { return GetParam().leftRight ? c.Left() : c.Top(); }
    // The handlers' arguments for a pointer `offset` twips from the bar's corner along its axis.
    rt::MouseArgs at(float offset, int button = rt::kLeftButton)
    {
        return GetParam().leftRight ? rt::MouseArgs{button, 0, offset, 10} : rt::MouseArgs{button, 0, 10, offset};
    }
};

TEST_P(DragStatesOfEveryBar, AMoveWithNoDragChangesNothing)
{
    const auto before = snapshot(form());
    splitter::barMouseMove(entry(), at(500));
    double x = 0, y = 0;
    pointOnBar(form(), bar(), x, y);
    runtime().mouse(form(), MouseEvent::Move, 0, 0, x, y);  // hovering over the bar
    EXPECT_EQ(snapshot(form()), before);
    EXPECT_FALSE(form().dragging(GetParam().number));
}

TEST_P(DragStatesOfEveryBar, AReleaseWithNoDragLaysOutAtTheIndicatorsDefinedPosition)
{
    splitter::barMouseUp(entry());
    EXPECT_EQ(along(bar()), GetParam().indicatorAt);
    EXPECT_FALSE(indicator().Visible());
    EXPECT_FALSE(form().dragging(GetParam().number));
}

TEST_P(DragStatesOfEveryBar, APressDuringADragLaysTheIndicatorBackOverTheBar)
{
    const float position = GetParam().position;
    splitter::barMouseDown(entry());
    splitter::barMouseMove(entry(), at(900));
    EXPECT_EQ(along(indicator()), position + 900);
    splitter::barMouseDown(entry());
    EXPECT_EQ(along(indicator()), position);
    EXPECT_TRUE(indicator().Visible());
    EXPECT_TRUE(form().dragging(GetParam().number));
}

TEST_P(DragStatesOfEveryBar, APressAndReleaseWithoutAMoveLeavesTheLayoutAsItWas)
{
    const auto before = snapshot(form());
    press(form(), name().c_str());
    release(form());
    auto after = snapshot(form());
    // Only the indicator differs: laid over the bar by the press.
    for (std::size_t i = 0; i < after.bounds.size(); ++i)
        if (form().controls()[i].get() == &indicator())
            after.bounds[i] = before.bounds[i];
    EXPECT_EQ(after, before);
    EXPECT_EQ(along(bar()), GetParam().position);
}

TEST_P(DragStatesOfEveryBar, TheBarsEdgeGoesToThePointerNotTheGrabbedPoint)
{
    splitter::barMouseDown(entry());
    splitter::barMouseMove(entry(), at(45));
    splitter::barMouseUp(entry());
    EXPECT_EQ(along(bar()), GetParam().position + 45);
}

TEST_P(DragStatesOfEveryBar, AnyButtonAndAnyModifiersDrag)
{
    for (int button : {rt::kRightButton, rt::kMiddleButton})
        for (int shift : {0, rt::kShiftMask | rt::kCtrlMask | rt::kAltMask}) {
            const float target = static_cast<float>(1500 + button * 100 + shift);
            press(form(), name().c_str(), button, shift);
            moveTo(form(), name().c_str(), target, button);
            release(form(), button);
            EXPECT_EQ(along(bar()), target) << "button " << button << ", shift " << shift;
        }
}

TEST_P(DragStatesOfEveryBar, TheReleaseTakesTheLastLimitedMoveNotThePointer)
{
    press(form(), name().c_str());
    moveTo(form(), name().c_str(), 50);
    double x = 0, y = 0;
    pointOnBar(form(), bar(), x, y);
    runtime().mouse(form(), MouseEvent::Up, rt::kLeftButton, 0, x + 900, y + 900);
    EXPECT_EQ(along(bar()), 100);
}

INSTANTIATE_TEST_SUITE_P(EveryBar, DragStatesOfEveryBar, ::testing::ValuesIn(testing_support::kDefinedBars),
                         [](const ::testing::TestParamInfo<DefinedBar>& bar) { return bar.param.label(); });

// Every bar whose bounding size can be made under twice the margin: the horizontal bars by a low window,
// Image4 by a narrow Picture5. A candidate under 100 gives 100; one of 100 or more gives the size less 100.
class NarrowLimitDrag : public DragStatesOfEveryBar {};

TEST_P(NarrowLimitDrag, ASizeUnderTwiceTheMarginGivesTheSizeLessTheMargin)
{
    if (std::string(GetParam().limitControl).empty())
        host.resizeClient(form(), form().ScaleWidth(), 150);
    else
        drag(form(), "Image1", 150);  // Picture5 is as wide as the left container
    const float position = along(bar());
    splitter::barMouseDown(entry());
    splitter::barMouseMove(entry(), at(120 - position));
    EXPECT_EQ(along(indicator()), 50);
    splitter::barMouseMove(entry(), at(90 - position));
    EXPECT_EQ(along(indicator()), 100);
}

std::vector<DefinedBar> barsWithANarrowableLimit()
{
    std::vector<DefinedBar> bars;
    for (const DefinedBar& bar : testing_support::kDefinedBars)
        if (!bar.leftRight || std::string(bar.limitControl) != "")
            bars.push_back(bar);
    return bars;
}

INSTANTIATE_TEST_SUITE_P(EveryBar, NarrowLimitDrag, ::testing::ValuesIn(barsWithANarrowableLimit()),
                         [](const ::testing::TestParamInfo<DefinedBar>& bar) { return bar.param.label(); });

class LowWindowDrag : public WindowTest {
protected:
    void SetUp() override { program.SanbunMenu_Click(); }
    forms::Splitter3& form() { return *program.instance<forms::Splitter3>(); }
};

TEST_F(LowWindowDrag, BarNeverEndsAboveItsContainerAndCanBeGrabbedAgain)
{
    host.resizeClient(form(), 7020, 60);
    // The bar lies below the visible area now; reach it through its handlers as a captured drag would.
    splitter::barMouseDown(barOf(form(), 2));
    splitter::barMouseMove(barOf(form(), 2), {rt::kLeftButton, 0, 0, 10});
    EXPECT_EQ(form().control("Picture4").Top(), 0);
    splitter::barMouseUp(barOf(form(), 2));
    EXPECT_EQ(form().control("Image2").Top(), 0);
    EXPECT_EQ(form().control("Picture5").Height(), 0);
    EXPECT_EQ(form().control("Picture6").Top(), 40);
    // Grown again, the bar sits at the container's top edge, where a press finds it.
    host.resizeClient(form(), 7020, 6360);
    drag(form(), "Image2", 2000);
    EXPECT_EQ(form().control("Image2").Top(), 2000);
}

TEST_F(LowWindowDrag, ClosingMidDragKeepsTheFlagAndReopeningStartsFresh)
{
    press(form(), "Image2");
    moveTo(form(), "Image2", 1000);
    runtime().close(form());
    EXPECT_TRUE(form().dragging(2));  // the instance and its variables outlive the window
    program.SanbunMenu_Click();
    EXPECT_EQ(form().control("Image2").Top(), 2700);
    EXPECT_FALSE(form().control("Picture4").Visible());
    // No capture survived the close: a move over a pane reaches no bar.
    runtime().mouse(form(), MouseEvent::Move, 0, 0, 5000, 1000);
    drag(form(), "Image2", 1500);
    EXPECT_EQ(form().control("Image2").Top(), 1500);
    EXPECT_FALSE(form().dragging(2));
    EXPECT_TRUE(errors.empty());
}

}  // namespace
