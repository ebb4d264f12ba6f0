#include <gtest/gtest.h>

#include <functional>

#include "support/window_named.h"
#include "replay/invariants.h"
#include "support/defined_limits.h"

namespace {

using replay::Failure;

// Plays script lines one at a time; a line may be followed by a deliberate fault, made between the
// event and the check, to prove that the checker sees it.
class Invariants : public ::testing::Test {
protected:
    std::vector<Failure> play(const std::string& line, const std::function<void()>& fault = {})
    {
        auto parsed = replay::parseScript(line);
        EXPECT_FALSE(parsed.error) << line;
        std::vector<Failure> failures;
        for (replay::Event& e : parsed.events) {
            e.line = ++lineNumber;
            checker.before(e);
            session.apply(e);
            if (fault)
                fault();
            const auto found = checker.after(e);
            failures.insert(failures.end(), found.begin(), found.end());
        }
        return failures;
    }

    void playClean(const std::string& lines)
    {
        for (const Failure& f : play(lines))
            ADD_FAILURE() << f.describe();
    }

    rt::Control& control(replay::Window w, const char* name) { return session.window(w)->control(name); }

    static bool names(const std::vector<Failure>& failures, const std::string& invariant)
    {
        for (const Failure& f : failures)
            if (f.invariant.find(invariant) != std::string::npos)
                return true;
        return false;
    }

    replay::Session session;
    replay::InvariantChecker checker{session};
    int lineNumber = 0;

