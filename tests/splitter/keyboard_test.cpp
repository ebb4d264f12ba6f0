// Moving bars from the keyboard through the in-memory host: F8 and Shift+F8 between the bars, the key
// table on both kinds of bar, the step at several screen scales, commits that come out exactly as a mouse
// release there, cancels that leave everything as it was, and the mouse keeping its own protocol.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "splitter/bar_drag.h"
#include "support/defined_bars.h"
#include "support/every_bar.h"
#include "support/window_fixture.h"

namespace {

using rt::Key;
using testing_support::BarId;
using testing_support::barOf;
using testing_support::openWindow;
using testing_support::snapshot;
using testing_support::WindowTest;

constexpr int kCtrl = rt::kCtrlMask;
constexpr int kShift = rt::kShiftMask;

int keyboardNumber(const forms::PaneWindow& form)
{
    const splitter::Bar* bar = form.keyboardBar();
    return bar ? bar->number : 0;
}

// Keys along a bar's axis: towards the left or top, and towards the right or bottom.
Key lessKey(const splitter::Bar& bar) { return bar.vertical() ? Key::Left : Key::Up; }
Key moreKey(const splitter::Bar& bar) { return bar.vertical() ? Key::Right : Key::Down; }

class KeyboardTest : public WindowTest {
protected:
    bool key(rt::Form& form, Key k, int shift = 0) { return runtime().key(form, k, shift); }

