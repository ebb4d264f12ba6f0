#include "splitter/keyboard_mode.h"

#include "runtime/mouse.h"

namespace splitter {

const Bar* KeyboardMode::bar(std::span<const Bar> bars) const
{
    return taken_ && *taken_ < bars.size() ? &bars[*taken_] : nullptr;
}

bool KeyboardMode::key(std::span<const Bar> bars, const rt::KeyArgs& key, double twipsPerPixel)
{
    if (bars.empty())
        return false;
    if (key.key == rt::Key::F8) {
        if (key.shift & (rt::kCtrlMask | rt::kAltMask))
            return false;
        const bool backwards = key.shift & rt::kShiftMask;
        const std::size_t n = bars.size();
        std::size_t next = backwards ? n - 1 : 0;
        if (taken_) {
            next = backwards ? (*taken_ + n - 1) % n : (*taken_ + 1) % n;
            cancel(bars);
        }
        take(bars, next);
        return true;
    }
    const Bar* taken = bar(bars);
    if (!taken)
        return false;
    const BarKeyEffect effect = barKeyEffect(taken->direction, key);
    switch (effect.action) {
    case BarKeyAction::NotOurs: return false;
    case BarKeyAction::Nothing: return true;
    case BarKeyAction::Move:
    case BarKeyAction::ToLowest:
    case BarKeyAction::ToHighest: barKeyboardMove(*taken, effect, twipsPerPixel); return true;
    case BarKeyAction::Commit:
        taken_.reset();
        barKeyboardCommit(*taken);
        return true;
    case BarKeyAction::Cancel: cancel(bars); return true;
    }
    return false;
}

void KeyboardMode::cancel(std::span<const Bar> bars)
{
    const Bar* taken = bar(bars);
    taken_.reset();
    if (taken)
        barKeyboardCancel(*taken, before_);
}

void KeyboardMode::take(std::span<const Bar> bars, std::size_t index)
{
    // Keyboard mode begins only once the press has gone through.
    before_ = barKeyboardTake(bars[index]);
    taken_ = index;
}

}  // namespace splitter
