#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "input/fuzz_input.h"
#include "replay/invariants.h"
#include "support/defined_limits.h"

namespace {

using replay::EventKind;

TEST(FuzzInput, EncodedEventsDecodeToTheSameScript)
{
    auto script = replay::parseScript(
        "open Splitter5\nresize Splitter5 nan -1e39\ndown Splitter5 1 0 4580 300\n"
        "move Splitter5 200 -7 -0 1e-320\nup Splitter5 1 2147483647 inf 3.25\nmenu 7\nmenu 3\nclose Splitter5\n");
    ASSERT_FALSE(script.error);
    const auto bytes = replay::encodeEvents(script.events);
    auto decoded = replay::decodeEvents(bytes);
    EXPECT_EQ(replay::formatScript(decoded), replay::formatScript(script.events));
}

TEST(FuzzInput, AnyBytesDecodeAndStopAtTheEventLimit)
{
    std::vector<std::uint8_t> bytes(5000);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 37 + i / 7);
    const auto events = replay::decodeEvents(bytes);
    EXPECT_EQ(events.size(), replay::EventDecoder::kMaxEvents);
    EXPECT_TRUE(replay::decodeEvents({}).empty());
    // A truncated literal reads the missing bytes as zeros.
    const std::vector<std::uint8_t> truncated = {2 + 7 * 3, 32, 0x40};
    const auto resize = replay::decodeEvents(truncated);
    ASSERT_EQ(resize.size(), 1u);
    EXPECT_EQ(resize[0].kind, EventKind::Resize);
    EXPECT_EQ(resize[0].y, 0);
}

TEST(FuzzInput, WindowStatesAreLeftOutOfTheBytesAndChangeNothingInMemory)
{
    const auto script = replay::parseScript("open Splitter4\nminimize Splitter4\nresize Splitter4 3000 2000\n"
                                            "maximize Splitter4\nrestore Splitter4\n");
    ASSERT_FALSE(script.error);
    const auto back = replay::decodeEvents(replay::encodeEvents(script.events));
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[1].kind, EventKind::Resize);
    replay::Session session;
    const auto limits = testing_support::definedLimitControls();
    EXPECT_TRUE(replay::playChecked(session, script.events, false, &limits).empty());
    EXPECT_EQ(session.program().instance<forms::Splitter4>()->ScaleWidth(), 3000);  // as resized, states or not
}

TEST(FuzzInput, PointsTakenFromABarPressThatBar)
{
    // open Splitter5, then a press "on bar 4" (mode 3) in the middle of its thickness and length.
    const std::vector<std::uint8_t> bytes = {0 + 7 * 3, 3 + 7 * 3, 1, 0, 3, 40, 128};
    replay::Session session;
    replay::EventDecoder decoder(bytes);
    while (auto e = decoder.next(session))
        session.apply(*e);
    EXPECT_TRUE(session.program().instance<forms::Splitter5>()->dragging(4));
}

}  // namespace
