#include "qt/destroyed_window_filter.h"

#include <xcb/xcb.h>

namespace qthost {

bool DestroyedWindowFilter::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t" || !message)
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    // Only the server's own notice: one sent by another client (the high bit set) proves nothing.
    if (event->response_type == XCB_DESTROY_NOTIFY)
        destroyed_(reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window);
    return false;  // Qt sees the event as well
}

}  // namespace qthost
