#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/window_fixture.h"

namespace {

using rt::MouseEvent;
using testing_support::WindowTest;

class EventRoutingTest : public WindowTest {
protected:
    void SetUp() override { program.start(); }
    forms::SplitterForm& form() { return program.splitterForm(); }
    void mouse(MouseEvent e, double x, double y, int button = rt::kLeftButton, int shift = 0)
    {
        runtime().mouse(form(), e, button, shift, x, y);
    }
};

TEST_F(EventRoutingTest, BarTakesThePressOnlyInTheGapThePaneLeavesUncovered)
{
    // Image1 spans 2340..2475 after the first layout, but Picture3 covers it from 2380 on.
    mouse(MouseEvent::Down, 2400, 1000);
    mouse(MouseEvent::Up, 2400, 1000);
    EXPECT_FALSE(form().control("Picture1").Visible());
    EXPECT_FALSE(form().dragging(1));

    mouse(MouseEvent::Down, 2379, 1000);
    EXPECT_TRUE(form().dragging(1));
    EXPECT_TRUE(form().control("Picture1").Visible());
}

TEST_F(EventRoutingTest, AnObserverSeesEachMouseEventAsGivenBeforeItIsRouted)
{
    struct Seen {
        MouseEvent event;
        int button, shift;
        double x, y;
        const rt::Control* captureThen;
    };
    std::vector<Seen> seen;
    runtime().setMouseObserver([&](rt::Form& f, MouseEvent e, int button, int shift, double x, double y) {
        seen.push_back({e, button, shift, x, y, f.mouseState().capture});
    });
    mouse(MouseEvent::Down, 2379, 1000, rt::kLeftButton | 64, 9);
    mouse(MouseEvent::Up, 2379, 1000);
    ASSERT_EQ(seen.size(), 2u);
    // As the host gave it, unmasked, and before the press set the capture.
    EXPECT_EQ(seen[0].button, rt::kLeftButton | 64);
    EXPECT_EQ(seen[0].shift, 9);
    EXPECT_EQ(seen[0].captureThen, nullptr);
    EXPECT_EQ(seen[1].event, MouseEvent::Up);
    EXPECT_EQ(seen[1].captureThen, &form().control("Image1"));
    EXPECT_EQ(form().mouseState().capture, nullptr);
    EXPECT_EQ(form().mouseState().heldButtons, 0);
}

TEST_F(EventRoutingTest, HitTestFindsTheTopmostControlAtEveryDepth)
{
    program.RokuBunMenu_Click();
    rt::Form& s5 = *program.instance<forms::Splitter5>();
    // Picture2 (0,0) > border 30 > Picture5 (0,0) > border 30 > Image4 at 1620, covered from 1660 on.
    EXPECT_EQ(s5.hitTest(60 + 1630, 500), &s5.control("Image4"));
    EXPECT_EQ(s5.hitTest(60 + 1670, 500), &s5.control("Picture12"));
    EXPECT_EQ(s5.hitTest(60 + 100, 500), &s5.control("Picture11"));
    EXPECT_EQ(s5.hitTest(10, 500), &s5.control("Picture2"));  // its border
    // Children reach past their container's inner area but are cut off there: Picture5 is as wide as
    // Picture2's outer width, so Picture2's right border is still Picture2's.
    EXPECT_EQ(s5.hitTest(4560 - 10, 500), &s5.control("Picture2"));
    EXPECT_EQ(s5.hitTest(4580, 500), &s5.control("Image1"));
    EXPECT_EQ(s5.hitTest(-1, 500), nullptr);
    EXPECT_EQ(s5.hitTest(8910, 500), nullptr);
}

TEST_F(EventRoutingTest, HandlersGetCoordinatesFromTheBarsOwnCorner)
{
    program.RokuBunMenu_Click();
    forms::Splitter5& s5 = *program.instance<forms::Splitter5>();
    // Press on Image4 (in Picture5 in Picture2), then move 45 twips right of the bar's left edge.
    runtime().mouse(s5, MouseEvent::Down, rt::kLeftButton, 0, 60 + 1630, 500);
    runtime().mouse(s5, MouseEvent::Move, rt::kLeftButton, 0, 60 + 1620 + 45, 500);
    EXPECT_EQ(s5.control("Picture10").Left(), 1620 + 45);
}

TEST_F(EventRoutingTest, CaptureKeepsEventsOnThePressedBarOutsideTheWindow)
{
    mouse(MouseEvent::Down, 2350, 1000);
    mouse(MouseEvent::Move, -9000, -9000);
    EXPECT_EQ(form().control("Picture1").Left(), 100);
    mouse(MouseEvent::Move, 90000, 1000);
    EXPECT_EQ(form().control("Picture1").Left(), 5145 - 100);
    mouse(MouseEvent::Up, 90000, 90000);
    EXPECT_EQ(form().control("Image1").Left(), 5045);
    EXPECT_FALSE(form().dragging(1));
}

TEST_F(EventRoutingTest, SecondButtonGoesToTheCapturedBarAndCaptureEndsWithTheLastButton)
{
    mouse(MouseEvent::Down, 2350, 1000, rt::kLeftButton);
    mouse(MouseEvent::Move, 3000, 1000, rt::kLeftButton);
    mouse(MouseEvent::Down, 4000, 1000, rt::kRightButton);  // over Picture3, but captured
    EXPECT_EQ(form().control("Picture1").Left(), 2340);     // laid back over the bar
    EXPECT_TRUE(form().dragging(1));
    mouse(MouseEvent::Up, 4000, 1000, rt::kRightButton);
    EXPECT_FALSE(form().dragging(1));
    EXPECT_EQ(form().control("Image1").Left(), 2340);
    // The left button is still held, so the bar still has the mouse: a third button pressed over
    // Picture3 reaches the bar and starts a drag that follows the pointer off the bar.
    mouse(MouseEvent::Down, 4000, 1000, rt::kMiddleButton);
    EXPECT_TRUE(form().dragging(1));
    mouse(MouseEvent::Move, 3500, 1000, rt::kLeftButton | rt::kMiddleButton);
    EXPECT_EQ(form().control("Picture1").Left(), 3500);
    mouse(MouseEvent::Up, 3500, 1000, rt::kMiddleButton);
    EXPECT_EQ(form().control("Image1").Left(), 3500);
    mouse(MouseEvent::Up, 3500, 1000, rt::kLeftButton);
    // Capture is over: a press over the pane reaches no bar.
    mouse(MouseEvent::Down, 4000, 1000, rt::kLeftButton);
    EXPECT_FALSE(form().dragging(1));
    EXPECT_FALSE(form().control("Picture1").Visible());
    mouse(MouseEvent::Up, 4000, 1000, rt::kLeftButton);
}

// The capture belongs to the buttons held, whichever went down first: releasing the first of two, or a
// button that was never pressed, leaves the bar with the mouse.
TEST_F(EventRoutingTest, CaptureOutlivesTheReleaseOfTheFirstButtonAndOfOneNeverPressed)
{
    mouse(MouseEvent::Down, 2350, 1000, rt::kLeftButton);
    mouse(MouseEvent::Move, 3000, 1000, rt::kLeftButton);
    mouse(MouseEvent::Up, 3000, 1000, rt::kMiddleButton);  // never pressed: not a release of the drag
    EXPECT_TRUE(form().dragging(1));
    EXPECT_EQ(form().control("Image1").Left(), 2340);
    mouse(MouseEvent::Down, 4000, 1000, rt::kRightButton);
    mouse(MouseEvent::Up, 4000, 1000, rt::kLeftButton);  // the first button up; the right one is held
    EXPECT_FALSE(form().dragging(1));
    mouse(MouseEvent::Down, 4200, 1000, rt::kMiddleButton);  // over Picture3, still the bar's
    EXPECT_TRUE(form().dragging(1));
    mouse(MouseEvent::Move, 1500, 1000, rt::kRightButton | rt::kMiddleButton);
    EXPECT_EQ(form().control("Picture1").Left(), 1500);
    mouse(MouseEvent::Up, 1500, 1000, rt::kMiddleButton);
    mouse(MouseEvent::Up, 1500, 1000, rt::kRightButton);
    EXPECT_EQ(form().control("Image1").Left(), 1500);
    EXPECT_FALSE(form().dragging(1));
    // Both are up: a press over the right pane reaches no bar.
    mouse(MouseEvent::Down, 3000, 1000, rt::kLeftButton);
    EXPECT_FALSE(form().dragging(1));
    mouse(MouseEvent::Up, 3000, 1000, rt::kLeftButton);
}

TEST_F(EventRoutingTest, APressOfAButtonTheProgramDoesNotKnowNeitherDragsNorTakesTheMouse)
{
    const auto before = testing_support::snapshot(form());
    mouse(MouseEvent::Down, 2350, 1000, 8);  // a fourth button, on the bar
    mouse(MouseEvent::Down, 2350, 1000, 0);
    EXPECT_EQ(testing_support::snapshot(form()), before);
    EXPECT_FALSE(form().dragging(1));
    // Nothing holds the mouse: a left press over the right pane reaches no bar.
    mouse(MouseEvent::Down, 4000, 1000, rt::kLeftButton);
    EXPECT_FALSE(form().dragging(1));
    mouse(MouseEvent::Up, 4000, 1000, rt::kLeftButton);
    mouse(MouseEvent::Up, 2350, 1000, 8);
    EXPECT_EQ(testing_support::snapshot(form()), before);
}

TEST_F(EventRoutingTest, ReleaseWithoutPressIsIgnored)
{
    const auto before = testing_support::snapshot(form());
    mouse(MouseEvent::Up, 2350, 1000, rt::kMiddleButton);
    EXPECT_EQ(testing_support::snapshot(form()), before);
    EXPECT_TRUE(errors.empty());
}

TEST_F(EventRoutingTest, UntrappedErrorIsReportedInOneLineAndTheProgramCarriesOn)
{
    mouse(MouseEvent::Down, 2350, 1000);
    mouse(MouseEvent::Move, 1e39, 1000);  // X cannot be a Single
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "splitter: runtime error 6 (overflow) in SplitterForm.Image1_MouseMove; the program continues");
    EXPECT_EQ(runtime().untrappedErrors(), 1u);
    mouse(MouseEvent::Move, 3000, 1000);
    mouse(MouseEvent::Up, 3000, 1000);
    EXPECT_EQ(form().control("Image1").Left(), 3000);
    EXPECT_EQ(errors.size(), 1u);
    errors.clear();
}

TEST_F(EventRoutingTest, NaNCoordinatesHitNothingAndFailInsideACapture)
{
    mouse(MouseEvent::Down, NAN, 1000);
    EXPECT_FALSE(form().dragging(1));
    mouse(MouseEvent::Up, NAN, 1000);
    mouse(MouseEvent::Down, 2350, 1000);
    mouse(MouseEvent::Move, NAN, NAN);
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_EQ(form().control("Picture1").Left(), 2340);
    errors.clear();
}

}  // namespace
