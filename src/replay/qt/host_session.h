// A run of the program on the real Qt host, driven as a window system and a person drive it: mouse
// events enter through Qt's window-system interface (the way QTest simulates the window system), so that
// Qt's own button state, implicit grab and double-click detection take part; resizes and window states
// go through QWidget, closes through QWidget::close, menu entries through their QAction. A QApplication
// must exist.
//
// Positions in a script are client-area twips; they become window pixels, and Qt hands widgets whole
// pixels. Mouse events are 100 ms apart and other events a second, so a press, a release and a press of
// one button at one place make a double click, as they would for a person.
//
// The buttons held are the session's own record of the mouse: a press adds its button, a release takes
// it away, a move says which are held. So a press of a button already held is a press whose release
// was lost, and a move that drops a button without its release is the window system noticing that.
// A minimized window gets no mouse events, and no press is made on a menu bar (choosing its entries is
// what menu events are for). A size that is not a number is not one a window system could ask for, and
// changes nothing.
#pragma once

#include <array>

#include <Qt>

#include "app/program.h"
#include "qt/qt_host.h"
#include "replay/session.h"

namespace qthost {
class FormWindow;
}

namespace qtreplay {

class HostSession final : public replay::ProgramRun {
public:
    HostSession();
    ~HostSession() override;
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    void apply(const replay::Event& event) override;
    // Runs what the last event left waiting: posted events, repaints and deferred deletions.
    void settle();

    app::Program& program() override { return program_; }
    // The nearest whole pixels, widened to Qt's minimum for the window. No promise for a minimized, maximized or full
    // screen window: its size is the window system's, and the Resize handler's Width is refused there.
    replay::ResizeOutcome resizeOutcome(replay::Window window, double width, double height) const override;
    // Showing a minimized window brings it back, at the size the window system gives it.
    bool showMayResize(replay::Window window) const override;

    qthost::QtHost& host() { return host_; }
    // The window shown for a window class, or null.
    qthost::FormWindow* windowOf(replay::Window window) const;
    // Times the host asked the program to end (after its last window closed).
    int quitRequests() const { return quitRequests_; }
    // The buttons the person holds, as the events so far have left them.
    Qt::MouseButtons heldButtons() const { return held_; }

private:
    void mouse(const replay::Event& event);

    qthost::QtHost host_;
    app::Program program_;
    Qt::MouseButtons held_;
    int quitRequests_ = 0;
    std::array<bool, replay::kWindowCount> sizedBySystem_{};  // by window: minimized or maximized since it was opened
    // Milliseconds: the time stamp of the last window-system event. Shared by every session of a process
    // and moved on between them, so that nothing one session does is a double click with another's.
    static inline int clock_ = 0;
};

// Script buttons and shift state as Qt has them.
Qt::MouseButtons qtButtons(int buttons);
Qt::KeyboardModifiers qtModifiers(int shift);
int scriptButtons(Qt::MouseButtons buttons);

}  // namespace qtreplay
