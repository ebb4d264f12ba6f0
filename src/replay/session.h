// A run of the program that a script's events are applied to, one at a time: the in-memory host's
// (Session, below), or the real Qt host's (replay/qt). The invariant checks see a run through ProgramRun.
#pragma once

#include "app/program.h"
#include "forms/pane_window.h"
#include "replay/script.h"
#include "runtime/memory_host.h"

namespace replay {

// The runtime's kind of mouse event for a script's, and back: both list press, move, release in order.
inline rt::MouseEvent runtimeMouse(EventKind kind) { return rt::MouseEvent(int(kind) - int(EventKind::Down)); }
inline EventKind scriptMouse(rt::MouseEvent kind) { return EventKind(int(kind) + int(EventKind::Down)); }

// Where a window's client size ends up after an event, as its host takes it, before the window's own
// Resize handler widens it to its minimum width.
struct ResizeOutcome {
    enum class Kind {
        Unchanged,      // the host keeps the size (or refuses the one asked for): nothing changes
        Settles,        // the client size becomes width x height twips
        Unpredictable,  // the host makes no promise (a minimized or maximized window, say)
    };
    Kind kind = Kind::Unpredictable;
    float width = 0, height = 0;
};

class ProgramRun {
public:
    virtual ~ProgramRun() = default;

    virtual void apply(const Event& event) = 0;
    virtual app::Program& program() = 0;
    const app::Program& program() const { return const_cast<ProgramRun*>(this)->program(); }
    // Asked just before a resize of a loaded window, or an open, is applied. Showing a window may change
    // its size where the host brings a minimized window back.
    virtual ResizeOutcome sizeAfter(const Event& event) const = 0;

    // The window's instance, or null before it was first opened.
    forms::PaneWindow* window(Window window) const { return program().window(window); }
};

// A run without a screen: the in-memory host and the program, which has no window states.
class Session final : public ProgramRun {
public:
    Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    void apply(const Event& event) override;
    app::Program& program() override { return program_; }
    // Any size the runtime can take is taken as it is.
    ResizeOutcome sizeAfter(const Event& event) const override;

    rt::MemoryHost& host() { return host_; }

private:
    rt::MemoryHost host_;
    app::Program program_;
};

}  // namespace replay
