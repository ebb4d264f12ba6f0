// A window that exists only here: the main window's two panes with the right one split once more. It is
// written the way every window of the program is (a definition, named control handles, one row per bar,
// the layout routines), and nothing else is told about its second bar: the mouse dispatch, the drag
// protocol, the layout checks and the accessible roles all find it from the window's own description.
#include <gtest/gtest.h>

#include "forms/definitions.h"
#include "forms/pane_window.h"
#include "runtime/defects.h"
#include "replay/invariants.h"
#include "splitter/split_layout.h"
#include "support/window_fixture.h"

namespace {

using namespace forms::def;

constexpr rt::ControlDefinition kControls[] = {
    indicator("Picture1", "", 4800, 120, 135, 3975, {0x00404040}, 0),
    container("Picture3", "", 2700, 180, 1935, 3795, StoredColor{0x00FFC0C0}, 2),
    indicator("Picture4", "Picture3", 120, 120, 1800, 255, {0x00FF0000}, 3),
    picture("Picture6", "Picture3", 240, 2400, 1500, 1200, StoredColor{0x0080C0FF}, 5),
    picture("Picture5", "Picture3", 240, 480, 1500, 1500, StoredColor{0x00C0FFFF}, 4),
    bar("Image2", "Picture3", 180, 2000, 1800, 255, kNorthSouth),
    picture("Picture2", "", 180, 180, 1980, 3780, StoredColor{0x00C0FFFF}, 1),
    bar("Image1", "", 2340, 120, 135, 3855, kWestEast),
};
const rt::FormDefinition kDefinition = {"ExtraBar", "ExtraBar", 5145, 4215, 0, 0, "Form1", nullptr, kControls, {}};

class ExtraBarWindow : public forms::PaneWindow {
public:
    explicit ExtraBarWindow(rt::Runtime& runtime);

    void LayoutForImage1(rt::Single x)
    {
        rt::OnErrorResumeNext onError;
        splitter::layOutVerticalSplit({*Picture2, *Image1, *Picture3, splitter::ReferenceArea::clientOf(*this)}, x);
        LayoutForImage2(Image2->Top());
    }
    void LayoutForImage2(rt::Single y)
    {
        if (y == 1234)
            throw std::logic_error("a broken invariant");  // stands for a defect in a layout routine
        splitter::layOutHorizontalSplit(
            {*Picture5, *Image2, *Picture6, *Picture4, splitter::ReferenceArea::outerOf(*Picture3)}, y);
    }

private:
    static const forms::BarRow<ExtraBarWindow> kBarRows[];

