#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/window_named.h"
#include "replay/script.h"

namespace {

using replay::EventKind;
using replay::parseScript;
using replay::Window;

TEST(ScriptFormat, ReadsEveryKindOfEventWithCommentsAndBlankLines)
{
    const auto script = parseScript("# a session\n"
                                    "\n"
                                    "open Splitter5   # the five panes\n"
                                    "resize Splitter5 8910.5 -0\n"
                                    "\tdown Splitter5 1 0 4570 300\r\n"
                                    "move Splitter5 4 7 -1e30 nan\n"
                                    "up Splitter5 -3 1000 inf +12.25\n"
                                    "menu 2\n"
                                    "close Splitter3\n"
                                    "minimize Splitter4\n"
                                    "maximize Splitter4\n"
                                    "restore Splitter4\n");
    ASSERT_FALSE(script.error) << script.error->message;
    ASSERT_EQ(script.events.size(), 10u);
    EXPECT_EQ(script.events[0].kind, EventKind::Open);
    EXPECT_EQ(script.events[0].window, testing_support::windowNamed("Splitter5"));
    EXPECT_EQ(script.events[0].line, 3);
    EXPECT_EQ(script.events[1].x, 8910.5);
    EXPECT_TRUE(std::signbit(script.events[1].y));
    EXPECT_EQ(script.events[2].button, 1);
    EXPECT_EQ(script.events[2].y, 300);
    EXPECT_EQ(script.events[3].x, -1e30);
    EXPECT_TRUE(std::isnan(script.events[3].y));
    EXPECT_EQ(script.events[4].button, -3);
    EXPECT_EQ(script.events[4].shift, 1000);
    EXPECT_EQ(script.events[4].x, std::numeric_limits<double>::infinity());
    EXPECT_EQ(script.events[4].y, 12.25);
    EXPECT_EQ(script.events[5].kind, EventKind::Menu);
    EXPECT_EQ(script.events[5].menuIndex, 2u);
    EXPECT_EQ(script.events[6].kind, EventKind::Close);
    EXPECT_EQ(script.events[6].line, 9);
    EXPECT_EQ(script.events[7].kind, EventKind::Minimize);
    EXPECT_EQ(script.events[8].kind, EventKind::Maximize);
    EXPECT_EQ(script.events[9].kind, EventKind::Restore);
    EXPECT_EQ(script.events[9].window, testing_support::windowNamed("Splitter4"));
}

TEST(ScriptFormat, ErrorsNameTheLineAndWhatIsWrong)
{
    struct Case {
        const char* text;
        int line;
        const char* says;
    };
    const Case cases[] = {
        {"open Splitter5\njump Splitter5\n", 2, "unknown event \"jump\""},
        {"open Splitter6", 1, "unknown window \"Splitter6\""},
        {"\n\nresize Splitter5 100", 3, "too few values for resize"},
        {"resize Splitter5 100 200 300", 1, "too many values for resize"},
        {"resize Splitter5 wide 200", 1, "width \"wide\" is not a number"},
        {"down Splitter5 1 0 12px 3", 1, "x \"12px\" is not a number"},
        {"move Splitter5 1.5 0 1 3", 1, "button \"1.5\" is not a whole number"},
        {"up Splitter5 1 ctrl 1 3", 1, "shift \"ctrl\" is not a whole number"},
        {"menu -1", 1, "menu index \"-1\""},
        {"close", 1, "missing window name after close"},
        {"open Splitter5 now", 1, "too many values for open"},
        {"minimize Splitter5 1", 1, "too many values for minimize"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto script = parseScript(c.text);
        ASSERT_TRUE(script.error);
        EXPECT_EQ(script.error->line, c.line);
        EXPECT_NE(script.error->message.find(c.says), std::string::npos) << script.error->message;
    }
}

TEST(ScriptFormat, WrittenEventsReadBackExactly)
{
    std::vector<replay::Event> events(7);
    events[0] = {EventKind::Resize, testing_support::windowNamed("Splitter4"), 0, 0, 0.1, 3.4028234663852886e38};
    events[1] = {EventKind::Down, testing_support::windowNamed("SplitterForm"), 7, -2147483647 - 1, -0.0, 1e-300};
    events[2] = {EventKind::Move, testing_support::windowNamed("Splitter3"), 0, 0, std::numeric_limits<double>::quiet_NaN(),
                 -std::numeric_limits<double>::infinity()};
    events[3] = {EventKind::Up, testing_support::windowNamed("Splitter5"), 1, 0, 4570.333333333333, 1.0 / 3};
    events[4].kind = EventKind::Menu;
    events[4].menuIndex = 12345;
    events[5] = {EventKind::Close, testing_support::windowNamed("Splitter5")};
    events[6] = {EventKind::Maximize, testing_support::windowNamed("Splitter3")};
    const std::string text = replay::formatScript(events);
    const auto back = parseScript(text);
    ASSERT_FALSE(back.error) << back.error->message;
    ASSERT_EQ(back.events.size(), events.size());
    for (std::size_t i = 0; i < events.size(); ++i) {
        SCOPED_TRACE(replay::formatEvent(events[i]));
        const replay::Event& a = events[i];
        const replay::Event& b = back.events[i];
        EXPECT_EQ(a.kind, b.kind);
        EXPECT_EQ(a.line, b.line);
        EXPECT_EQ(a.button, b.button);
        EXPECT_EQ(a.shift, b.shift);
        EXPECT_EQ(a.menuIndex, b.menuIndex);
        EXPECT_TRUE(std::isnan(a.x) ? std::isnan(b.x) : a.x == b.x && std::signbit(a.x) == std::signbit(b.x));
        EXPECT_TRUE(std::isnan(a.y) ? std::isnan(b.y) : a.y == b.y);
        if (a.kind != EventKind::Menu) {
            EXPECT_EQ(a.window, b.window);
        }
    }
}

}  // namespace
