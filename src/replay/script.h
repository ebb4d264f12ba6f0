// Event scripts: one thing a person does per line, readable and editable by hand.
//
//   # a comment, to the end of the line
//   open Splitter5                  show a window (SplitterForm starts the program)
//   close Splitter3                 close a window as its close box does
//   resize Splitter5 8910 8370      new client size in twips (any real number)
//   down Splitter5 1 0 4570 300     mouse press: button shift x y, client-area twips
//   move Splitter5 1 0 3000 300     mouse move: buttons held, shift, x, y
//   up Splitter5 1 0 3000 300       mouse release
//   menu 2                          choose entry 2 of the main window's menu bar
//   minimize Splitter4              the window system minimizes, maximizes or restores a window; only
//   maximize Splitter4              the Qt host has window states, the in-memory host ignores these
//   restore Splitter4
//
// Mouse buttons are 1 (left), 2 (right) and 4 (middle); a move gives every button held, a press or a
// release the one button that changed. The Qt host also takes 8 and 16, the back and forward buttons,
// which the program has no use for. Shift is 1 (Shift), 2 (Ctrl) and 4 (Alt).
//
// A session starts with no window open.
#pragma once

#include <array>
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
std::optional<Window> windowNamed(std::string_view name);

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
std::string formatScript(const std::vector<Event>& events);

bool isMouse(EventKind kind);
// Minimize, maximize and restore.
bool isWindowState(EventKind kind);

}  // namespace replay