    rt::ControlRef Picture1{*this, "Picture1"};
    rt::ControlRef Picture2{*this, "Picture2"};
    rt::ControlRef Picture3{*this, "Picture3"};
    rt::ControlRef Picture4{*this, "Picture4"};
    rt::ControlRef Picture5{*this, "Picture5"};
    rt::ControlRef Picture6{*this, "Picture6"};
    rt::ControlRef Image1{*this, "Image1"};
    rt::ControlRef Image2{*this, "Image2"};
    bool DraggingImage1 = false;
    bool DraggingImage2 = false;
};

using W = ExtraBarWindow;
const forms::BarRow<W> W::kBarRows[] = {
    {&W::Image1, &W::Picture1, nullptr, nullptr, &W::Picture2, &W::Picture3, &W::DraggingImage1, &W::LayoutForImage1,
     splitter::BarDirection::LeftRight},
    {&W::Image2, &W::Picture4, &W::Picture3, nullptr, &W::Picture5, &W::Picture6, &W::DraggingImage2,
     &W::LayoutForImage2, splitter::BarDirection::UpDown},
};
W::ExtraBarWindow(rt::Runtime& runtime) : PaneWindow(runtime, kDefinition) { describeBars(*this, kBarRows); }

// Image1 lies on the window, but its row says its indicator is Picture4, inside Picture3.
class Misdescribed : public forms::PaneWindow {
public:
    explicit Misdescribed(rt::Runtime& runtime);
    void LayoutForImage1(rt::Single) {}

private:
    static const forms::BarRow<Misdescribed> kRows[];
    rt::ControlRef Picture2{*this, "Picture2"};
    rt::ControlRef Picture3{*this, "Picture3"};
    rt::ControlRef Picture4{*this, "Picture4"};
    rt::ControlRef Image1{*this, "Image1"};
    bool DraggingImage1 = false;
};

using M = Misdescribed;
const forms::BarRow<M> M::kRows[] = {{&M::Image1, &M::Picture4, nullptr, nullptr, &M::Picture2, &M::Picture3,
                                      &M::DraggingImage1, &M::LayoutForImage1, splitter::BarDirection::LeftRight}};
M::Misdescribed(rt::Runtime& runtime) : PaneWindow(runtime, kDefinition) { describeBars(*this, kRows); }

class ExtraBar : public testing_support::WindowTest {
protected:
    void SetUp() override { window.Show(); }
    ExtraBarWindow window{host.runtime()};
};

TEST_F(ExtraBar, TheNewBarIsDraggedThroughTheSharedProtocol)
{
    ASSERT_EQ(window.bars().size(), 2u);
    press(window, "Image2");
    EXPECT_TRUE(window.dragging(2));
    EXPECT_FALSE(window.dragging(1));
    EXPECT_TRUE(window.control("Picture4").Visible());
    moveTo(window, "Image2", 1500);
    EXPECT_EQ(window.control("Picture4").Top(), 1500);
    EXPECT_EQ(window.control("Image2").Top(), 2000);  // only the indicator moves until the release
    release(window);
    EXPECT_EQ(window.control("Image2").Top(), 1500);
    EXPECT_EQ(window.control("Picture6").Top(), 1540);
    EXPECT_FALSE(window.dragging(2));
    // Its upper limit is the window's client height less the margin, as for every horizontal bar.
    drag(window, "Image2", 1e6);
    EXPECT_EQ(window.control("Image2").Top(), 4215 - 100);
}

TEST_F(ExtraBar, TheLayoutChecksAndRolesCoverTheNewBar)
{
    EXPECT_EQ(window.control("Image2").role(), rt::ControlRole::Bar);
    EXPECT_EQ(window.control("Picture4").role(), rt::ControlRole::Indicator);
    EXPECT_EQ(window.control("Picture3").role(), rt::ControlRole::Container);
    drag(window, "Image1", 3000);
    host.resizeClient(window, 7000, 5000);
    EXPECT_TRUE(replay::checkSplitsAddUp(window).empty());
    // A lower pane left short is caught for the new bar's split.
    rt::OnErrorResumeNext onError;
    window.control("Picture6").setHeight(10);
    const auto failures = replay::checkSplitsAddUp(window);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].detail.find("split of Image2"), std::string::npos) << failures[0].detail;
}

TEST_F(ExtraBar, ARowThatDisagreesWithTheDefinitionIsCaughtWhenTheWindowLoads)
{
    Misdescribed misdescribed(host.runtime());
    EXPECT_THROW(misdescribed.Show(), std::logic_error);
}

// Sets how the program answers a defect for one test, and puts back what the test program had.
class DefectResponseForTest {
public:
    explicit DefectResponseForTest(rt::DefectResponse response) : previous_(rt::defectResponse())
    {
        rt::setDefectResponse(response);
    }
    ~DefectResponseForTest() { rt::setDefectResponse(previous_); }
    DefectResponseForTest(const DefectResponseForTest&) = delete;
    DefectResponseForTest& operator=(const DefectResponseForTest&) = delete;

private:
    rt::DefectResponse previous_;
};

TEST_F(ExtraBar, AReleaseBuildReportsADefectInOneLineAndGoesOn)
{
    const DefectResponseForTest release(rt::DefectResponse::ReportAndContinue);
    drag(window, "Image2", 1234);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "splitter: internal error in ExtraBar.Image2_MouseUp: a broken invariant; the program continues");
    EXPECT_EQ(runtime().untrappedErrors(), 1u);
    errors.clear();
    // The handler ended at the defect, as at an untrapped error: what came after it in the release did not
    // run. The window still works: the next drag lays it out and ends as usual.
    EXPECT_TRUE(window.dragging(2));
    EXPECT_EQ(window.control("Image2").Top(), 2000);
    drag(window, "Image2", 1500);
    EXPECT_EQ(window.control("Image2").Top(), 1500);
    EXPECT_EQ(window.control("Picture6").Top(), 1540);
    EXPECT_FALSE(window.dragging(2));
    EXPECT_FALSE(window.control("Picture4").Visible());
    drag(window, "Image1", 3000);
    EXPECT_EQ(window.control("Picture3").Left(), 3040);
    EXPECT_TRUE(errors.empty());
}

using ExtraBarDeathTest = ExtraBar;

TEST_F(ExtraBarDeathTest, ADefectInAHandlerEndsATestProgramNamingTheHandler)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Every test program stops at defects, whatever the build type.
    ASSERT_EQ(rt::defectResponse(), rt::DefectResponse::Stop);
    EXPECT_DEATH(drag(window, "Image2", 1234), "internal error in ExtraBar.Image2_MouseUp: a broken invariant");
}

}  // namespace
