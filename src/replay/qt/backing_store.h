// What the screen shows of a window: the pixels in its backing store, as last handed to the window
// system, compared with a fresh render of the runtime's state.
#pragma once

#include <optional>
#include <string>

#include "runtime/form.h"

namespace qthost {
class FormWindow;
}

namespace qtreplay {

struct ScreenComparison {
    bool compared = false;                  // false: nothing of the surface is on screen
    std::optional<std::string> difference;  // where and how the screen differs, if it does
};

// Compares the part of `window`'s backing store that its surface covers with a full paintForm of `form`
// at the same scale. Only device pixels wholly inside the surface count: a surface ending part way
// through a device pixel shares that pixel with whatever lies beyond it.
ScreenComparison compareWithRender(qthost::FormWindow& window, const rt::Form& form);

}  // namespace qtreplay
