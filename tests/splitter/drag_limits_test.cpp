#include <gtest/gtest.h>

#include <iomanip>
#include <limits>
#include <ostream>

#include "splitter/bar_drag.h"

namespace {

using splitter::limitDragPosition;

struct LimitCase {
    const char* name;
    float candidate, limitSize, expected;
};

// Names the case by its values rather than its bytes, so that test listings read the same in every build.
void PrintTo(const LimitCase& c, std::ostream* os)
{
    *os << std::setprecision(std::numeric_limits<float>::max_digits10) << "candidate " << c.candidate << ", size "
        << c.limitSize << ", expected " << c.expected;
}

class DragLimits : public ::testing::TestWithParam<LimitCase> {};

TEST_P(DragLimits, GivesTheIndicatorPosition)
{
    const LimitCase& c = GetParam();
    EXPECT_EQ(limitDragPosition(c.candidate, c.limitSize), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DragLimits,
    ::testing::Values(LimitCase{"InsideTheMargins", 2500, 5145, 2500},
                      LimitCase{"UnderTheLowerLimit", 99.5f, 5145, 100},
                      LimitCase{"ExactlyTheLowerLimit", 100, 5145, 100},
                      LimitCase{"FarBelow", -1e30f, 5145, 100},
                      LimitCase{"ExactlyTheUpperLimit", 5045, 5145, 5045},
                      LimitCase{"PastTheUpperLimit", 9999, 5145, 5045},
                      LimitCase{"ExactlyTwiceTheMargin", 150, 200, 100},
                      LimitCase{"SmallSizeCandidateAboveMargin", 120, 150, 50},
                      LimitCase{"SmallSizeCandidateBelowMargin", 90, 150, 100},
                      // Sizes under the margin would put the bar above its container's edge: held at 0.
                      LimitCase{"TinySizeHeldAtZero", 120, 60, 0},
                      LimitCase{"ZeroSizeHeldAtZero", 5000, 0, 0},
                      LimitCase{"UpperLimitRoundedToSingle", 16777300, 16777316, 16777216}),
    [](const ::testing::TestParamInfo<LimitCase>& row) { return std::string(row.param.name); });

}  // namespace
