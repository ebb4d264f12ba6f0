#include <gtest/gtest.h>

#include "support/window_fixture.h"

namespace {

using testing_support::expectBounds;
using testing_support::WindowTest;

class Splitter3Layout : public WindowTest {
protected:
    void SetUp() override { program.SanbunMenu_Click(); }
    forms::Splitter3& form() { return *program.instance<forms::Splitter3>(); }
};

TEST_F(Splitter3Layout, FirstLayoutAtTheDefinedSize)
{
    expectBounds(form(), {{"Picture2", 0, 0, 3360, 6360},
                          {"Image1", 3360, 0, 195, 6360},
                          {"Picture3", 3400, 0, 3620, 6360},
                          {"Picture1", 6660, 180, 135, 5895},
                          {"Picture5", 0, 0, 3360, 2700},
                          {"Image2", 0, 2700, 3360, 40},
                          {"Picture6", 0, 2740, 3360, 3620},
                          {"Picture4", 0, 120, 3360, 255}});
}

TEST_F(Splitter3Layout, ReleaseOfImage1At4000WidensTheNestedSplit)
{
    drag(form(), "Image1", 4000);
    expectBounds(form(), {{"Picture2", 0, 0, 4000, 6360},
                          {"Image1", 4000, 0, 195, 6360},
                          {"Picture3", 4040, 0, 2980, 6360},
                          {"Picture5", 0, 0, 4000, 2700},
                          {"Image2", 0, 2700, 4000, 40},
                          {"Picture6", 0, 2740, 4000, 3620},
                          {"Picture4", 0, 120, 4000, 255}});
}

TEST_F(Splitter3Layout, ReleaseOfImage2At1500ChangesOnlyTheContainersChildren)
{
    const rt::Rect p2 = form().control("Picture2").bounds(), p3 = form().control("Picture3").bounds();
    drag(form(), "Image2", 1500);
    expectBounds(form(), {{"Picture5", 0, 0, 3360, 1500}, {"Image2", 0, 1500, 3360, 40}, {"Picture6", 0, 1540, 3360, 4820}});
    EXPECT_EQ(form().control("Picture2").bounds(), p2);
    EXPECT_EQ(form().control("Picture3").bounds(), p3);
    EXPECT_EQ(form().control("Image1").Left(), 3360);
}

TEST_F(Splitter3Layout, MadeLowerThanTheSplitKeepsTheLowerPanesHeight)
{
    host.resizeClient(form(), 7020, 2000);
    expectBounds(form(), {{"Picture2", 0, 0, 3360, 2000},
                          {"Picture3", 3400, 0, 3620, 2000},
                          {"Image1", 3360, 0, 195, 2000},
                          {"Picture5", 0, 0, 3360, 2700},
                          {"Image2", 0, 2700, 3360, 40},
                          {"Picture6", 0, 2740, 3360, 3620}});
    host.resizeClient(form(), 7020, 8000);  // growing again restores the lower pane
    expectBounds(form(), {{"Picture6", 0, 2740, 3360, 5260}});
}

TEST_F(Splitter3Layout, NestedWidthsFollowTheContainerAfterEveryLayout)
{
    for (int w : {2500, 7020, 12000}) {
        host.resizeClient(form(), w, 5000);
        for (const char* name : {"Picture5", "Picture6", "Image2", "Picture4"})
            EXPECT_EQ(form().control(name).Width(), form().control("Picture2").Width()) << name << " at " << w;
    }
    EXPECT_EQ(form().control("Image1").Width(), 195);
}

}  // namespace
