// Hears of the pointer taken from one of the program's X11 windows by the window system: another client's
// active grab (a window manager's menu, a screen locker), or the window unmapped by another client
// (`xdotool windowunmap`). Either ends the window's implicit grab, so a drag in it never gets its release,
// and Qt reports neither: it ignores crossings while a button is held and takes an unmapped window for
// one that is merely covered.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QWindow>
#include <functional>

namespace qthost {

class PointerLossFilter final : public QAbstractNativeEventFilter {
public:
    // `lost` gets the id of the window that lost the pointer, from inside the platform's event handling.
    explicit PointerLossFilter(std::function<void(WId)> lost) : lost_(std::move(lost)) {}

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    std::function<void(WId)> lost_;
};

}  // namespace qthost
