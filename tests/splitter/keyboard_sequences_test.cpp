// Random sequences of what a person does with the keyboard and the mouse together, on all four windows:
// keys, presses, moves and releases, lost focus, resizes, closing and opening. Nothing may fail, and
// after every step keyboard mode must be in a sound state: only with no button held, on a bar whose
// indicator is out; and as long as only keys came since F8, a cancel leaves every window as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <random>

#include "support/every_bar.h"
#include "support/window_fixture.h"

namespace {

using testing_support::snapshot;
using testing_support::Snapshot;
using testing_support::WindowTest;

constexpr std::array kKeys = {rt::Key::F8,     rt::Key::Left,     rt::Key::Right, rt::Key::Up,
                              rt::Key::Down,   rt::Key::PageUp,   rt::Key::PageDown, rt::Key::Home,
                              rt::Key::End,    rt::Key::Return,   rt::Key::Escape, rt::Key::Space};

class KeyboardSequences : public WindowTest, public ::testing::WithParamInterface<unsigned> {
protected:
    void SetUp() override { testing_support::openEveryWindow(program); }

    double uniform(double low, double high) { return std::uniform_real_distribution<double>(low, high)(random); }
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

    // A point on a random bar of the window, or anywhere in its client area.
    void somewhere(const forms::PaneWindow& w, double& x, double& y)
    {
        if (below(2) == 0 && !w.bars().empty()) {
            const splitter::Bar& bar = w.bars()[static_cast<std::size_t>(below(static_cast<int>(w.bars().size())))];
            pointOnBar(w, *bar.control, x, y);
            return;
        }
        x = uniform(-500, w.ScaleWidth() + 500);
        y = uniform(-500, w.ScaleHeight() + 500);
    }

    std::mt19937 random{GetParam()};
};

TEST_P(KeyboardSequences, NothingFailsAndKeyboardModeStaysSound)
{
    // Per window: the state before keyboard mode began, while only keys have come since.
    std::array<std::optional<Snapshot>, 4> beforeKeys;
    for (int step = 0; step < 3000; ++step) {
        const std::array<forms::PaneWindow*, 4> windows = program.windows();
        const std::size_t index = static_cast<std::size_t>(below(static_cast<int>(windows.size())));
        forms::PaneWindow& w = *windows[index];
        const bool loaded = w.loaded();
        const Snapshot beforeStep = loaded ? snapshot(w) : Snapshot{};
        const bool wasTaken = w.keyboardBar() != nullptr;
        bool onlyKeys = false, committed = false;
        const int what = below(24);
        if (!loaded) {
            testing_support::openWindow(program, w.name());
        } else if (what < 14) {
            // F8 often enough that keyboard mode is taken a good part of the time.
            const rt::Key key = below(4) == 0 ? rt::Key::F8
                                              : kKeys[static_cast<std::size_t>(below(static_cast<int>(kKeys.size())))];
            const int shift = below(4) == 0 ? rt::kShiftMask : below(4) == 0 ? rt::kCtrlMask : 0;
            const bool held = w.mouseButtonsHeld();
            const bool used = runtime().key(w, key, shift);
            onlyKeys = true;
            committed = key == rt::Key::Return || key == rt::Key::Space;
            if (held) {
                EXPECT_FALSE(used) << "step " << step;
                EXPECT_EQ(snapshot(w), beforeStep) << "a key changed a window during a drag, step " << step;
            }
        } else if (what < 20) {
            double x = 0, y = 0;
            somewhere(w, x, y);
            const rt::MouseEvent event = what < 16 ? rt::MouseEvent::Down : what < 18 ? rt::MouseEvent::Move
                                                                                      : rt::MouseEvent::Up;
            const int button = 1 << below(3);
            runtime().mouse(w, event, event == rt::MouseEvent::Move ? (w.mouseButtonsHeld() ? button : 0) : button, 0,
                            x, y);
        } else if (what < 22) {
            runtime().focusLost(w);
            onlyKeys = true;
        } else if (what < 23) {
            host.resizeClient(w, uniform(0, 12000), uniform(0, 10000));
        } else {
            runtime().close(w);
        }

        SCOPED_TRACE(std::string(w.name()) + ", step " + std::to_string(step));
        ASSERT_TRUE(errors.empty()) << errors.front();
        if (!w.loaded()) {
            EXPECT_EQ(w.keyboardBar(), nullptr);
            beforeKeys[index].reset();
            continue;
        }
        const splitter::Bar* taken = w.keyboardBar();
        if (taken) {
            EXPECT_FALSE(w.mouseButtonsHeld());
            EXPECT_TRUE(taken->dragging);
            EXPECT_TRUE(taken->indicator->Visible());
        }
        if (!wasTaken && taken && onlyKeys)
            beforeKeys[index] = beforeStep;
        else if (!onlyKeys || !loaded)
            beforeKeys[index].reset();
        if (!taken && wasTaken && beforeKeys[index]) {
            if (!committed) {
                EXPECT_EQ(snapshot(w), *beforeKeys[index]) << "a cancel left something moved";
            }
            beforeKeys[index].reset();
        }
        if (!taken && onlyKeys && !wasTaken) {
            EXPECT_EQ(snapshot(w), beforeStep) << "a key moved something outside keyboard mode";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, KeyboardSequences, ::testing::Values(1u, 2u, 3u, 4u));

}  // namespace
