#include "qt/window_system_filter.h"

#include <xcb/xcb.h>

namespace qthost {

bool WindowSystemFilter::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t" || !message)
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    // Only the server's own notices: one sent by another client (the high bit set) proves nothing.
    switch (event->response_type) {
    case XCB_DESTROY_NOTIFY: destroyed_(reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window); break;
    case XCB_LEAVE_NOTIFY:
        // A crossing caused by a grab that moved the pointer's events elsewhere.
        if (const auto* leave = reinterpret_cast<const xcb_leave_notify_event_t*>(event);
            leave->mode == XCB_NOTIFY_MODE_GRAB)
            pointerLost_(leave->event);
        break;
    case XCB_UNMAP_NOTIFY: pointerLost_(reinterpret_cast<const xcb_unmap_notify_event_t*>(event)->window); break;
    default: break;
    }
    return false;  // Qt sees the event as well
}

}  // namespace qthost
