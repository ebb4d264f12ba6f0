// What must hold after every event of a session, checked against a snapshot taken just before it:
// finite, non-negative geometry; the drag flags following press, move and release; an event touching
// only its own bar and its own window; each split's sides and gap adding up once laid out with room;
// the vertical bars' indicators moved only by their own drag; and a resize settling where its host says.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "replay/script.h"
#include "replay/session.h"
#include "runtime/geometry.h"
#include "splitter/bar.h"

namespace replay {

struct Failure {
    int line;            // the event's line in its script
    std::string event;   // the event, as a script line
    std::string invariant;
    std::string detail;

    // "line 7 (up Splitter5 1 0 3000 300): <invariant>: <detail>"
    std::string describe() const;
};

class InvariantChecker {
public:
    explicit InvariantChecker(const ProgramRun& session) : session_(session) {}

    // What each bar's drag is limited by: for bar <number> of a window, the name of the control whose outer
    // size bounds it, or "" for the window's client area. Given one, the checker holds every window's bars
    // to it (a bar it does not name fails); without one, it takes what each window's own bars say.
    using LimitControls = std::map<std::pair<Window, int>, std::string>;
    void setLimitControls(LimitControls limits) { limitControls_ = std::move(limits); }

    // Call before the session applies `event`: records the state and works out where the event goes.
    void before(const Event& event);
    // Call after it: the invariants the event broke, if any.
    std::vector<Failure> after(const Event& event);

    struct ControlState {
        std::string name;
        rt::Rect bounds;
        bool visible;
        bool operator==(const ControlState&) const = default;
    };
    struct WindowState {
        bool exists = false;
        bool loaded = false;
        float scaleWidth = 0, scaleHeight = 0;
        std::vector<ControlState> controls;
        std::vector<bool> flags;  // DraggingImage1, 2, ... while the window has an instance
        bool operator==(const WindowState&) const = default;
        const ControlState* find(const std::string& name) const;
    };

private:
    // The runtime's pointer capture as seen from outside: which control a press went to.
    struct Pointer {
        int held = 0;
        std::string capture;  // empty: the window itself
    };
    // Where the event goes: the receiving control, its bar number if it is a bar, and whether the
    // handler's arguments are representable (else the handler never starts).
    struct Delivery {
        std::string target;
        int bar = 0;
        bool handlerRuns = false;
        float argX = 0, argY = 0;
    };

    WindowState capture(Window window) const;
    Delivery route(const Event& event);
    void checkMouse(const Event& event, std::vector<Failure>& failures) const;
    void checkSplits(Window window, const Event& event, std::vector<Failure>& failures) const;
    // The control whose size limits the bar's drag; "" for the client area, none for a bar that the
    // statement given does not name.
    std::optional<std::string> limitControl(Window window, const splitter::Bar& bar) const;
    // The indicators of the window's vertical bars, which no layout moves.
    std::vector<std::string> verticalIndicators(Window window) const;

    const ProgramRun& session_;
    std::array<WindowState, 4> before_;
    std::array<Pointer, 4> pointers_;
    Delivery delivery_;
    ResizeOutcome resizeOutcome_;  // for a resize: what the host promises
    bool showMayResize_ = false;   // for opening an open window
    unsigned long errorsBefore_ = 0;
    std::optional<LimitControls> limitControls_;
};

// Every bar's split of a loaded window laid out with room for it: the two sides and the gap add up to the
// size the split divides, and both sides span it across. Failures carry no event.
std::vector<Failure> checkSplitsAddUp(const forms::PaneWindow& window);

// Plays `events` on `session`, checking every invariant after each event. Stops at the first event that
// breaks one unless `keepGoing`.
// `limits`, when given, is the statement of what limits each bar's drag (see setLimitControls).
std::vector<Failure> playChecked(ProgramRun& session, const std::vector<Event>& events, bool keepGoing = false,
                                 const InvariantChecker::LimitControls* limits = nullptr);

}  // namespace replay
