#include <gtest/gtest.h>

#include "support/window_fixture.h"

namespace {

using testing_support::WindowTest;

class WindowManagement : public WindowTest {
protected:
    void SetUp() override { program.start(); }
};

TEST_F(WindowManagement, StartShowsOnlyTheMainWindowLaidOut)
{
    EXPECT_TRUE(host.isShown(program.splitterForm()));
    EXPECT_EQ(runtime().loadedForms().size(), 1u);
    EXPECT_EQ(program.instance<forms::Splitter3>(), nullptr);
    EXPECT_EQ(program.splitterForm().control("Picture2").Width(), 2340);
}

TEST_F(WindowManagement, ChoosingAnEntryTwiceOpensOneWindow)
{
    runtime().click(program.splitterForm(), 0);  // "３分割"
    forms::Splitter3* first = program.instance<forms::Splitter3>();
    ASSERT_NE(first, nullptr);
    runtime().click(program.splitterForm(), 0);
    EXPECT_EQ(program.instance<forms::Splitter3>(), first);
    EXPECT_EQ(host.showCount(*first), 2);
    EXPECT_EQ(runtime().loadedForms().size(), 2u);
}

TEST_F(WindowManagement, EachEntryOpensItsOwnWindow)
{
    runtime().click(program.splitterForm(), 1);
    runtime().click(program.splitterForm(), 2);
    ASSERT_NE(program.instance<forms::Splitter4>(), nullptr);
    ASSERT_NE(program.instance<forms::Splitter5>(), nullptr);
    EXPECT_EQ(program.instance<forms::Splitter3>(), nullptr);
    EXPECT_TRUE(host.isShown(*program.instance<forms::Splitter4>()));
    EXPECT_TRUE(host.isShown(*program.instance<forms::Splitter5>()));
}

TEST_F(WindowManagement, ReopenedWindowHasFreshControlsLaidOutForItsSize)
{
    program.YonbunMenu_Click();
    forms::Splitter4& s4 = *program.instance<forms::Splitter4>();
    drag(s4, "Image1", 2000);
    drag(s4, "Image3", 1000);
    runtime().close(s4);
    EXPECT_FALSE(s4.loaded());
    EXPECT_FALSE(host.isShown(s4));
    program.YonbunMenu_Click();
    EXPECT_EQ(program.instance<forms::Splitter4>(), &s4);
    testing_support::expectBounds(s4, {{"Picture2", 0, 0, 3360, 6360}, {"Image3", 0, 2760, 4130, 40}});
}

TEST_F(WindowManagement, ClosingTheMainWindowLeavesOthersWorkingUntilTheLastCloses)
{
    program.RokuBunMenu_Click();
    forms::Splitter5& s5 = *program.instance<forms::Splitter5>();
    runtime().close(program.splitterForm());
    EXPECT_FALSE(host.quitRequested());
    drag(s5, "Image4", 2000);
    EXPECT_EQ(s5.control("Image4").Left(), 2000);
    runtime().close(s5);
    EXPECT_TRUE(host.quitRequested());
    EXPECT_TRUE(runtime().loadedForms().empty());
}

TEST_F(WindowManagement, EventsForAClosedWindowAreIgnored)
{
    program.SanbunMenu_Click();
    forms::Splitter3& s3 = *program.instance<forms::Splitter3>();
    runtime().close(s3);
    runtime().mouse(s3, rt::MouseEvent::Down, 1, 0, 10, 10);
    host.resizeClient(s3, 100, 100);
    runtime().click(s3, 0);
    runtime().close(s3);
    EXPECT_FALSE(s3.loaded());
    EXPECT_TRUE(errors.empty());
}

}  // namespace
