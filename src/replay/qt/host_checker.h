// Plays events on the real Qt host and checks, after every one:
// - the runtime's invariants (replay::InvariantChecker) around each mouse event the runtime was really
//   handed, whatever Qt made of the window-system event (a press at a new place arrives as a move and a
//   press; a double click as one press);
// - each loaded window is on screen and no other window is;
// - the runtime's client size is its surface's size, and the surface fills the window below its menu bar;
// - a window in its normal state is at least the minimum outer width;
// - the runtime holds no mouse button that the last mouse event to reach a window said was up (so no
//   capture is left once every button is up);
// - the program is asked to end exactly when its last window closes;
// - once painted, a window's backing store shows what a fresh render of the runtime's state shows;
// - Qt printed no warning.
// Every event is settled first: what it posted, repaints and deferred deletions have all run.
#pragma once

#include <QObject>
#include <QPointer>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "replay/invariants.h"
#include "replay/qt/host_session.h"

namespace qtreplay {

class HostChecker : private QObject {
public:
    explicit HostChecker(HostSession& session);
    ~HostChecker() override;

    // Applies `event` to the session, settles it, and returns every invariant it broke.
    std::vector<replay::Failure> play(const replay::Event& event);

    // How much the events so far exercised.
    struct Coverage {
        long long runtimeMouseEvents = 0;  // mouse events the runtime was handed
        long long dragsEnded = 0;          // of them, releases that ended a bar's drag
        long long screensCompared = 0;     // windows whose backing store was compared with a render
    };
    const Coverage& coverage() const { return coverage_; }

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void checkHost(const replay::Event& event, std::vector<replay::Failure>& failures);
    // Buttons the runtime holds in `window` that the last mouse event to reach it said were up.
    std::optional<std::string> staleButtons(replay::Window window) const;

    HostSession& session_;
    replay::InvariantChecker runtimeChecks_;
    std::size_t loadedBefore_ = 0;
    int quitRequestsBefore_ = 0;
    // The buttons held as the last mouse event a window's surface got in this event said, if it got any.
    std::array<int, 4> lastButtons_{};
    std::array<bool, 4> mouseReached_{};
    Coverage coverage_;
};

// Plays a whole script on a fresh HostSession; stops at the first event that breaks an invariant unless
// `keepGoing`.
std::vector<replay::Failure> playOnHost(const std::vector<replay::Event>& events, bool keepGoing = false);

}  // namespace qtreplay
