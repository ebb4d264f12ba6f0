#include <gtest/gtest.h>

#include "support/window_fixture.h"

namespace {

using testing_support::WindowTest;

class ControlTest : public WindowTest {
protected:
    void SetUp() override { program.start(); }
    rt::Control& picture2() { return program.splitterForm().control("Picture2"); }
};

TEST_F(ControlTest, NegativeSizeIsRefusedAndTheOldValueKept)
{
    rt::Control& c = picture2();
    const float width = c.Width(), height = c.Height();
    EXPECT_THROW(c.setWidth(-1), rt::RuntimeError);
    EXPECT_THROW(c.setHeight(-0.5), rt::RuntimeError);
    EXPECT_EQ(c.Width(), width);
    EXPECT_EQ(c.Height(), height);
    EXPECT_TRUE(c.setWidth(0));  // zero is a valid size
    EXPECT_EQ(c.Width(), 0);
}

TEST_F(ControlTest, PositionsAcceptNegativeValues)
{
    EXPECT_TRUE(picture2().setLeft(-500));
    EXPECT_TRUE(picture2().setTop(-0.25));
    EXPECT_EQ(picture2().Left(), -500);
    EXPECT_EQ(picture2().Top(), -0.25f);
}

TEST_F(ControlTest, ResumeNextSkipsTheFailingStatementAndRunsTheNext)
{
    rt::Control& c = picture2();
    {
        rt::OnErrorResumeNext onError;
        EXPECT_FALSE(c.setWidth(-10));
        EXPECT_FALSE(c.setLeft(rt::Number(1e39)));
        EXPECT_TRUE(c.setTop(77));
    }
    EXPECT_EQ(c.Width(), 2340);
    EXPECT_EQ(c.Left(), 0);
    EXPECT_EQ(c.Top(), 77);
}

TEST_F(ControlTest, AControlIsSeenOnlyWhileEveryContainerAboveItIsVisible)
{
    forms::PaneWindow& five = *program.open("Splitter5");
    rt::Control& inner = five.control("Picture11");  // in Picture5, in Picture2
    EXPECT_TRUE(inner.visibleWithContainers());
    five.control("Picture2").setVisible(false);
    EXPECT_TRUE(inner.Visible());
    EXPECT_FALSE(inner.visibleWithContainers());
    EXPECT_TRUE(five.control("Picture3").visibleWithContainers());  // beside it, not inside
    five.control("Picture2").setVisible(true);
    inner.setVisible(false);
    EXPECT_FALSE(inner.visibleWithContainers());
    EXPECT_TRUE(five.control("Picture5").visibleWithContainers());
}

TEST_F(ControlTest, MoveChangesNothingWhenAnyValueIsRefused)
{
    rt::Control& c = picture2();
    const rt::Rect before = c.bounds();
    EXPECT_THROW(c.Move(1, 2, -3, 4), rt::RuntimeError);
    EXPECT_EQ(c.bounds(), before);
    EXPECT_TRUE(c.Move(1, 2, 3, 4));
    EXPECT_EQ(c.bounds(), (rt::Rect{1, 2, 3, 4}));
}

TEST_F(ControlTest, ValuesAreStoredInSinglePrecision)
{
    rt::Control& c = picture2();
    c.setLeft(0.1);
    EXPECT_EQ(c.Left(), 0.1f);
    c.setWidth(16777217.0);  // not representable: rounds to the nearest Single
    EXPECT_EQ(c.Width(), 16777216.0f);
}

TEST_F(ControlTest, ChangesReportOnlyTheAreasThatMustBeRepainted)
{
    rt::Form& form = program.splitterForm();
    host.takeRepaints();
    form.control("Image1").setLeft(1000);  // an Image draws nothing
    EXPECT_TRUE(host.takeRepaints().empty());
    picture2().setWidth(picture2().Width());  // no change
    EXPECT_TRUE(host.takeRepaints().empty());
    // Resized where it stands: only the strip its right edge and frame swept across, then its bottom's.
    const double b = picture2().borderThickness();
    ASSERT_GT(b, 0);
    picture2().setWidth(1000);
    EXPECT_EQ(host.takeRepaints(), (std::vector<rt::Rect>{{1000 - b, 0, 2340 - 1000 + b, 4215}}));
    picture2().setHeight(5000);  // grows past the client area, which clips the strip
    EXPECT_EQ(host.takeRepaints(), (std::vector<rt::Rect>{{0, 4215 - b, 1000, b}}));
    picture2().Move(0, 0, 1200, 4000);
    EXPECT_EQ(host.takeRepaints(), (std::vector<rt::Rect>{{1000 - b, 0, 200 + b, 4215}, {0, 4000 - b, 1200, 215 + b}}));
    // Moved: the whole old and new areas.
    picture2().setLeft(100);
    EXPECT_EQ(host.takeRepaints(), (std::vector<rt::Rect>{{0, 0, 1200, 4000}, {100, 0, 1200, 4000}}));
    // Shown or hidden: its whole area.
    picture2().setVisible(false);
    EXPECT_EQ(host.takeRepaints(), (std::vector<rt::Rect>{{100, 0, 1200, 4000}}));
    picture2().setWidth(50);  // hidden: nothing shows
    EXPECT_TRUE(host.takeRepaints().empty());
    picture2().setVisible(true);
    EXPECT_EQ(host.takeRepaints(), (std::vector<rt::Rect>{{100, 0, 50, 4000}}));

    // Wider than the client area, then exactly as wide: the same part shows, but now with its right border.
    picture2().setLeft(0);
    picture2().setWidth(6000);
    host.takeRepaints();
    picture2().setWidth(form.ScaleWidth());
    const auto edge = host.takeRepaints();
    ASSERT_EQ(edge.size(), 1u);
    EXPECT_EQ(edge[0].right(), 5145);
    EXPECT_EQ(edge[0].left, 5145 - b);
}

}  // namespace
