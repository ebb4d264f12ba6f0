// A seeded random walk of what a hostile person and window system do to the program on the Qt host:
// presses, moves and releases of any button, releases lost or never pressed, presses while other
// buttons are held, double clicks; resizes to any size, zero included, also mid-drag; minimize,
// maximize and restore; closes at any moment; menu commands. Each event is picked from the live state
// of the session (where the bars are, which buttons are held) and is the same for the same seed and the
// same state. Positions and sizes are whole pixels, written as twips.
#pragma once

#include <cstdint>
#include <optional>
#include <random>

#include "replay/qt/host_session.h"
#include "replay/script.h"

namespace hostfuzz {

class Walk {
public:
    explicit Walk(std::uint64_t seed) : random_(seed) {}

    replay::Event next(const qtreplay::HostSession& session);

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool chance(double p) { return std::bernoulli_distribution(p)(random_); }

    replay::Event mouse(const qtreplay::HostSession& session, replay::Window window);
    // A pixel position for the mouse on `window`: on a bar, near the last one, anywhere, or far away.
    void position(const qtreplay::HostSession& session, replay::Window window, replay::Event& event);
    replay::Event resize(const qtreplay::HostSession& session, replay::Window window);
    int button();
    std::optional<replay::Window> anyLoaded(const qtreplay::HostSession& session);
    replay::Window anyWindow();

    std::mt19937_64 random_;
    replay::Window pressedIn_ = 0;  // where the buttons held were pressed
    std::optional<replay::Event> lastRelease_;                  // for a double click on the same place
    double lastX_ = 0, lastY_ = 0;                              // pixels, on the last window
};

}  // namespace hostfuzz