    void SetUp() override { checker.setLimitControls(testing_support::definedLimitControls()); }
};

TEST_F(Invariants, WorkedDragsResizesAndWindowManagementHold)
{
    std::vector<std::string> reported;
    session.host().runtime().setErrorOutput([&](const std::string& line) { reported.push_back(line); });
    playClean("open SplitterForm\nmenu 0\nmenu 1\nmenu 2\n"
              "down Splitter5 1 0 4580 300\nmove Splitter5 1 0 3000 300\nup Splitter5 1 0 3000 300\n"
              "down Splitter5 1 0 1700 500\nmove Splitter5 1 0 99999 500\nup Splitter5 1 0 99999 500\n"
              "resize Splitter5 0 0\nresize Splitter5 1e30 1e30\nresize Splitter5 nan 5\n"
              "down Splitter4 2 3 3380 300\nmove Splitter4 2 3 -5000 300\nup Splitter4 2 3 -5000 300\n"
              "close SplitterForm\nclose Splitter4\nopen Splitter4\nmove Splitter3 0 0 1e39 1e39");
    EXPECT_EQ(reported.size(), 1u);  // the last move's coordinates reach no handler
}

TEST_F(Invariants, PressMoveAndReleaseFollowTheDragTable)
{
    playClean("open SplitterForm\ndown SplitterForm 4 0 2360 100");
    EXPECT_TRUE(session.program().splitterForm().dragging(1));
    playClean("move SplitterForm 4 0 50 100\nmove SplitterForm 4 0 5100 100");
    EXPECT_EQ(control(testing_support::windowNamed("SplitterForm"), "Picture1").Left(), 5045);
    playClean("up SplitterForm 4 0 5100 100");
    EXPECT_FALSE(session.program().splitterForm().dragging(1));
}

TEST_F(Invariants, SeesAFlagSetWithoutItsBar)
{
    play("open Splitter4");
    const auto failures = play("resize Splitter4 9000 7000",
                               [&] { session.program().instance<forms::Splitter4>()->bars()[2].dragging = true; });
    EXPECT_TRUE(names(failures, "drag flag"));
}

TEST_F(Invariants, SeesAPressThatLeavesTheFlagClear)
{
    play("open Splitter3");
    const auto failures =
        play("down Splitter3 1 0 3380 300", [&] { session.program().instance<forms::Splitter3>()->bars()[0].dragging = false; });
    EXPECT_TRUE(names(failures, "drag flag"));
}

TEST_F(Invariants, SeesAnotherBarsIndicatorMoved)
{
    play("open Splitter5");
    const auto moved = [&] {
        rt::Control& indicator = control(testing_support::windowNamed("Splitter5"), "Picture7");
        indicator.setTop(indicator.Top() + 1);
    };
    EXPECT_TRUE(names(play("down Splitter5 1 0 4580 300", moved), "nothing but"));
    EXPECT_TRUE(names(play("up Splitter5 1 0 4000 300", moved), "other bars' indicators"));
}

TEST_F(Invariants, SeesAnotherWindowChanged)
{
    play("open Splitter5\nopen Splitter3");
    const auto failures =
        play("resize Splitter3 8000 8000", [&] { control(testing_support::windowNamed("Splitter5"), "Picture6").setLeft(1); });
    EXPECT_TRUE(names(failures, "other windows"));
}

TEST_F(Invariants, SeesSidesThatDoNotAddUp)
{
    play("open Splitter5");
    const auto failures =
        play("resize Splitter5 9000 9000", [&] { control(testing_support::windowNamed("Splitter5"), "Picture12").setWidth(1); });
    ASSERT_TRUE(names(failures, "add up"));
    // Named by line, event and split.
    const Failure& f = failures.front();
    EXPECT_EQ(f.line, 2);
    EXPECT_NE(f.describe().find("line 2 (resize Splitter5 9000 9000)"), std::string::npos) << f.describe();
    EXPECT_NE(f.detail.find("Image4"), std::string::npos) << f.detail;
}

TEST_F(Invariants, SidesOutOfLineInAWindowTooSmallAreNotFaults)
{
    // The lower panes keep their last accepted heights; the bar lies beyond the container's bottom.
    playClean("open Splitter3\nresize Splitter3 7020 2000\nresize Splitter3 1880 0");
    EXPECT_EQ(control(testing_support::windowNamed("Splitter3"), "Picture6").Top(), 2740);
}

TEST_F(Invariants, SeesAVerticalIndicatorMovedByALayout)
{
    play("open Splitter5");
    const auto failures =
        play("resize Splitter5 9000 9000", [&] { control(testing_support::windowNamed("Splitter5"), "Picture10").setLeft(5); });
    EXPECT_TRUE(names(failures, "other bars' indicators"));
}

TEST_F(Invariants, SeesAMoveOutsideTheLimits)
{
    play("open SplitterForm\ndown SplitterForm 1 0 2360 100");
    const auto failures =
        play("move SplitterForm 1 0 20 100", [&] { control(testing_support::windowNamed("SplitterForm"), "Picture1").setLeft(20); });
    EXPECT_TRUE(names(failures, "limited pointer position"));
}

// Held to the window definitions, the checker sees a drag limited by the wrong control, and a bar that
// the definitions do not name, where held to the windows' own tables it would see nothing.
TEST_F(Invariants, SeesADragLimitedByAnotherControlThanTheDefinitionsName)
{
    play("open SplitterForm\nmenu 2\ndown Splitter5 1 0 1700 500");  // Image4, in Picture5
    auto limits = testing_support::definedLimitControls();
    limits[{testing_support::windowNamed("Splitter5"), 4}] = "";  // as if the window's client width limited it
    checker.setLimitControls(limits);
    EXPECT_TRUE(names(play("move Splitter5 1 0 99999 500"), "limited pointer position"));

    limits.erase({testing_support::windowNamed("Splitter5"), 4});
    checker.setLimitControls(limits);
    EXPECT_TRUE(names(play("move Splitter5 1 0 2000 500"), "limited pointer position"));
}

TEST_F(Invariants, SeesAPaneThatLostItsWidth)
{
    play("open SplitterForm");
    const auto failures =
        play("resize SplitterForm 6000 4215", [&] { control(testing_support::windowNamed("SplitterForm"), "Picture3").setWidth(0); });
    EXPECT_TRUE(names(failures, "add up"));
}

// The mouse relations read the runtime's own capture: a press captures what lies under the pointer, the
// capture holds while a button is held, and none is left once every button is up.
TEST_F(Invariants, SeesTheCaptureGoWrong)
{
    play("open Splitter4");
    forms::PaneWindow& four = *session.window(testing_support::windowNamed("Splitter4"));
    auto& mouse = const_cast<rt::MouseState&>(four.mouseState());
    EXPECT_TRUE(names(play("down Splitter4 1 0 3380 300", [&] { mouse.capture = &four.control("Picture3"); }),
                      "captured control"));
    mouse.capture = &four.control("Image1");
    playClean("up Splitter4 1 0 3380 300\ndown Splitter4 2 0 3380 300");
    EXPECT_TRUE(names(play("move Splitter4 2 0 100 100", [&] { mouse.capture = &four.control("Picture3"); }),
                      "captured control"));
    mouse.capture = &four.control("Image1");
    playClean("up Splitter4 2 0 100 100");
    EXPECT_TRUE(names(play("move Splitter4 0 0 100 100", [&] { mouse.capture = &four.control("Image1"); }),
                      "no capture is left"));
}

TEST_F(Invariants, SeesAWindowLeftUnderTheMinimumWidth)
{
    play("open SplitterForm");
    session.host().setRefuseResize(true);  // the Resize handler's widening is refused
    EXPECT_TRUE(names(play("resize SplitterForm 600 4215"), "minimum width"));
    session.host().setRefuseResize(false);
    playClean("resize SplitterForm 600 4215");
}

TEST_F(Invariants, PlayCheckedStopsAtTheFirstBrokenEvent)
{
    const auto script = replay::parseScript("open Splitter4\nresize Splitter4 6000 5000\nclose Splitter4");
    replay::Session s;
    const auto limits = testing_support::definedLimitControls();
    EXPECT_TRUE(replay::playChecked(s, script.events, false, &limits).empty());
    EXPECT_FALSE(s.program().instance<forms::Splitter4>()->loaded());
}

}  // namespace