    // Presses F8 until bar `number` is in keyboard mode.
    void take(forms::PaneWindow& form, int number)
    {
        key(form, Key::Escape);
        for (int i = 0; i < number; ++i)
            key(form, Key::F8);
        ASSERT_EQ(keyboardNumber(form), number);
    }
};

TEST_F(KeyboardTest, NothingHappensUntilF8)
{
    forms::PaneWindow& s5 = openWindow(program, "Splitter5");
    const auto before = snapshot(s5);
    for (Key k : {Key::Left, Key::Right, Key::Up, Key::Down, Key::PageUp, Key::PageDown, Key::Home, Key::End,
                  Key::Return, Key::Enter, Key::Space, Key::Escape})
        EXPECT_FALSE(key(s5, k)) << static_cast<int>(k);
    // F8 with Ctrl or Alt belongs to someone else.
    EXPECT_FALSE(key(s5, Key::F8, kCtrl));
    EXPECT_FALSE(key(s5, Key::F8, rt::kAltMask));
    EXPECT_EQ(snapshot(s5), before);
    EXPECT_EQ(keyboardNumber(s5), 0);
}

// F8 walks a window's bars in Image order and wraps round after its last one; Shift+F8 walks back, and
// with no bar taken starts from the last. Run on every window, since how far a walk goes before it wraps
// depends on the window's number of bars.
class KeyboardCycling : public KeyboardTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(KeyboardCycling, F8TakesTheBarsInImageOrderWrappingRoundAndShiftF8GoesBack)
{
    testing_support::openEveryWindow(program);
    forms::PaneWindow& form = openWindow(program, GetParam());
    const int count = testing_support::definedBarCount(GetParam());
    ASSERT_GT(count, 0);
    const auto onlyTaken = [&](int number, const char* after) {
        SCOPED_TRACE(std::string("after ") + after + ", Image" + std::to_string(number));
        EXPECT_EQ(keyboardNumber(form), number);
        for (const splitter::Bar& bar : form.bars()) {
            EXPECT_EQ(bar.dragging, bar.number == number) << "DraggingImage" << bar.number;
            EXPECT_EQ(bar.indicator->Visible(), bar.number == number) << bar.indicator.name();
        }
    };
    for (int expected = 1; expected <= count; ++expected) {
        EXPECT_TRUE(key(form, Key::F8));
        onlyTaken(expected, "F8");
    }
    EXPECT_TRUE(key(form, Key::F8));
    onlyTaken(1, "F8 past the last bar");
    EXPECT_TRUE(key(form, Key::F8, kShift));
    onlyTaken(count, "Shift+F8 before the first bar");
    EXPECT_TRUE(key(form, Key::Escape));
    onlyTaken(0, "Escape");
    for (int expected = count; expected >= 1; --expected) {
        EXPECT_TRUE(key(form, Key::F8, kShift));  // with no bar taken, from the last one
        onlyTaken(expected, "Shift+F8");
    }
    EXPECT_TRUE(key(form, Key::F8, kShift));
    onlyTaken(count, "Shift+F8 past the first bar");
    // The other windows have no bar taken.
    for (const forms::PaneWindow* other : program.windows()) {
        if (other != &form) {
            EXPECT_EQ(keyboardNumber(*other), 0) << other->name();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, KeyboardCycling,
                         ::testing::Values("SplitterForm", "Splitter3", "Splitter4", "Splitter5"),
                         [](const ::testing::TestParamInfo<const char*>& p) { return std::string(p.param); });

TEST_F(KeyboardTest, F8InAWindowWithOneBarTakesItAfresh)
{
    forms::PaneWindow& main = openWindow(program, "SplitterForm");
    const splitter::Bar& bar = barOf(main, 1);
    key(main, Key::F8);
    EXPECT_EQ(bar.indicator->bounds(), (rt::Rect{2340, 0, 67.5, 4215}));  // exactly as a press lays it
    key(main, Key::Right);
    key(main, Key::F8);
    EXPECT_EQ(keyboardNumber(main), 1);
    EXPECT_EQ(bar.indicatorPosition(), bar.position());
    EXPECT_TRUE(bar.indicator->Visible());
}

class KeyboardOnEveryBar : public KeyboardTest, public ::testing::WithParamInterface<BarId> {
protected:
    void SetUp() override
    {
        testing_support::openEveryWindow(program);
        form_ = &openWindow(program, GetParam().window);
    }
    forms::PaneWindow& form() { return *form_; }
    const splitter::Bar& bar() { return barOf(*form_, GetParam().number); }

    // Every control of every window, so that a cancel is seen to touch nothing anywhere.
    std::vector<testing_support::Snapshot> everything()
    {
        std::vector<testing_support::Snapshot> all;
        for (const forms::PaneWindow* w : program.windows())
            all.push_back(snapshot(*w));
        return all;
    }

private:
    forms::PaneWindow* form_ = nullptr;
};

TEST_P(KeyboardOnEveryBar, ArrowsAlongTheAxisMoveTheIndicatorAndArrowsAcrossItDoNothing)
{
    take(form(), bar().number);
    const float p0 = bar().position();
    const rt::Rect barBounds = bar().control->bounds(), first = bar().first->bounds(), second = bar().second->bounds();
    const auto expectAt = [&](float expected, const char* after) {
        EXPECT_EQ(bar().indicatorPosition(), expected) << "after " << after;
    };
    EXPECT_TRUE(key(form(), moreKey(bar())));
    expectAt(p0 + 15, "one pixel on");
    EXPECT_TRUE(key(form(), moreKey(bar()), kCtrl));
    expectAt(p0 + 165, "Ctrl: ten pixels on");
    EXPECT_TRUE(key(form(), Key::PageUp));
    expectAt(p0 + 15, "Page Up: ten pixels back");
    EXPECT_TRUE(key(form(), Key::PageDown));
    expectAt(p0 + 165, "Page Down");
    EXPECT_TRUE(key(form(), lessKey(bar())));
    expectAt(p0 + 150, "one pixel back");
    EXPECT_TRUE(key(form(), lessKey(bar()), kCtrl));
    expectAt(p0, "Ctrl: ten pixels back");

    const auto before = snapshot(form());
    const std::vector<Key> acrossKeys =
        bar().vertical() ? std::vector<Key>{Key::Up, Key::Down} : std::vector<Key>{Key::Left, Key::Right};
    for (Key across : acrossKeys) {
        EXPECT_TRUE(key(form(), across));
        EXPECT_TRUE(key(form(), across, kCtrl));
    }
    EXPECT_EQ(snapshot(form()), before);
    // Keys held with Alt are the window system's.
    EXPECT_FALSE(key(form(), moreKey(bar()), rt::kAltMask));
    EXPECT_EQ(snapshot(form()), before);

    // Only the indicator has moved: the bar and its panes wait for the commit.
    EXPECT_EQ(bar().control->bounds(), barBounds);
    EXPECT_EQ(bar().first->bounds(), first);
    EXPECT_EQ(bar().second->bounds(), second);
    EXPECT_TRUE(bar().dragging);
}

TEST_P(KeyboardOnEveryBar, HomeAndEndGoToTheDragLimitsAndMovesStopThere)
{
    take(form(), bar().number);
    const float upper = testing_support::definedBar(GetParam().window, GetParam().number).farEnd;
    EXPECT_TRUE(key(form(), Key::End));
    EXPECT_EQ(bar().indicatorPosition(), upper);
    key(form(), moreKey(bar()), kCtrl);
    EXPECT_EQ(bar().indicatorPosition(), upper);
    EXPECT_TRUE(key(form(), Key::Home));
    EXPECT_EQ(bar().indicatorPosition(), 100);
    key(form(), Key::PageUp);
    EXPECT_EQ(bar().indicatorPosition(), 100);
}

// The same keys in one program and a mouse drag to where they left the indicator in another: the windows
// must agree control by control.
TEST_P(KeyboardOnEveryBar, CommitLaysOutExactlyAsAMouseReleaseAtTheIndicator)
{
    using Keys = std::function<void(rt::Runtime&, rt::Form&, const splitter::Bar&)>;
    const std::vector<std::pair<const char*, Keys>> moves = {
        {"seven pixels on",
         [](rt::Runtime& r, rt::Form& f, const splitter::Bar& b) {
             for (int i = 0; i < 7; ++i)
                 r.key(f, moreKey(b), 0);
         }},
        {"End", [](rt::Runtime& r, rt::Form& f, const splitter::Bar&) { r.key(f, Key::End, 0); }},
        {"Home, then a pixel back",
         [](rt::Runtime& r, rt::Form& f, const splitter::Bar& b) {
             r.key(f, Key::Home, 0);
             r.key(f, lessKey(b), 0);
         }},
        {"none", [](rt::Runtime&, rt::Form&, const splitter::Bar&) {}},
    };
    const BarId id = GetParam();
    for (Key commit : {Key::Return, Key::Enter, Key::Space})
        for (const auto& [what, keys] : moves) {
            SCOPED_TRACE(std::string(what) + ", committed with key " + std::to_string(static_cast<int>(commit)));
            testing_support::OpenProgram typing(errors), dragging(errors);
            forms::PaneWindow& typed = typing.window(id);
            const splitter::Bar& typedBar = barOf(typed, id.number);
            for (int i = 0; i < id.number; ++i)
                typing.runtime().key(typed, Key::F8, 0);
            keys(typing.runtime(), typed, typedBar);
            const float position = typedBar.indicatorPosition();
            EXPECT_TRUE(typing.runtime().key(typed, commit, 0));

            forms::PaneWindow& dragged = dragging.window(id);
            testing_support::dragBar(dragging.runtime(), dragged, barOf(dragged, id.number), position);

            EXPECT_EQ(snapshot(typed), snapshot(dragged));
            EXPECT_EQ(typedBar.position(), position);
            EXPECT_FALSE(typedBar.dragging);
            EXPECT_EQ(keyboardNumber(typed), 0);
        }
}

TEST_P(KeyboardOnEveryBar, EscapeLeavesEveryControlAsItWas)
{
    for (const char* history : {"as loaded", "after a mouse drag"}) {
        SCOPED_TRACE(history);
        const auto before = everything();
        take(form(), bar().number);
        key(form(), moreKey(bar()), kCtrl);
        key(form(), Key::End);
        EXPECT_TRUE(key(form(), Key::Escape));
        EXPECT_EQ(everything(), before);
        EXPECT_FALSE(bar().dragging);
        EXPECT_EQ(keyboardNumber(form()), 0);
        drag(form(), std::string(bar().control.name()).c_str(), bar().position() + 300);
    }
}

TEST_P(KeyboardOnEveryBar, LosingTheKeyboardCancelsAsEscapeDoes)
{
    const auto before = everything();
    take(form(), bar().number);
    key(form(), lessKey(bar()), kCtrl);
    runtime().focusLost(form());
    EXPECT_EQ(everything(), before);
    EXPECT_EQ(keyboardNumber(form()), 0);
}

INSTANTIATE_TEST_SUITE_P(EveryBar, KeyboardOnEveryBar, ::testing::ValuesIn(testing_support::everyBar()),
                         [](const ::testing::TestParamInfo<BarId>& bar) { return bar.param.label(); });

// One logical pixel is whatever the window's screen makes it: 96, 144 and 192 DPI.
class KeyboardStep : public KeyboardTest, public ::testing::WithParamInterface<double> {};

TEST_P(KeyboardStep, IsOneLogicalPixelOfTheWindowsScreen)
{
    const double twipsPerPixel = GetParam();
    host.setTwipsPerPixel(twipsPerPixel);
    forms::PaneWindow& s3 = openWindow(program, "Splitter3");
    for (int number : {1, 2}) {
        const splitter::Bar& bar = barOf(s3, number);
        take(s3, number);
        const double p0 = bar.position();
        key(s3, moreKey(bar));
        EXPECT_EQ(bar.indicatorPosition(), p0 + twipsPerPixel);
        key(s3, moreKey(bar), kCtrl);
        EXPECT_EQ(bar.indicatorPosition(), p0 + 11 * twipsPerPixel);
        key(s3, Key::PageUp);
        key(s3, lessKey(bar));
        EXPECT_EQ(bar.indicatorPosition(), p0);
        key(s3, Key::PageDown);
        key(s3, Key::Return);
        EXPECT_EQ(bar.position(), p0 + 10 * twipsPerPixel);
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, KeyboardStep, ::testing::Values(15.0, 10.0, 7.5),
                         [](const ::testing::TestParamInfo<double>& p) {
                             const double scale = 15 / p.param;
                             return "scale_" + std::to_string(static_cast<int>(scale)) +
                                    (scale == std::floor(scale) ? "" : "_5");
                         });

TEST_F(KeyboardTest, WithALimitSizeUnder200HomeAndEndGiveTheDragsOwnCrossedLimits)
{
    forms::PaneWindow& s3 = openWindow(program, "Splitter3");
    const splitter::Bar& bar = barOf(s3, 2);  // limited by the window's ScaleHeight
    host.resizeClient(s3, s3.ScaleWidth(), 150);
    take(s3, 2);
    key(s3, Key::Home);
    EXPECT_EQ(bar.indicatorPosition(), 100);
    key(s3, Key::End);
    EXPECT_EQ(bar.indicatorPosition(), 50);
    // From 50 a pixel up is under the margin, so 100; from 100 a pixel down is past the limit, so 50.
    key(s3, Key::Up);
    EXPECT_EQ(bar.indicatorPosition(), 100);
    key(s3, Key::Down);
    EXPECT_EQ(bar.indicatorPosition(), 50);
    // Under 100 the limit would be negative: the drag mends it to 0.
    host.resizeClient(s3, s3.ScaleWidth(), 60);
    key(s3, Key::End);
    EXPECT_EQ(bar.indicatorPosition(), 0);
    key(s3, Key::Return);
    EXPECT_EQ(bar.position(), 0);
}

TEST_F(KeyboardTest, APressCancelsKeyboardModeAndThenDragsAsItAlwaysDid)
{
    forms::PaneWindow& s3 = openWindow(program, "Splitter3");
    const auto before = snapshot(s3);
    take(s3, 1);
    key(s3, Key::Right, kCtrl);
    press(s3, "Image2");
    EXPECT_EQ(keyboardNumber(s3), 0);
    EXPECT_FALSE(s3.dragging(1));
    EXPECT_EQ(s3.control("Picture1").bounds(), before.bounds[0]);  // Picture1 comes first in stored order
    EXPECT_FALSE(s3.control("Picture1").Visible());
    EXPECT_TRUE(s3.dragging(2));
    moveTo(s3, "Image2", 2000);
    release(s3);
    EXPECT_EQ(s3.control("Image2").Top(), 2000);

    // On the bar being moved, the press starts over from the bar, as a second press in a drag does.
    take(s3, 1);
    key(s3, Key::Right, kCtrl);
    press(s3, "Image1");
    EXPECT_EQ(keyboardNumber(s3), 0);
    EXPECT_EQ(barOf(s3, 1).indicatorPosition(), barOf(s3, 1).position());
    moveTo(s3, "Image1", 3000);
    release(s3);
    EXPECT_EQ(s3.control("Image1").Left(), 3000);

    // A press on a pane cancels too.
    take(s3, 2);
    press(s3, "Picture3");
    release(s3);
    EXPECT_EQ(keyboardNumber(s3), 0);
    EXPECT_FALSE(s3.dragging(2));
}

TEST_F(KeyboardTest, KeysDoNothingWhileAMouseButtonIsHeld)
{
    forms::PaneWindow& s3 = openWindow(program, "Splitter3");
    press(s3, "Image1");
    moveTo(s3, "Image1", 3000);
    for (Key k : {Key::F8, Key::Escape, Key::Right, Key::Home, Key::Return})
        EXPECT_FALSE(key(s3, k)) << static_cast<int>(k);
    EXPECT_FALSE(key(s3, Key::F8, kShift));
    EXPECT_EQ(keyboardNumber(s3), 0);
    EXPECT_TRUE(s3.dragging(1));
    EXPECT_EQ(barOf(s3, 1).indicatorPosition(), 3000);
    // Losing the keyboard mid-drag leaves the drag alone too.
    runtime().focusLost(s3);
    EXPECT_TRUE(s3.dragging(1));
    release(s3);
    EXPECT_EQ(s3.control("Image1").Left(), 3000);
    EXPECT_TRUE(key(s3, Key::F8));  // and afterwards the keyboard works again
}

TEST_F(KeyboardTest, ClosingTheWindowCancelsKeyboardModeAndItOpensWithNoBarTaken)
{
    forms::PaneWindow& s5 = openWindow(program, "Splitter5");
    take(s5, 3);
    key(s5, Key::Down, kCtrl);
    runtime().close(s5);
    EXPECT_FALSE(s5.dragging(3));
    EXPECT_EQ(keyboardNumber(s5), 0);
    // A closed window takes no key and has no focus to lose.
    EXPECT_FALSE(key(s5, Key::F8));
    runtime().focusLost(s5);
    EXPECT_EQ(keyboardNumber(s5), 0);
    openWindow(program, "Splitter5");
    EXPECT_FALSE(key(s5, Key::Return));
    EXPECT_EQ(s5.control("Image3").Top(), 3960);
    EXPECT_TRUE(key(s5, Key::F8));
    EXPECT_EQ(keyboardNumber(s5), 1);
}

TEST_F(KeyboardTest, EachWindowHasItsOwnKeyboardMode)
{
    forms::PaneWindow& s4 = openWindow(program, "Splitter4");
    forms::PaneWindow& s5 = openWindow(program, "Splitter5");
    take(s4, 2);
    take(s5, 3);
    key(s5, Key::Escape);
    EXPECT_EQ(keyboardNumber(s4), 2);
    EXPECT_TRUE(s4.dragging(2));
}

}  // namespace
