// Hears of native windows that the window system destroyed, whoever asked for it (another client's
// XDestroyWindow, such as `xdotool windowclose`). Qt offers no signal for this: its X11 platform ignores
// the DestroyNotify of its own windows, so the widget would go on as if it were still shown.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QWindow>
#include <functional>

namespace qthost {

class DestroyedWindowFilter final : public QAbstractNativeEventFilter {
public:
    // `destroyed` gets the id of each destroyed window, from inside the platform's event handling.
    explicit DestroyedWindowFilter(std::function<void(WId)> destroyed) : destroyed_(std::move(destroyed)) {}

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    std::function<void(WId)> destroyed_;
};

}  // namespace qthost
