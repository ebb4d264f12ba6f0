// Event scripts: one thing a person does per line, readable and editable by hand; '#' starts a comment.
//
//   open Splitter5                  show a window (SplitterForm starts the program)
//   close Splitter3                 close a window as its close box does
//   resize Splitter5 8910 8370      new client size in twips (any real number)
//   down Splitter5 1 0 4570 300     mouse press: button shift x y, client-area twips; move gives every
//   move Splitter5 1 0 3000 300     button held, down and up the one that changed: 1 left, 2 right,
//   up Splitter5 1 0 3000 300       4 middle (the Qt host also 8 back, 16 forward); shift 1, ctrl 2, alt 4
//   menu 2                          choose entry 2 of the main window's menu bar
//   minimize Splitter4              the window system changes a window's state (maximize, restore too);
//                                   only the Qt host has window states
// A session starts with no window open.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/program.h"

namespace replay {

// A window of the program, by its place in the program's list of windows.
using Window = std::size_t;
inline constexpr std::size_t kWindowCount = app::kWindowCount;
inline std::string_view windowName(Window window) { return app::kWindows.at(window).name; }
inline std::optional<Window> windowNamed(std::string_view name)
{
    const std::size_t index = app::windowIndex(name);
    return index < kWindowCount ? std::optional(index) : std::nullopt;
}

enum class EventKind { Open, Close, Resize, Down, Move, Up, Menu, Minimize, Maximize, Restore };

struct Event {
    EventKind kind = EventKind::Open;
    Window window = 0;
    int button = 0;
    int shift = 0;
    double x = 0;  // resize: the client width
    double y = 0;  // resize: the client height
    std::size_t menuIndex = 0;
    int line = 0;  // where the event came from in its script; 0 when it was made some other way
};

struct ParseError {
    int line;
    std::string message;
};

struct ParsedScript {
    std::vector<Event> events;
    std::optional<ParseError> error;  // set: parsing stopped at that line
};

ParsedScript parseScript(std::string_view text);

// One line without its line break. Numbers are written so that they read back exactly.
std::string formatEvent(const Event& event);
// A whole script; numbers each event's line as it will be in the text.
std::string formatScript(std::vector<Event>& events);

inline bool isMouse(EventKind kind) { return kind >= EventKind::Down && kind <= EventKind::Up; }
inline bool isWindowState(EventKind kind) { return kind >= EventKind::Minimize; }  // minimize, maximize, restore

}  // namespace replay
