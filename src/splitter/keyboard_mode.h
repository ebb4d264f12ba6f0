// A window's keyboard mode: which of its bars, if any, the keyboard is moving. F8 takes the first bar,
// or cancels the one taken and takes the next, wrapping round; Shift+F8 goes the other way. The taken
// bar then follows the key table of bar_keyboard.h until a commit or a cancel ends keyboard mode.
#pragma once

#include <cstddef>
#include <optional>
#include <span>

#include "runtime/keyboard.h"
#include "splitter/bar.h"
#include "splitter/bar_keyboard.h"

namespace splitter {

class KeyboardMode {
public:
    // The bar in keyboard mode, or null.
    const Bar* bar(std::span<const Bar> bars) const;

    // Handles a key for the window whose bars these are; true when the key was used.
    bool key(std::span<const Bar> bars, const rt::KeyArgs& key, double twipsPerPixel);
    // Ends keyboard mode as Escape does; nothing happens when no bar is in it.
    void cancel(std::span<const Bar> bars);

private:
    void take(std::span<const Bar> bars, std::size_t index);

    std::optional<std::size_t> taken_;  // index into the window's bars
    IndicatorBefore before_{};
};

}  // namespace splitter
