#include <gtest/gtest.h>

#include "support/window_fixture.h"

namespace {

using testing_support::WindowTest;

class ResizeTest : public WindowTest {
protected:
    void SetUp() override { program.start(); }
    forms::SplitterForm& form() { return program.splitterForm(); }
};

TEST_F(ResizeTest, TooNarrowWindowIsWidenedThroughANestedResize)
{
    host.resizeClient(form(), 100, 3000);
    EXPECT_EQ(form().Width(), 2000);
    EXPECT_EQ(form().ScaleWidth(), 2000 - rt::MemoryHost::kFrameWidth);
    EXPECT_EQ(form().ScaleHeight(), 3000);
    // The outer run laid out again after the nested one, with the same result.
    testing_support::expectBounds(form(), {{"Picture2", 0, 0, 2340, 3000}, {"Image1", 2340, 0, 135, 3000}});
    EXPECT_TRUE(errors.empty());
}

TEST_F(ResizeTest, DeferredResizeAfterTheWidthAssignmentGivesTheSameLayout)
{
    host.setDeferResize(true);
    host.resizeClient(form(), 100, 3000);
    host.deliverPendingResizes();
    EXPECT_EQ(form().Width(), 2000);
    testing_support::expectBounds(form(), {{"Picture2", 0, 0, 2340, 3000}, {"Image1", 2340, 0, 135, 3000}});
}

TEST_F(ResizeTest, WidthOfExactlyTheMinimumIsNotAssignedAgain)
{
    host.setRefuseResize(true);  // an assignment would now fail, silently
    const unsigned long skippedBefore = rt::skippedStatements();
    host.resizeClient(form(), 2000 - rt::MemoryHost::kFrameWidth, 500);
    EXPECT_EQ(form().Width(), 2000);
    // Only the right pane's negative width was skipped; no Width assignment was tried.
    EXPECT_EQ(rt::skippedStatements() - skippedBefore, 1u);
}

TEST_F(ResizeTest, RefusedWidthAssignmentIsSkippedAndTheLayoutStillRuns)
{
    host.setRefuseResize(true);
    host.resizeClient(form(), 500, 700);
    EXPECT_EQ(form().ScaleWidth(), 500);
    testing_support::expectBounds(form(), {{"Picture2", 0, 0, 2340, 700}, {"Picture3", 2380, 0, 2765, 700}});
    EXPECT_TRUE(errors.empty());
}

TEST_F(ResizeTest, UnusableSizesFromTheWindowSystemAreIgnored)
{
    const auto before = testing_support::snapshot(form());
    host.resizeClient(form(), -1, 100);
    host.resizeClient(form(), 1e300, 100);
    EXPECT_EQ(testing_support::snapshot(form()), before);
    EXPECT_EQ(form().ScaleWidth(), 5145);
    EXPECT_EQ(errors.size(), 2u);
    errors.clear();
}

}  // namespace
