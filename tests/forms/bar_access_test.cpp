// What every window tells assistive tools about its bars, and what a position they set does: the name in
// words, the position with the drag's own range, and a set that lays the window out exactly as a drag
// released there.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "splitter/bar_names.h"
#include "support/every_bar.h"
#include "support/window_fixture.h"

namespace {

using testing_support::barOf;
using testing_support::openWindow;
using testing_support::snapshot;
using testing_support::WindowTest;

class BarAccessTest : public WindowTest {
protected:
    void SetUp() override { testing_support::openEveryWindow(program); }

    static rt::BarAccess access(const forms::PaneWindow& form, int number)
    {
        const rt::Form& asForm = form;
        const std::optional<rt::BarAccess> a = asForm.barAccess(*barOf(form, number).control);
        if (!a)
            throw std::logic_error("no access for a bar");
        return *a;
    }
};

TEST_F(BarAccessTest, EachBarIsNamedForWhatItDivides)
{
    struct Row {
        const char* window;
        int bar;
        const char* name;
    };
    const Row rows[] = {
        {"SplitterForm", 1, "Divider between the left and right panes"},
        {"Splitter3", 1, "Divider between the left group of panes and the right pane"},
        {"Splitter3", 2, "Divider between the upper and lower panes on the left"},
        {"Splitter4", 1, "Divider between the left and right groups of panes"},
        {"Splitter4", 2, "Divider between the upper and lower panes on the left"},
        {"Splitter4", 3, "Divider between the upper and lower panes on the right"},
        {"Splitter5", 1, "Divider between the left and right groups of panes"},
        {"Splitter5", 2, "Divider between the upper group of panes and the lower pane on the left"},
        {"Splitter5", 3, "Divider between the upper and lower panes on the right"},
        {"Splitter5", 4, "Divider between the left and right panes on the upper left"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(access(openWindow(program, row.window), row.bar).name, row.name) << row.window << " Image" << row.bar;
    std::size_t bars = 0;
    for (const forms::PaneWindow* form : program.windows())
        bars += form->bars().size();
    EXPECT_EQ(bars, std::size(rows));
}

TEST_F(BarAccessTest, OnlyBarsHaveAccessAndTheKeyboardFocusIsTheTakenBar)
{
    const rt::Form& s5 = openWindow(program, "Splitter5");
    for (const auto& c : s5.controls())
        EXPECT_EQ(s5.barAccess(*c).has_value(), c->role() == rt::ControlRole::Bar) << c->name();
    EXPECT_EQ(s5.keyboardFocus(), nullptr);
    runtime().key(*program.instance<forms::Splitter5>(), rt::Key::F8, 0);
    runtime().key(*program.instance<forms::Splitter5>(), rt::Key::F8, 0);
    EXPECT_EQ(s5.keyboardFocus(), &s5.control("Image2"));
}

TEST_F(BarAccessTest, ThePositionAndRangeAreTheBarsAndTheDragsOwn)
{
    for (const testing_support::DefinedBar& defined : testing_support::kDefinedBars) {
        SCOPED_TRACE(defined.label());
        const rt::BarAccess a = access(openWindow(program, defined.window), defined.number);
        EXPECT_EQ(a.position, defined.position);
        EXPECT_EQ(a.lowest, 100);
        EXPECT_EQ(a.highest, defined.farEnd);
    }
    // The range follows the window's size.
    forms::PaneWindow& s3 = openWindow(program, "Splitter3");
    host.resizeClient(s3, 6000, 5000);
    EXPECT_EQ(access(s3, 1).highest, 5900);
    EXPECT_EQ(access(s3, 2).highest, 4900);
    // Image4's follows its container, whose width follows the window's vertical bar.
    forms::PaneWindow& s5 = openWindow(program, "Splitter5");
    drag(s5, "Image1", 6000);
    EXPECT_EQ(access(s5, 4).highest, 5900);
    EXPECT_EQ(access(s5, 1).highest, 8810);
    // Under 200 twips the drag's ends cross; the range is told from the smaller to the larger, and
    // reaches up to the bar, which the shrink left at 2700.
    host.resizeClient(s3, 6000, 150);
    EXPECT_EQ(access(s3, 2).lowest, 50);
    EXPECT_EQ(access(s3, 2).highest, 2700);
}

TEST_F(BarAccessTest, ASetPositionLaysOutAsADragReleasedThere)
{
    const double huge = 1e30, inf = std::numeric_limits<double>::infinity();
    for (double position : {1000.0, 0.0, -inf, huge, inf, 2345.678})
        for (const testing_support::BarId& id : testing_support::everyBar()) {
            SCOPED_TRACE(id.label() + " to " + std::to_string(position));
            testing_support::OpenProgram setting(errors), dragging(errors);
            forms::PaneWindow& set = setting.window(id);
            setting.runtime().setBarPosition(set, *barOf(set, id.number).control, position);
            forms::PaneWindow& dragged = dragging.window(id);
            // A pointer can only be so far away; any such distance reaches the limit.
            testing_support::dragBar(dragging.runtime(), dragged, barOf(dragged, id.number),
                                     std::clamp(position, -1e9, 1e9));
            EXPECT_EQ(snapshot(set), snapshot(dragged));
            EXPECT_FALSE(set.dragging(id.number));
        }
}

TEST_F(BarAccessTest, ASetPositionThatIsNotANumberChangesNothing)
{
    forms::PaneWindow& s5 = openWindow(program, "Splitter5");
    const auto before = snapshot(s5);
    runtime().setBarPosition(s5, s5.control("Image4"), std::nan(""));
    EXPECT_EQ(snapshot(s5), before);
    // Nor does one for a control that is no bar, or a bar of another window.
    runtime().setBarPosition(s5, s5.control("Picture11"), 500);
    runtime().setBarPosition(s5, program.instance<forms::Splitter4>()->control("Image1"), 500);
    EXPECT_EQ(snapshot(s5), before);
}

TEST_F(BarAccessTest, ASetPositionEndsKeyboardModeAndLeavesAMouseDragAlone)
{
    forms::PaneWindow& s4 = openWindow(program, "Splitter4");
    runtime().key(s4, rt::Key::F8, 0);
    runtime().key(s4, rt::Key::Right, rt::kCtrlMask);
    runtime().setBarPosition(s4, s4.control("Image3"), 2000);
    EXPECT_EQ(s4.keyboardBar(), nullptr);
    EXPECT_FALSE(s4.dragging(1));
    EXPECT_FALSE(s4.control("Picture1").Visible());
    EXPECT_EQ(s4.control("Image3").Top(), 2000);

    press(s4, "Image2");
    moveTo(s4, "Image2", 1500);
    const auto during = snapshot(s4);
    runtime().setBarPosition(s4, s4.control("Image3"), 3000);
    runtime().setBarPosition(s4, s4.control("Image2"), 3000);
    EXPECT_EQ(snapshot(s4), during);
    release(s4);
    EXPECT_EQ(s4.control("Image2").Top(), 1500);
}

TEST_F(BarAccessTest, PanesAndGroupsOfPanesAreNamedInWordsForWhereTheyLie)
{
    struct Row {
        const char* window;
        const char* control;
        const char* words;
    };
    const Row rows[] = {
        {"SplitterForm", "Picture2", "left pane"},
        {"SplitterForm", "Picture3", "right pane"},
        {"Splitter3", "Picture2", "left group of panes"},
        {"Splitter3", "Picture3", "right pane"},
        {"Splitter3", "Picture5", "upper pane on the left"},
        {"Splitter3", "Picture6", "lower pane on the left"},
        {"Splitter5", "Picture2", "left group of panes"},
        {"Splitter5", "Picture3", "right group of panes"},
        {"Splitter5", "Picture5", "upper group of panes on the left"},
        {"Splitter5", "Picture6", "lower pane on the left"},
        {"Splitter5", "Picture8", "upper pane on the right"},
        {"Splitter5", "Picture9", "lower pane on the right"},
        {"Splitter5", "Picture11", "left pane on the upper left"},
        {"Splitter5", "Picture12", "right pane on the upper left"},
        // Bars have names of their own, and indicators none.
        {"Splitter5", "Image2", ""},
        {"Splitter5", "Picture10", ""},
    };
    for (const Row& row : rows) {
        const rt::Form& form = openWindow(program, row.window);
        EXPECT_EQ(form.describeControl(form.control(row.control)), row.words) << row.window << " " << row.control;
    }
}

TEST_F(BarAccessTest, WhileTheKeyboardHoldsABarItsIndicatorIsTheToldPositionInWords)
{
    forms::PaneWindow& main = openWindow(program, "SplitterForm");
    EXPECT_EQ(access(main, 1).place, "45 percent from the left");  // 2340 in 100 .. 5045
    EXPECT_FALSE(access(main, 1).taken);
    runtime().key(main, rt::Key::F8, 0);
    runtime().key(main, rt::Key::Right, 0);
    EXPECT_TRUE(access(main, 1).taken);
    EXPECT_EQ(access(main, 1).position, 2355);
    EXPECT_EQ(main.control("Image1").Left(), 2340);
    runtime().key(main, rt::Key::Home, 0);
    EXPECT_EQ(access(main, 1).position, 100);
    EXPECT_EQ(access(main, 1).place, "at the left limit");
    runtime().key(main, rt::Key::End, 0);
    EXPECT_EQ(access(main, 1).place, "at the right limit");
    runtime().key(main, rt::Key::Escape, 0);
    EXPECT_FALSE(access(main, 1).taken);
    EXPECT_EQ(access(main, 1).position, 2340);

    forms::PaneWindow& s3 = openWindow(program, "Splitter3");
    runtime().key(s3, rt::Key::F8, 0);
    runtime().key(s3, rt::Key::F8, 0);
    runtime().key(s3, rt::Key::Home, 0);
    EXPECT_EQ(access(s3, 2).place, "at the top limit");
    EXPECT_FALSE(access(s3, 1).taken);
}

// A window shrunk below a bar leaves the bar where it was until it is moved; the range told reaches to it.
TEST_F(BarAccessTest, TheRangeAlwaysHoldsThePosition)
{
    forms::PaneWindow& s3 = openWindow(program, "Splitter3");
    host.resizeClient(s3, 3000, 4000);
    const rt::BarAccess a = access(s3, 1);
    EXPECT_EQ(a.position, 3360);
    EXPECT_EQ(a.lowest, 100);
    EXPECT_EQ(a.highest, 3360);
    EXPECT_EQ(a.place, "at the right limit");
    for (forms::PaneWindow* form : program.windows())
        for (int size : {0, 150, 250, 3000}) {
            host.resizeClient(*form, size, size);
            for (const splitter::Bar& bar : form->bars()) {
                const rt::BarAccess b = access(*form, bar.number);
                EXPECT_LE(b.lowest, b.position) << form->name() << " Image" << bar.number << " at " << size;
                EXPECT_GE(b.highest, b.position) << form->name() << " Image" << bar.number << " at " << size;
            }
        }
}

TEST_F(BarAccessTest, PlacesInWordsKeepClearOfTheEndsAndSayWhenThereIsNoRoom)
{
    using splitter::BarDirection;
    EXPECT_EQ(splitter::describePosition(101, 100, 5045, BarDirection::LeftRight), "1 percent from the left");
    EXPECT_EQ(splitter::describePosition(5044, 100, 5045, BarDirection::LeftRight), "99 percent from the left");
    EXPECT_EQ(splitter::describePosition(2572, 100, 5045, BarDirection::UpDown), "50 percent from the top");
    EXPECT_EQ(splitter::describePosition(7000, 100, 5045, BarDirection::UpDown), "at the bottom limit");
    EXPECT_EQ(splitter::describePosition(0, 100, 50, BarDirection::LeftRight), "with no room to move");
}

TEST_F(BarAccessTest, TheMainWindowsMenuEntriesSayWhatTheyOpen)
{
    const rt::Form& main = openWindow(program, "SplitterForm");
    ASSERT_EQ(main.menu().size(), 3u);
    EXPECT_EQ(main.describeMenuEntry(main.menu()[0]), "Opens the window with three panes");
    EXPECT_EQ(main.describeMenuEntry(main.menu()[1]), "Opens the window with four panes");
    EXPECT_EQ(main.describeMenuEntry(main.menu()[2]), "Opens the window with five panes");
}

}  // namespace
