#include "splitter/bar_keyboard.h"

#include <limits>

#include "runtime/mouse.h"
#include "splitter/bar_drag.h"

namespace splitter {

BarKeyEffect barKeyEffect(BarDirection direction, const rt::KeyArgs& key)
{
    if (key.shift & rt::kAltMask)
        return {BarKeyAction::NotOurs};
    const int arrowStep = key.shift & rt::kCtrlMask ? kLargeKeyStep : 1;
    const bool vertical = direction == BarDirection::LeftRight;
    const auto arrow = [&](bool alongAxis, int sign) {
        return alongAxis ? BarKeyEffect{BarKeyAction::Move, sign * arrowStep} : BarKeyEffect{BarKeyAction::Nothing};
    };
    switch (key.key) {
    case rt::Key::Left: return arrow(vertical, -1);
    case rt::Key::Right: return arrow(vertical, +1);
    case rt::Key::Up: return arrow(!vertical, -1);
    case rt::Key::Down: return arrow(!vertical, +1);
    case rt::Key::PageUp: return {BarKeyAction::Move, -kLargeKeyStep};
    case rt::Key::PageDown: return {BarKeyAction::Move, +kLargeKeyStep};
    case rt::Key::Home: return {BarKeyAction::ToLowest};
    case rt::Key::End: return {BarKeyAction::ToHighest};
    case rt::Key::Return:
    case rt::Key::Enter:
    case rt::Key::Space: return {BarKeyAction::Commit};
    case rt::Key::Escape: return {BarKeyAction::Cancel};
    case rt::Key::F8: break;  // moves between bars: the window's business
    }
    return {BarKeyAction::NotOurs};
}

IndicatorBefore barKeyboardTake(const Bar& bar)
{
    const IndicatorBefore before{bar.indicator->bounds()};
    barMouseDown(bar);
    return before;
}

void barKeyboardMove(const Bar& bar, const BarKeyEffect& effect, double twipsPerPixel)
{
    switch (effect.action) {
    case BarKeyAction::Move:
        moveIndicator(bar, rt::toSingle(rt::Number(bar.indicatorPosition()) + effect.pixels * twipsPerPixel));
        return;
    // As a pointer taken far beyond either end would: the limits give the end.
    case BarKeyAction::ToLowest: moveIndicator(bar, std::numeric_limits<rt::Single>::lowest()); return;
    case BarKeyAction::ToHighest: moveIndicator(bar, std::numeric_limits<rt::Single>::max()); return;
    default: return;
    }
}

void barKeyboardCommit(const Bar& bar) { barMouseUp(bar); }

void barKeyboardCancel(const Bar& bar, const IndicatorBefore& before)
{
    const rt::Rect& r = before.bounds;
    bar.indicator->Move(r.left, r.top, r.width, r.height);
    bar.indicator->setVisible(false);
    bar.dragging = false;
}

}  // namespace splitter
