// What must hold after every event of a session, stated as relations between the state before the event,
// the event and the state after it, never as a second copy of the program. Each check says what it holds
// where it is defined; a table chooses which run after which kinds of event.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "replay/script.h"
#include "replay/session.h"
#include "runtime/geometry.h"

namespace replay {

struct Failure {
    int line;            // the event's line in its script
    std::string event;   // the event, as a script line
    std::string invariant;
    std::string detail;

    // "line 7 (up Splitter5 1 0 3000 300): <invariant>: <detail>"
    std::string describe() const;
};

// A number as the failures write it: nine significant digits, which tell any two single-precision values apart.
std::string numberText(double value);

// What limits each bar's drag: for bar <number> of a window, the name of the control whose outer size
// bounds it, or "" for the window's client area. Tests give one written out from the window definitions.
using LimitControls = std::map<std::pair<Window, int>, std::string>;

struct ControlState {
    std::string name;
    rt::Rect bounds;
    bool visible;
    bool operator==(const ControlState&) const = default;
};

// One window as the checks see it from outside.
struct WindowState {
    bool loaded = false;
    float scaleWidth = 0, scaleHeight = 0;
    std::vector<ControlState> controls;
    std::vector<bool> flags;  // DraggingImage1, 2, ... while the window has an instance
    bool operator==(const WindowState&) const = default;
    const ControlState* find(const std::string& name) const;
};

// What the checks record before an event.
struct StateBefore {
    std::vector<WindowState> windows;
    // In the event's window: the control the runtime's capture names ("" for the window itself), the
    // buttons it holds, and the control under the event's pointer.
    std::string capture, underPointer;
    int heldButtons = 0;
    // Where a mouse event goes: to the captured control, or with nothing held, to the one under the pointer.
    const std::string& mouseTarget() const { return heldButtons ? capture : underPointer; }
    ResizeOutcome size;        // for a resize or an open: what the host promises
    unsigned long errors = 0;  // handler failures reported so far
};

class InvariantChecker {
public:
    // Without `limits`, each bar's drag is held to what the window's own bar table names.
    explicit InvariantChecker(const ProgramRun& run, std::optional<LimitControls> limits = std::nullopt)
        : run_(run), limits_(std::move(limits))
    {
    }
    void setLimitControls(LimitControls limits) { limits_ = std::move(limits); }

    // Call before the run applies `event`: records the state.
    void before(const Event& event);
    // Call after it: the invariants the event broke, if any.
    std::vector<Failure> after(const Event& event) const;

private:
    const ProgramRun& run_;
    std::optional<LimitControls> limits_;
    StateBefore before_;
};

// Every bar's split of a loaded window laid out with room for it: the two sides and the gap add up to the
// size the split divides, and both sides span it across. Failures carry no event.
std::vector<Failure> checkSplitsAddUp(const forms::PaneWindow& window);

// Plays `events` one at a time with `playOne`, which returns what each broke; stops at the first event
// that breaks something unless `keepGoing`.
template <class PlayOne>
std::vector<Failure> playEach(const std::vector<Event>& events, bool keepGoing, PlayOne&& playOne)
{
    std::vector<Failure> failures;
    for (const Event& e : events) {
        std::vector<Failure> found = playOne(e);
        failures.insert(failures.end(), found.begin(), found.end());
        if (!found.empty() && !keepGoing)
            break;
    }
    return failures;
}

// Plays `events` on `run`, checking every invariant after each event.
std::vector<Failure> playChecked(ProgramRun& run, const std::vector<Event>& events, bool keepGoing = false,
                                 const LimitControls* limits = nullptr);

}  // namespace replay
