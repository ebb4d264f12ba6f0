#include <gtest/gtest.h>

#include "support/window_fixture.h"

namespace {

using testing_support::expectBounds;
using testing_support::WindowTest;

class SplitterFormLayout : public WindowTest {
protected:
    void SetUp() override { program.start(); }
    forms::SplitterForm& form() { return program.splitterForm(); }
};

TEST_F(SplitterFormLayout, FirstLayoutAtTheDefinedSize)
{
    expectBounds(form(), {{"Picture2", 0, 0, 2340, 4215},
                          {"Image1", 2340, 0, 135, 4215},
                          {"Picture3", 2380, 0, 2765, 4215},
                          {"Picture1", 4800, 120, 135, 3975}});
}

TEST_F(SplitterFormLayout, ReleaseWithTheIndicatorAt3000)
{
    drag(form(), "Image1", 3000);
    expectBounds(form(), {{"Picture2", 0, 0, 3000, 4215},
                          {"Image1", 3000, 0, 135, 4215},
                          {"Picture3", 3040, 0, 2105, 4215}});
}

TEST_F(SplitterFormLayout, EnlargedTo8000By6000)
{
    host.resizeClient(form(), 8000, 6000);
    expectBounds(form(), {{"Picture2", 0, 0, 2340, 6000},
                          {"Image1", 2340, 0, 135, 6000},
                          {"Picture3", 2380, 0, 5620, 6000}});
}

TEST_F(SplitterFormLayout, NarrowedBelowTheSplitKeepsTheRightPanesWidth)
{
    host.resizeClient(form(), 2000, 4215);
    expectBounds(form(), {{"Picture2", 0, 0, 2340, 4215},
                          {"Image1", 2340, 0, 135, 4215},
                          {"Picture3", 2380, 0, 2765, 4215}});
    host.resizeClient(form(), 6000, 4215);  // widened again: the panes come back
    expectBounds(form(), {{"Picture3", 2380, 0, 3620, 4215}});
}

TEST_F(SplitterFormLayout, ZeroHeightClient)
{
    host.resizeClient(form(), 5145, 0);
    expectBounds(form(), {{"Picture2", 0, 0, 2340, 0}, {"Image1", 2340, 0, 135, 0}, {"Picture3", 2380, 0, 2765, 0}});
}

TEST_F(SplitterFormLayout, EdgePositionsOfTheLayoutRoutine)
{
    form().LayoutForImage1(0);
    expectBounds(form(), {{"Picture2", 0, 0, 0, 4215}, {"Image1", 0, 0, 135, 4215}, {"Picture3", 40, 0, 5105, 4215}});
    form().LayoutForImage1(5105);  // W - 40: the right pane's width is exactly 0
    expectBounds(form(), {{"Picture3", 5145, 0, 0, 4215}});
    form().LayoutForImage1(5200);  // beyond W - 40: the right pane keeps its width, its Left still moves
    expectBounds(form(), {{"Picture2", 0, 0, 5200, 4215}, {"Picture3", 5240, 0, 0, 4215}});
    form().LayoutForImage1(-50);  // the left pane refuses the width; positions are applied
    expectBounds(form(), {{"Picture2", 0, 0, 5200, 4215}, {"Image1", -50, 0, 135, 4215}, {"Picture3", -10, 0, 0, 4215}});
}

TEST_F(SplitterFormLayout, ResizingNeverMovesTheBarAndRepeatsAreIdempotent)
{
    drag(form(), "Image1", 1800);
    for (int w : {3000, 9000, 2500, 7000}) {
        host.resizeClient(form(), w, w / 2);
        EXPECT_EQ(form().control("Image1").Left(), 1800);
        EXPECT_EQ(form().control("Picture2").Width(), 1800);
    }
    const auto once = testing_support::snapshot(form());
    form().Form_Resize();
    EXPECT_EQ(testing_support::snapshot(form()), once);
}

}  // namespace
