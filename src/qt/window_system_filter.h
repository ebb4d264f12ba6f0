// Hears what the X11 window system does to the program's windows that Qt does not report:
//   - a window destroyed, whoever asked for it (another client's XDestroyWindow, such as
//     `xdotool windowclose`): Qt's X11 platform ignores the DestroyNotify of its own windows, so the widget
//     would go on as if it were still shown;
//   - the pointer taken from a window: another client's active grab (a window manager's menu, a screen
//     locker), or the window unmapped by another client (`xdotool windowunmap`). Either ends the window's
//     implicit grab, so a drag in it never gets its release, and Qt reports neither: it ignores crossings
//     while a button is held and takes an unmapped window for one that is merely covered.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QWindow>
#include <functional>

namespace qthost {

class WindowSystemFilter final : public QAbstractNativeEventFilter {
public:
    // Each gets the id of the window concerned, from inside the platform's event handling.
    WindowSystemFilter(std::function<void(WId)> destroyed, std::function<void(WId)> pointerLost)
        : destroyed_(std::move(destroyed)), pointerLost_(std::move(pointerLost))
    {
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    std::function<void(WId)> destroyed_;
    std::function<void(WId)> pointerLost_;
};

}  // namespace qthost
