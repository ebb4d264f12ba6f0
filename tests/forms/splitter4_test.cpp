#include <gtest/gtest.h>

#include "support/window_fixture.h"

namespace {

using testing_support::expectBounds;
using testing_support::WindowTest;

class Splitter4Layout : public WindowTest {
protected:
    void SetUp() override { program.YonbunMenu_Click(); }
    forms::Splitter4& form() { return *program.instance<forms::Splitter4>(); }
};

TEST_F(Splitter4Layout, FirstLayoutAtTheDefinedSize)
{
    expectBounds(form(), {{"Picture2", 0, 0, 3360, 6360},
                          {"Image1", 3360, 0, 195, 6360},
                          {"Picture3", 3400, 0, 4130, 6360},
                          {"Picture1", 7260, 120, 135, 5895},
                          {"Picture5", 0, 0, 3360, 2700},
                          {"Image2", 0, 2700, 3360, 40},
                          {"Picture6", 0, 2740, 3360, 3620},
                          {"Picture4", 0, 120, 3360, 255},
                          {"Picture8", 0, 0, 4130, 2760},
                          {"Image3", 0, 2760, 4130, 40},
                          {"Picture9", 0, 2800, 4130, 3560},
                          {"Picture7", 0, 180, 4130, 255}});
}

TEST_F(Splitter4Layout, ShrunkStraightTo3000By2500)
{
    host.resizeClient(form(), 3000, 2500);
    expectBounds(form(), {{"Picture2", 0, 0, 3360, 2500},
                          {"Image1", 3360, 0, 195, 2500},
                          {"Picture3", 3400, 0, 4130, 2500},
                          {"Picture5", 0, 0, 3360, 2700},
                          {"Image2", 0, 2700, 3360, 40},
                          {"Picture6", 0, 2740, 3360, 3620},
                          {"Picture8", 0, 0, 4130, 2760},
                          {"Image3", 0, 2760, 4130, 40},
                          {"Picture9", 0, 2800, 4130, 3560}});
}

TEST_F(Splitter4Layout, ShrinkingThroughIntermediateSizesKeepsTheLastAcceptedSizes)
{
    host.resizeClient(form(), 5000, 4000);
    host.resizeClient(form(), 3000, 2500);
    // At 5000 x 4000 the right container was 1600 wide and the lower panes 1260 and 1200 high.
    expectBounds(form(), {{"Picture3", 3400, 0, 1600, 2500},
                          {"Picture6", 0, 2740, 3360, 1260},
                          {"Picture9", 0, 2800, 1600, 1200}});
}

TEST_F(Splitter4Layout, ReleaseOfImage1At2000)
{
    drag(form(), "Image1", 2000);
    expectBounds(form(), {{"Picture2", 0, 0, 2000, 6360},
                          {"Picture3", 2040, 0, 5490, 6360},
                          {"Picture5", 0, 0, 2000, 2700},
                          {"Picture6", 0, 2740, 2000, 3620},
                          {"Image2", 0, 2700, 2000, 40},
                          {"Picture4", 0, 120, 2000, 255},
                          {"Picture8", 0, 0, 5490, 2760},
                          {"Picture9", 0, 2800, 5490, 3560},
                          {"Image3", 0, 2760, 5490, 40},
                          {"Picture7", 0, 180, 5490, 255}});
}

TEST_F(Splitter4Layout, ExactFitsGiveZeroSizes)
{
    form().LayoutForImage1(7530 - 40);
    EXPECT_EQ(form().control("Picture3").Width(), 0);
    form().LayoutForImage2(6360 - 40);
    EXPECT_EQ(form().control("Picture6").Height(), 0);
}

TEST_F(Splitter4Layout, ZeroHeightClientRejectsOnlyTheLowerPanesHeights)
{
    host.resizeClient(form(), 7530, 0);
    expectBounds(form(), {{"Picture2", 0, 0, 3360, 0},
                          {"Picture3", 3400, 0, 4130, 0},
                          {"Image1", 3360, 0, 195, 0},
                          {"Picture6", 0, 2740, 3360, 3620},
                          {"Picture9", 0, 2800, 4130, 3560}});
}

TEST_F(Splitter4Layout, ReleasingAHorizontalBarTouchesOnlyItsOwnContainer)
{
    const auto before = testing_support::snapshot(form());
    drag(form(), "Image3", 1000);
    const auto after = testing_support::snapshot(form());
    const auto& controls = form().controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const rt::Control* c = controls[i].get();
        if (c->parent() && c->parent()->name() == "Picture3")
            continue;
        EXPECT_EQ(after.bounds[i], before.bounds[i]) << c->name();
    }
    expectBounds(form(), {{"Picture8", 0, 0, 4130, 1000}, {"Image3", 0, 1000, 4130, 40}, {"Picture9", 0, 1040, 4130, 5320}});
}

}  // namespace
