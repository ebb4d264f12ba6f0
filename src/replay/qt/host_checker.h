// Plays events on the real Qt host and checks, after every one:
// - the runtime's invariants around each mouse event the runtime was really handed, whatever Qt made of
//   the window-system event (a press at a new place arrives as a move and a press; a double click as one
//   press);
// - each loaded window, and no other, is on screen, its surface the runtime's client size and filling the
//   window below its menu bar, and, in its normal state, at least the minimum outer width;
// - the runtime holds no button that the last mouse event to reach a window said was up;
// - the program is asked to end exactly when its last window closes;
// - once painted, a window's backing store shows what a fresh render of the runtime's state shows;
// - Qt printed no warning.
// Every event is settled first: what it posted, repaints and deferred deletions have all run.
#pragma once

#include <QObject>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "replay/invariants.h"
#include "replay/qt/host_session.h"

class QWidget;

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
    // The runtime was handed `received` while the event played was applied.
    void receive(const replay::Event& received);
    // Checks the last mouse event the runtime was handed.
    void finishReceived();
    void checkHost();
    // Checks one window; returns it where it should be on screen.
    const QWidget* checkWindow(replay::Window window);
    void fail(const char* invariant, const std::string& detail);

    HostSession& session_;
    replay::InvariantChecker runtimeChecks_;
    const replay::Event* playing_ = nullptr;  // the event being played, and what it broke
    std::vector<replay::Failure> failures_;
    std::size_t loadedBefore_ = 0;
    int quitRequestsBefore_ = 0;
    // The buttons held as the last mouse event a window's surface got in this event said, if it got any.
    std::array<int, replay::kWindowCount> lastButtons_{};
    std::array<bool, replay::kWindowCount> mouseReached_{};
    Coverage coverage_;
    std::optional<replay::Event> received_;  // the last mouse event the runtime was handed, not yet checked
    int dragsBefore_ = 0;                    // drags under way before it
};

// Plays a whole script on a fresh HostSession; stops at the first event that breaks an invariant unless
// `keepGoing`.
std::vector<replay::Failure> playOnHost(const std::vector<replay::Event>& events, bool keepGoing = false);

}  // namespace qtreplay
