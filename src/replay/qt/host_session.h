// A run of the program on the real Qt host, driven as a window system and a person drive it: mouse
// events enter through Qt's window-system interface (as QTest simulates it), so that Qt's own button
// state, implicit grab and double-click detection take part; resizes and window states go through
// QWidget, closes through QWidget::close, menu entries through their QAction. A QApplication must exist.
//
// Script positions become window pixels, and Qt hands widgets whole pixels. Mouse events are 100 ms
// apart and other events a second, so a press, a release and a press of one button at one place make a
// double click, as they would for a person. The buttons held are the session's own record: a press adds
// its button, a release takes it away, a move says which are held (so a press of a held button is one
// whose release was lost). A minimized window gets no mouse events, no press is made on a menu bar (menu
// events choose its entries), and a size that is not a number changes nothing.
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

// The states in which the window system, not the program, decides a window's size.
inline constexpr Qt::WindowStates kSizedBySystem = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

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
    // For a resize, the nearest whole pixels, widened to Qt's minimum for the window; no promise where
    // the window system has sized it, or on showing a minimized window, which comes back at its size.
    replay::ResizeOutcome sizeAfter(const replay::Event& event) const override;

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

// Script buttons as Qt has them, and back: the codes are Qt's own.
static_assert(Qt::LeftButton == 1 && Qt::RightButton == 2 && Qt::MiddleButton == 4 && Qt::BackButton == 8 &&
              Qt::ForwardButton == 16);
inline Qt::MouseButtons qtButtons(int buttons) { return Qt::MouseButtons::fromInt(buttons & 0x1F); }
inline int scriptButtons(Qt::MouseButtons buttons) { return buttons.toInt() & 0x1F; }

}  // namespace qtreplay
