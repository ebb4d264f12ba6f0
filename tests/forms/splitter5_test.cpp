#include <gtest/gtest.h>

#include "support/window_fixture.h"

namespace {

using testing_support::expectBounds;
using testing_support::WindowTest;

class Splitter5Layout : public WindowTest {
protected:
    void SetUp() override { program.RokuBunMenu_Click(); }
    forms::Splitter5& form() { return *program.instance<forms::Splitter5>(); }
};

TEST_F(Splitter5Layout, FirstLayoutAtTheDefinedSize)
{
    expectBounds(form(), {{"Picture2", 0, 0, 4560, 8370},
                          {"Image1", 4560, 0, 195, 8370},
                          {"Picture3", 4600, 0, 4310, 8370},
                          {"Picture1", 8520, 120, 135, 7815},
                          {"Picture5", 0, 0, 4560, 4020},
                          {"Image2", 0, 4020, 4560, 40},
                          {"Picture6", 0, 4060, 4560, 4310},
                          {"Picture4", 0, 120, 4560, 255},
                          {"Picture11", 0, 0, 1620, 4020},
                          {"Image4", 1620, 0, 135, 4020},
                          {"Picture12", 1660, 0, 2900, 4020},
                          {"Picture10", 3000, 300, 195, 2595},
                          {"Picture8", 0, 0, 4310, 3960},
                          {"Image3", 0, 3960, 4310, 40},
                          {"Picture9", 0, 4000, 4310, 4370},
                          {"Picture7", 0, 180, 4310, 255}});
}

TEST_F(Splitter5Layout, GrowingTo10000By9000)
{
    host.resizeClient(form(), 10000, 9000);
    expectBounds(form(), {{"Picture2", 0, 0, 4560, 9000},
                          {"Image1", 4560, 0, 195, 9000},
                          {"Picture3", 4600, 0, 5400, 9000},
                          {"Picture5", 0, 0, 4560, 4020},
                          {"Picture6", 0, 4060, 4560, 4940},
                          {"Picture11", 0, 0, 1620, 4020},
                          {"Image4", 1620, 0, 135, 4020},
                          {"Picture8", 0, 0, 5400, 3960},
                          {"Image3", 0, 3960, 5400, 40},
                          {"Picture9", 0, 4000, 5400, 5000},
                          {"Picture7", 0, 180, 5400, 255}});
}

TEST_F(Splitter5Layout, ShrinkingTo4000By3000)
{
    host.resizeClient(form(), 4000, 3000);
    expectBounds(form(), {{"Picture2", 0, 0, 4560, 3000},
                          {"Image1", 4560, 0, 195, 3000},
                          {"Picture3", 4600, 0, 4310, 3000},
                          {"Picture6", 0, 4060, 4560, 4310},
                          {"Picture9", 0, 4000, 4310, 4370}});
}

TEST_F(Splitter5Layout, ReleaseOfImage1At3000)
{
    drag(form(), "Image1", 3000);
    expectBounds(form(), {{"Picture2", 0, 0, 3000, 8370},
                          {"Image1", 3000, 0, 195, 8370},
                          {"Picture3", 3040, 0, 5870, 8370},
                          {"Picture5", 0, 0, 3000, 4020},
                          {"Picture6", 0, 4060, 3000, 4310},
                          {"Image2", 0, 4020, 3000, 40},
                          {"Picture4", 0, 120, 3000, 255},
                          {"Picture8", 0, 0, 5870, 3960},
                          {"Picture9", 0, 4000, 5870, 4370},
                          {"Image3", 0, 3960, 5870, 40},
                          {"Picture7", 0, 180, 5870, 255},
                          {"Picture11", 0, 0, 1620, 4020},
                          {"Picture12", 1660, 0, 1340, 4020}});
}

TEST_F(Splitter5Layout, ReleaseOfImage1At1600LeavesTheInnerBarBeyondItsContainer)
{
    drag(form(), "Image1", 1600);
    expectBounds(form(), {{"Picture5", 0, 0, 1600, 4020},
                          {"Image4", 1620, 0, 135, 4020},
                          {"Picture11", 0, 0, 1620, 4020},
                          {"Picture12", 1660, 0, 2900, 4020}});
}

TEST_F(Splitter5Layout, ReleaseOfImage2At3000RelaysTheUpperContainer)
{
    const rt::Rect p8 = form().control("Picture8").bounds(), p9 = form().control("Picture9").bounds();
    drag(form(), "Image2", 3000);
    expectBounds(form(), {{"Picture5", 0, 0, 4560, 3000},
                          {"Image2", 0, 3000, 4560, 40},
                          {"Picture6", 0, 3040, 4560, 5330},
                          {"Picture11", 0, 0, 1620, 3000},
                          {"Picture12", 1660, 0, 2900, 3000},
                          {"Image4", 1620, 0, 135, 3000}});
    EXPECT_EQ(form().control("Picture8").bounds(), p8);
    EXPECT_EQ(form().control("Picture9").bounds(), p9);
}

TEST_F(Splitter5Layout, ReleaseOfImage4At2000StaysInsideItsContainer)
{
    const auto before = testing_support::snapshot(form());
    drag(form(), "Image4", 2000);
    expectBounds(form(), {{"Picture11", 0, 0, 2000, 4020}, {"Image4", 2000, 0, 135, 4020}, {"Picture12", 2040, 0, 2520, 4020}});
    const auto after = testing_support::snapshot(form());
    const auto& controls = form().controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (!controls[i]->parent() || controls[i]->parent()->name() != "Picture5") {
            EXPECT_EQ(after.bounds[i], before.bounds[i]) << controls[i]->name();
        }
    }
}

TEST_F(Splitter5Layout, SecondResizeAtTheSameSizeAssignsTheSameValues)
{
    const auto once = testing_support::snapshot(form());
    form().Form_Resize();
    EXPECT_EQ(testing_support::snapshot(form()), once);
}

// After any layout with a valid position and room for it, each split's two sides and its gap add up
// to the split's reference size, and the vertical bars' indicators are never moved.
TEST_F(Splitter5Layout, SidesAndGapAddUpAfterEveryResizeWithRoom)
{
    const rt::Rect p1 = form().control("Picture1").bounds(), p10 = form().control("Picture10").bounds();
    for (int w = 4800; w <= 20000; w += 1373)
        for (int h = 4500; h <= 20000; h += 2111) {
            host.resizeClient(form(), w, h);
            auto& f = form();
            auto W = [&](const char* n) { return f.control(n).Width(); };
            auto H = [&](const char* n) { return f.control(n).Height(); };
            EXPECT_EQ(W("Picture2") + 40 + W("Picture3"), f.ScaleWidth());
            EXPECT_EQ(H("Picture5") + 40 + H("Picture6"), H("Picture2"));
            EXPECT_EQ(H("Picture8") + 40 + H("Picture9"), H("Picture3"));
            EXPECT_EQ(W("Picture11") + 40 + W("Picture12"), W("Picture5"));
            EXPECT_EQ(f.control("Picture1").bounds(), p1);
            EXPECT_EQ(f.control("Picture10").bounds(), p10);
        }
}

}  // namespace
