#include <gtest/gtest.h>

#include <set>

#include "support/defined_bars.h"
#include "support/every_bar.h"
#include "support/window_fixture.h"

namespace {

using testing_support::DefinedBar;
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
    using Row = std::tuple<std::string, std::string, std::string, std::string, bool>;
    std::set<Row> expected;
    for (const DefinedBar& bar : testing_support::kDefinedBars)
        expected.insert({bar.window, "Image" + std::to_string(bar.number), bar.container, bar.indicator, bar.leftRight});
    std::set<Row> described;
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
    EXPECT_EQ(program.instance<forms::Splitter5>()->control("Picture1").Width(), 97.5f);
}

// Each bar on its own, with what the window definitions say of it.
class EachDefinedBar : public WindowTest, public ::testing::WithParamInterface<DefinedBar> {
protected:
    void SetUp() override { testing_support::openEveryWindow(program); }
    forms::PaneWindow& form() { return testing_support::openWindow(program, GetParam().window); }
    std::string barName() const { return "Image" + std::to_string(GetParam().number); }
    float position()
    {
        const rt::Control& bar = form().control(barName());
        return GetParam().leftRight ? bar.Left() : bar.Top();
    }
    // Drags the bar far past either end, then sets it back where it stood (at its far end it may lie
    // under its container's border, out of the pointer's reach).
    void expectDragEnds(float farEnd)
    {
        const float original = position();
        drag(form(), barName().c_str(), -1e6);
        EXPECT_EQ(position(), 100) << "far left or up";
        drag(form(), barName().c_str(), 1e6);
        EXPECT_EQ(position(), farEnd) << "far right or down";
        runtime().setBarPosition(form(), form().control(barName()), original);
        ASSERT_EQ(position(), original);
    }
};

TEST_P(EachDefinedBar, ADragEndsAHundredTwipsInsideTheSizeThatBoundsIt)
{
    const DefinedBar& defined = GetParam();
    EXPECT_EQ(position(), defined.position);
    expectDragEnds(defined.farEnd);

    // Change the size that bounds the drag, and only that one: the far end follows it.
    if (std::string(defined.limitControl).empty()) {
        host.resizeClient(form(), 11000, 10000);
        expectDragEnds(defined.leftRight ? 10900 : 9900);
    } else {
        // Picture5 follows the window's own vertical bar; the window's size stays as it was.
        drag(form(), "Image1", 6000);
        ASSERT_EQ(form().control(defined.limitControl).Width(), 6000);
        expectDragEnds(5900);
    }
}

TEST_P(EachDefinedBar, DraggingItLeavesEveryOtherBarsFlagAndIndicatorAlone)
{
    const DefinedBar& defined = GetParam();
    std::vector<std::pair<rt::Rect, bool>> before;
    for (const DefinedBar& other : testing_support::kDefinedBars) {
        const rt::Control& indicator = testing_support::openWindow(program, other.window).control(other.indicator);
        before.push_back({indicator.bounds(), indicator.Visible()});
    }
    press(form(), barName().c_str());
    moveTo(form(), barName().c_str(), defined.position - 500);
    EXPECT_TRUE(form().control(defined.indicator).Visible());
    std::size_t i = 0;
    for (const DefinedBar& other : testing_support::kDefinedBars) {
        forms::PaneWindow& window = testing_support::openWindow(program, other.window);
        const rt::Control& indicator = window.control(other.indicator);
        if (std::string(other.window) != defined.window || other.number != defined.number) {
            SCOPED_TRACE(other.label());
            EXPECT_FALSE(window.dragging(other.number));
            EXPECT_EQ(indicator.bounds(), before[i].first);
            EXPECT_EQ(indicator.Visible(), before[i].second);
        }
        ++i;
    }
    release(form());
    EXPECT_EQ(position(), defined.position - 500);
}

INSTANTIATE_TEST_SUITE_P(EveryBar, EachDefinedBar, ::testing::ValuesIn(testing_support::kDefinedBars),
                         [](const ::testing::TestParamInfo<DefinedBar>& bar) { return bar.param.label(); });

}  // namespace
