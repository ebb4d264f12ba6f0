#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "forms/definitions.h"
#include "support/window_fixture.h"

namespace {

using testing_support::WindowTest;

class DefinitionsTest : public WindowTest {};

int depth(const rt::Control& c)
{
    int d = 1;
    for (const rt::Control* p = c.parent(); p; p = p->parent())
        ++d;
    return d;
}

TEST_F(DefinitionsTest, FreshSplitter5HasTwelvePictureBoxesAndFourImagesThreeLevelsDeep)
{
    program.RokuBunMenu_Click();
    const rt::Form& s5 = *program.instance<forms::Splitter5>();
    const auto& controls = s5.controls();
    EXPECT_EQ(std::count_if(controls.begin(), controls.end(), [](auto& c) { return c->isPictureBox(); }), 12);
    EXPECT_EQ(std::count_if(controls.begin(), controls.end(), [](auto& c) { return !c->isPictureBox(); }), 4);
    for (const char* name : {"Picture10", "Picture11", "Picture12", "Image4"}) {
        const rt::Control& c = s5.control(name);
        EXPECT_EQ(depth(c), 3) << name;
        EXPECT_EQ(c.parent()->name(), "Picture5") << name;
        EXPECT_EQ(c.parent()->parent()->name(), "Picture2") << name;
    }
}

TEST_F(DefinitionsTest, TabIndicesRunFromZeroOverEachWindowsPictureBoxes)
{
    program.start();
    program.SanbunMenu_Click();
    program.YonbunMenu_Click();
    program.RokuBunMenu_Click();
    for (const rt::Form* form : std::initializer_list<const rt::Form*>{
             &program.splitterForm(), program.instance<forms::Splitter3>(), program.instance<forms::Splitter4>(), program.instance<forms::Splitter5>()}) {
        std::set<int> indices;
        int pictures = 0;
        for (const auto& c : form->controls()) {
            if (c->isPictureBox()) {
                ++pictures;
                indices.insert(c->tabIndex());
            } else {
                EXPECT_EQ(c->tabIndex(), -1) << c->name();
            }
        }
        ASSERT_EQ(static_cast<int>(indices.size()), pictures) << form->name();
        EXPECT_EQ(*indices.begin(), 0);
        EXPECT_EQ(*indices.rbegin(), pictures - 1);
    }
}

TEST_F(DefinitionsTest, StoredBoundsColoursAndPointersAreLoadedAsDefined)
{
    rt::MemoryHost bare;
    struct NoLayout : forms::Splitter3 {
        using Splitter3::Splitter3;
        void Form_Resize() override {}
    } s3(bare.runtime());
    s3.Show();
    testing_support::expectBounds(s3, {{"Picture1", 6660, 180, 135, 5895},
                                       {"Picture3", 3780, 240, 2535, 5655},
                                       {"Picture2", 360, 180, 2835, 5955},
                                       {"Picture4", 120, 120, 2535, 255},
                                       {"Picture6", 300, 3240, 2295, 2355},
                                       {"Picture5", 240, 540, 2355, 1995},
                                       {"Image2", 180, 2700, 2535, 255},
                                       {"Image1", 3360, 180, 195, 5955}});
    double x = 0, y = 0;
    s3.originOf(s3.control("Picture4"), x, y);
    EXPECT_EQ(x, 360 + rt::kBorderTwips + 120);  // inside Picture2's inner area, not at the window corner
    EXPECT_EQ(y, 180 + rt::kBorderTwips + 120);

    const rt::Control& p6 = s3.control("Picture6");
    ASSERT_TRUE(p6.backColor().has_value());
    EXPECT_EQ(p6.backColor()->red(), 255);
    EXPECT_EQ(p6.backColor()->green(), 192);
    EXPECT_EQ(p6.backColor()->blue(), 128);
    EXPECT_FALSE(s3.control("Picture2").backColor().has_value());  // the system's control background
    EXPECT_EQ(s3.control("Image1").pointer(), rt::MousePointer::SizeWestEast);
    EXPECT_EQ(s3.control("Image2").pointer(), rt::MousePointer::SizeNorthSouth);
    // Indicators: borderless, hidden until their bar is first dragged.
    EXPECT_FALSE(s3.control("Picture1").Visible());
    EXPECT_EQ(s3.control("Picture4").borderStyle(), rt::BorderStyle::None);
    EXPECT_EQ(s3.control("Picture5").borderStyle(), rt::BorderStyle::Sunken);
}

TEST_F(DefinitionsTest, MenuCaptionsDecodeFromTheStoredCodePage)
{
    program.start();
    const auto& menu = program.splitterForm().menu();
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_EQ(menu[0].name, "SanbunMenu");
    EXPECT_EQ(menu[0].caption, "３分割");
    EXPECT_EQ(menu[1].caption, "４分割");
    EXPECT_EQ(menu[2].name, "RokuBunMenu");
    EXPECT_EQ(menu[2].caption, "５分割");
    EXPECT_TRUE(errors.empty());
}

TEST_F(DefinitionsTest, IconsAreThirtyTwoSquareInSixteenColoursAndTheMainWindowsDiffers)
{
    for (const rt::IconDefinition* icon : {&forms::kMainWindowIcon, &forms::kPaneWindowIcon, &forms::kProgramIcon})
        for (std::string_view row : icon->rows) {
            ASSERT_EQ(row.size(), 32u);
            EXPECT_EQ(row.find_first_not_of("0123456789ABCDEF."), std::string_view::npos);
        }
    EXPECT_EQ(forms::kSplitter3Definition.icon, forms::kSplitter5Definition.icon);
    EXPECT_NE(forms::kSplitterFormDefinition.icon, forms::kSplitter3Definition.icon);
    EXPECT_NE(forms::kMainWindowIcon.rows, forms::kPaneWindowIcon.rows);
}

}  // namespace
