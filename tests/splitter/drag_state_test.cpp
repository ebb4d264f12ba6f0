#include <gtest/gtest.h>

#include "splitter/bar_drag.h"
#include "support/every_bar.h"
#include "support/window_fixture.h"

namespace {

using rt::MouseEvent;
using testing_support::barOf;
using testing_support::snapshot;
using testing_support::WindowTest;

class DragStates : public WindowTest {
protected:
    void SetUp() override { program.start(); }
    forms::SplitterForm& form() { return program.splitterForm(); }
    const rt::Control& indicator() { return form().control("Picture1"); }
    const rt::Control& bar() { return form().control("Image1"); }
};

TEST_F(DragStates, IdleMoveChangesNothing)
{
    const auto before = snapshot(form());
    splitter::barMouseMove(barOf(form(), 1), {0, 0, 500, 10});
    runtime().mouse(form(), MouseEvent::Move, 0, 0, 2350, 100);  // hovering over the bar
    EXPECT_EQ(snapshot(form()), before);
    EXPECT_FALSE(form().dragging(1));
}

TEST_F(DragStates, IdleReleaseLaysOutAtTheIndicatorsPosition)
{
    // The indicator still stands where the definition put it.
    splitter::barMouseUp(barOf(form(), 1));
    EXPECT_EQ(bar().Left(), 4800);
    EXPECT_FALSE(indicator().Visible());
    EXPECT_FALSE(form().dragging(1));
}

TEST_F(DragStates, PressDuringADragLaysTheIndicatorBackOverTheBar)
{
    splitter::barMouseDown(barOf(form(), 1));
    splitter::barMouseMove(barOf(form(), 1), {rt::kLeftButton, 0, 900, 0});
    EXPECT_EQ(indicator().Left(), 2340 + 900);
    splitter::barMouseDown(barOf(form(), 1));
    EXPECT_EQ(indicator().Left(), 2340);
    EXPECT_TRUE(indicator().Visible());
    EXPECT_TRUE(form().dragging(1));
}

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

TEST_F(DragStates, ReleaseLaysOutOnceHidesTheIndicatorAndEndsTheDrag)
{
    press(form(), "Image1");
    moveTo(form(), "Image1", 1000);
    moveTo(form(), "Image1", 2000);
    EXPECT_EQ(bar().Left(), 2340);  // the bar waits for the release
    release(form());
    EXPECT_EQ(bar().Left(), 2000);
    EXPECT_EQ(form().control("Picture3").Left(), 2040);
    EXPECT_FALSE(indicator().Visible());
    EXPECT_FALSE(form().dragging(1));
}

TEST_F(DragStates, PressAndReleaseWithoutMoveKeepsTheBarsPosition)
{
    const auto before = snapshot(form());
    press(form(), "Image1");
    release(form());
    auto after = snapshot(form());
    EXPECT_EQ(after.bounds[1], before.bounds[1]);
    EXPECT_EQ(bar().Left(), 2340);
    EXPECT_EQ(form().control("Picture3").bounds(), (rt::Rect{2380, 0, 2765, 4215}));
}

TEST_F(DragStates, TheBarsEdgeGoesToThePointerNotTheGrabbedPoint)
{
    splitter::barMouseDown(barOf(form(), 1));
    splitter::barMouseMove(barOf(form(), 1), {rt::kLeftButton, 0, 45, 50});
    splitter::barMouseUp(barOf(form(), 1));
    EXPECT_EQ(bar().Left(), 2340 + 45);
}

TEST_F(DragStates, AnyButtonAndAnyModifiersDrag)
{
    for (int button : {rt::kRightButton, rt::kMiddleButton})
        for (int shift : {0, rt::kShiftMask | rt::kCtrlMask | rt::kAltMask}) {
            press(form(), "Image1", button, shift);
            moveTo(form(), "Image1", 1500 + button * 100 + shift, button);
            release(form(), button);
            EXPECT_EQ(bar().Left(), 1500 + button * 100 + shift);
        }
}

TEST_F(DragStates, ReleasePositionIsTheLastClampedMoveNotThePointer)
{
    press(form(), "Image1");
    moveTo(form(), "Image1", 50);
    runtime().mouse(form(), MouseEvent::Up, rt::kLeftButton, 0, 4000, 100);
    EXPECT_EQ(bar().Left(), 100);
}

class LowWindowDrag : public WindowTest {
protected:
    void SetUp() override { program.SanbunMenu_Click(); }
    forms::Splitter3& form() { return *program.splitter3(); }
};

TEST_F(LowWindowDrag, LimitSizeUnderTwiceTheMarginGivesSizeLessMargin)
{
    host.resizeClient(form(), 7020, 150);
    splitter::barMouseDown(barOf(form(), 2));
    splitter::barMouseMove(barOf(form(), 2), {rt::kLeftButton, 0, 0, 120 - form().control("Image2").Top()});
    EXPECT_EQ(form().control("Picture4").Top(), 50);
    splitter::barMouseMove(barOf(form(), 2), {rt::kLeftButton, 0, 0, 90 - form().control("Image2").Top()});
    EXPECT_EQ(form().control("Picture4").Top(), 100);
}

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
