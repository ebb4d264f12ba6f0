// Mouse events as handlers see them, and the per-window state of pointer capture.
#pragma once

#include "runtime/number.h"

namespace rt {

class Control;

enum class MouseEvent { Down, Move, Up };

// Button and shift values as handlers receive them.
enum MouseButton : int { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum ShiftMask : int { kShiftMask = 1, kCtrlMask = 2, kAltMask = 4 };

struct MouseArgs {
    int button;  // the button pressed or released; for a move, the buttons held
    int shift;
    Single x;    // twips from the receiving control's own top-left corner
    Single y;
};

// From a press until the last held button is released, every mouse event goes to the pressed control.
struct MouseState {
    Control* capture = nullptr;
    int heldButtons = 0;
};

const char* eventSuffix(MouseEvent event);

}  // namespace rt
