// Keys as windows see them. Only the keys that move a splitter bar are told apart; the host passes any
// other key on to the window system.
#pragma once

namespace rt {

enum class Key {
    F8,
    Left,
    Right,
    Up,
    Down,
    PageUp,
    PageDown,
    Home,
    End,
    Return,  // the main keyboard's
    Enter,   // the keypad's
    Space,
    Escape,
};

struct KeyArgs {
    Key key;
    int shift;  // kShiftMask, kCtrlMask, kAltMask, as for the mouse
};

}  // namespace rt
