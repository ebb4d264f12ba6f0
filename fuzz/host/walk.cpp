#include "walk.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "forms/pane_window.h"
#include "qt/form_window.h"

namespace hostfuzz {
namespace {

using replay::Event;
using replay::EventKind;
using replay::Window;

double twipsPerPixel(const qtreplay::HostSession& session, Window window)
{
    const qthost::FormWindow* shown = session.windowOf(window);
    return shown ? shown->surface()->twipsPerPixel() : 15.0;
}

}  // namespace

std::optional<Window> Walk::anyLoaded(const qtreplay::HostSession& session)
{
    std::vector<Window> loaded;
    for (Window w = 0; w < replay::kWindowCount; ++w)
        if (const forms::PaneWindow* form = session.window(w); form && form->loaded())
            loaded.push_back(w);
    if (loaded.empty())
        return std::nullopt;
    return loaded[static_cast<std::size_t>(pick(static_cast<int>(loaded.size())))];
}

Window Walk::anyWindow() { return static_cast<Window>(pick(static_cast<int>(replay::kWindowCount))); }

Event Walk::next(const qtreplay::HostSession& session)
{
    const std::optional<Window> loaded = anyLoaded(session);
    Event e;
    if (!loaded) {
        e.kind = EventKind::Open;  // a session starts, or a closed program is started again
        e.window = chance(0.8) ? 0 : anyWindow();
        return e;
    }
    const bool held = session.heldButtons() != Qt::NoButton;
    const int what = pick(1000);
    if (what < 740) {
        // While a button is held the window system keeps the mouse on the window it was pressed in,
        // nearly always.
        const forms::PaneWindow* pressed = session.window(pressedIn_);
        const bool stay = held && pressed && pressed->loaded() && !chance(0.02);
        return mouse(session, stay ? pressedIn_ : *loaded);
    }
    if (what < 860)
        return resize(session, *loaded);
    e.window = *loaded;
    if (what < 910) {
        static constexpr EventKind kStates[] = {EventKind::Minimize, EventKind::Maximize, EventKind::Restore};
        e.kind = kStates[pick(3)];
    } else if (what < 935) {
        e.kind = EventKind::Close;
        if (held && chance(0.5))
            e.window = pressedIn_;  // mid-drag
    } else if (what < 975) {
        e.kind = EventKind::Menu;
        // An entry for each window the menu opens, and one past the last: no such entry.
        e.menuIndex = static_cast<std::size_t>(pick(static_cast<int>(replay::kWindowCount)));
    } else {
        e.kind = EventKind::Open;
        e.window = anyWindow();
    }
    return e;
}

int Walk::button()
{
    const int b = pick(100);
    return b < 60 ? 1 : b < 75 ? 2 : b < 90 ? 4 : b < 95 ? 8 : 16;
}

Event Walk::mouse(const qtreplay::HostSession& session, Window window)
{
    Event e;
    e.window = window;
    e.shift = chance(0.8) ? 0 : pick(8);
    const int held = qtreplay::scriptButtons(session.heldButtons());
    if (lastRelease_ && lastRelease_->window == window && chance(0.3)) {
        // The second press of a double click.
        e = *lastRelease_;
        e.kind = EventKind::Down;
        lastRelease_.reset();
        return e;
    }
    lastRelease_.reset();
    position(session, window, e);
    const int roll = pick(100);
    if (held == 0) {
        if (roll < 45) {
            e.kind = EventKind::Move;
            e.button = 0;
        } else if (roll < 95) {
            e.kind = EventKind::Down;
            e.button = button();
            pressedIn_ = window;
        } else {
            e.kind = EventKind::Up;  // a release of a button never pressed
            e.button = button();
        }
        return e;
    }
    std::vector<int> heldBits;
    for (int bit = 1; bit <= 16; bit <<= 1)
        if (held & bit)
            heldBits.push_back(bit);
    const int aHeld = heldBits[static_cast<std::size_t>(pick(static_cast<int>(heldBits.size())))];
    if (roll < 62) {
        e.kind = EventKind::Move;
        e.button = held;
    } else if (roll < 84) {
        e.kind = EventKind::Up;
        e.button = chance(0.9) ? aHeld : button();
        if (e.button == aHeld && chance(0.5))
            lastRelease_ = e;
    } else if (roll < 92) {
        e.kind = EventKind::Down;  // another button while one is held, or a held one whose release was lost
        e.button = button();
    } else {
        // The window system notices a button is up without ever sending its release.
        e.kind = EventKind::Move;
        e.button = held & ~aHeld;
    }
    return e;
}

void Walk::position(const qtreplay::HostSession& session, Window window, Event& e)
{
    const forms::PaneWindow* form = session.window(window);
    const qthost::FormWindow* shown = session.windowOf(window);
    const double tpp = twipsPerPixel(session, window);
    const int width = shown ? shown->surface()->width() : 300, height = shown ? shown->surface()->height() : 300;
    double x = 0, y = 0;
    const int roll = pick(100);
    if (roll < 45 && form && form->loaded() && !form->bars().empty()) {
        // On a bar's visible strip, or a pixel either side of it.
        const splitter::Bar& bar = form->bars()[static_cast<std::size_t>(pick(static_cast<int>(form->bars().size())))];
        double ox = 0, oy = 0;
        form->originOf(*bar.control, ox, oy);
        const double along = bar.vertical() ? bar.control->Height() : bar.control->Width();
        const double across = std::min<double>(40, bar.vertical() ? bar.control->Width() : bar.control->Height());
        const double a = std::uniform_real_distribution<double>(0, std::max(1.0, along))(random_);
        const double b = std::uniform_real_distribution<double>(0, std::max(1.0, across))(random_);
        x = std::floor((bar.vertical() ? ox + b : ox + a) / tpp) + pick(3) - 1;
        y = std::floor((bar.vertical() ? oy + a : oy + b) / tpp) + pick(3) - 1;
    } else if (roll < 70) {
        x = lastX_ + pick(41) - 20;  // a short way from the last position
        y = lastY_ + pick(41) - 20;
    } else if (roll < 92) {
        x = pick(width + 41) - 20;
        y = pick(height + 41) - 20;
    } else if (roll < 98) {
        x = pick(10001) - 5000;
        y = pick(10001) - 5000;
    } else {
        x = pick(2) ? 99999 : -99999;
        y = pick(200001) - 100000;
    }
    lastX_ = x;
    lastY_ = y;
    e.x = x * tpp;
    e.y = y * tpp;
}

Event Walk::resize(const qtreplay::HostSession& session, Window window)
{
    Event e;
    e.kind = EventKind::Resize;
    e.window = window;
    const qthost::FormWindow* shown = session.windowOf(window);
    const double tpp = twipsPerPixel(session, window);
    const int width = shown ? shown->surface()->width() : 300, height = shown ? shown->surface()->height() : 300;
    int w = 0, h = 0;
    const int roll = pick(100);
    if (roll < 45) {
        w = pick(1001);
        h = pick(1001);
    } else if (roll < 55) {
        w = pick(6);
        h = pick(6);
    } else if (roll < 65) {
        w = pick(2) ? 0 : pick(1001);
        h = w == 0 ? pick(1001) : 0;
    } else if (roll < 75) {
        w = 120 + pick(20);  // about the minimum outer width
        h = pick(600);
    } else if (roll < 85) {
        w = std::max(0, width + pick(5) - 2);
        h = std::max(0, height + pick(5) - 2);
    } else if (roll < 95) {
        w = pick(2) ? 1000 + pick(3001) : pick(50);
        h = w >= 1000 ? pick(50) : 1000 + pick(3001);
    } else {
        w = width;
        h = height;
    }
    e.x = w * tpp;
    e.y = h * tpp;
    return e;
}

}  // namespace hostfuzz
