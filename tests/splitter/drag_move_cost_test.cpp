// What one pointer move during a drag costs, for every bar of every window: it reports exactly the
// indicator's old and new visible areas for repainting, and it allocates no memory.
#include <gtest/gtest.h>

#include <array>

#include "app/program.h"
#include "runtime/memory_host.h"
#include "support/every_bar.h"
#include "support/allocation_counter.h"

namespace {

// Keeps the last few repaint areas in place, so that the host itself allocates nothing.
class RecordingHost : public rt::MemoryHost {
public:
    void areaChanged(rt::Form&, const rt::Rect& area) override
    {
        if (count < areas.size())
            areas[count] = area;
        ++count;
    }
    std::array<rt::Rect, 4> areas{};
    std::size_t count = 0;
};

class DragMoveCost : public ::testing::TestWithParam<testing_support::BarId> {
protected:
    DragMoveCost() { host.runtime().setErrorOutput([this](const std::string&) { ++errors; }); }

    RecordingHost host;
    app::Program program{host.runtime()};
    int errors = 0;
};

TEST_P(DragMoveCost, AMoveRepaintsOnlyTheIndicatorsOldAndNewAreasAndAllocatesNothing)
{
    forms::PaneWindow& form = testing_support::openWindow(program, GetParam().window);
    const splitter::Bar& entry = testing_support::barOf(form, GetParam().number);
    const rt::Control& bar = *entry.control;
    const rt::Control& indicator = *entry.indicator;
    const bool vertical = entry.vertical();
    double x = 0, y = 0;
    form.originOf(bar, x, y);
    x += vertical ? 20 : 200;
    y += vertical ? 200 : 20;
    rt::Runtime& runtime = host.runtime();
    runtime.mouse(form, rt::MouseEvent::Down, rt::kLeftButton, 0, x, y);
    ASSERT_TRUE(indicator.Visible());

    for (const double step : {-300.0, 45.0, 15.0, 600.0}) {
        SCOPED_TRACE(step);
        (vertical ? x : y) += step;
        const rt::Rect before = form.visibleArea(indicator, indicator.bounds());
        host.count = 0;
        const unsigned long allocated = testing_support::allocationCount();
        runtime.mouse(form, rt::MouseEvent::Move, rt::kLeftButton, 0, x, y);
        EXPECT_EQ(testing_support::allocationCount(), allocated);
        const rt::Rect after = form.visibleArea(indicator, indicator.bounds());
        ASSERT_NE(before, after);
        ASSERT_EQ(host.count, 2u);
        EXPECT_EQ(host.areas[0], before);
        EXPECT_EQ(host.areas[1], after);
    }

    // Pushed against the margin, the indicator stays where it is: nothing to repaint.
    (vertical ? x : y) = -5000;
    runtime.mouse(form, rt::MouseEvent::Move, rt::kLeftButton, 0, x, y);
    host.count = 0;
    const unsigned long allocated = testing_support::allocationCount();
    runtime.mouse(form, rt::MouseEvent::Move, rt::kLeftButton, 0, x - 100, y - 100);
    EXPECT_EQ(testing_support::allocationCount(), allocated);
    EXPECT_EQ(host.count, 0u);

    // Hovering after the release changes nothing either.
    runtime.mouse(form, rt::MouseEvent::Up, rt::kLeftButton, 0, x, y);
    host.count = 0;
    const unsigned long released = testing_support::allocationCount();
    runtime.mouse(form, rt::MouseEvent::Move, 0, 0, x + 30, y + 30);
    EXPECT_EQ(testing_support::allocationCount(), released);
    EXPECT_EQ(host.count, 0u);
    EXPECT_EQ(errors, 0);
}

INSTANTIATE_TEST_SUITE_P(EveryBar, DragMoveCost, ::testing::ValuesIn(testing_support::everyBar()),
                         [](const ::testing::TestParamInfo<testing_support::BarId>& bar) { return bar.param.label(); });

}  // namespace
