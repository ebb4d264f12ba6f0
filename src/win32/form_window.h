// The top-level window of one loaded form: its caption, its menu bar when the form has a menu, and the
// client area that paints the controls and hands the mouse and the keyboard to the runtime.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "paint/fills.h"
#include "paint/row_bands.h"
#include "runtime/form.h"
#include "runtime/geometry.h"

namespace winhost {

class WindowAccessible;

class FormWindow {
public:
    FormWindow(HINSTANCE instance, rt::Form& form);
    ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    static bool registerClass(HINSTANCE instance);

    HWND handle() const { return hwnd_; }
    rt::Form* form() const { return form_; }
    // Stops all calls into the form and destroys the window.
    void detach();

    // The window's DPI and what follows from it: twips per device pixel (15 at 96 DPI).
    UINT dpi() const;
    double twipsPerPixel() const { return 1440.0 / dpi(); }
    // Client size in device pixels.
    SIZE clientSize() const;
    // Outer width less client width, in device pixels, measured from the window as it is.
    int frameWidthPixels() const;

    // Shows the window for the first time and reports its client size to the runtime.
    void show();
    // Resizes the window so that its client area gets this size in pixels, menu bar and frame around it.
    void setClientSize(int width, int height);
    // The same for a new client width asked for by the runtime. Inside a resize it is done once that
    // resize has been handled: a resize may come from the window system, which is still placing the window.
    void requestClientWidth(int width);
    // Tells assistive tools where the keyboard went inside the window when it moved from the bar `before`.
    void notifyFocus(const rt::Control* before);
    // Marks part of the client area (twips) for repainting.
    void invalidate(const rt::Rect& area);

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    // The messages of each group: the result, or nothing for the default handling.
    std::optional<LRESULT> pointerMessage(UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> keyboardMessage(UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> windowMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void paint();
    // A bitmap at least `size` large to paint into; false when none can be had.
    bool ensureBitmap(SIZE size);
    void reportClientSize();
    void applyPendingWidth();
    void mouseButton(rt::MouseEvent event, int button, WPARAM wParam, LPARAM lParam);
    void mouseMove(WPARAM wParam, LPARAM lParam);
    void releaseLostButtons(int stillHeld, int ownRelease, double x, double y);
    void captureLost();
    // Minimised, the window has no pointer: a drag in it ends where the pointer last was, and the capture
    // goes, so that a press made in another window while a button is still down goes there.
    void minimized();
    bool setCursorFor(POINT client);
    bool key(WPARAM wParam, LPARAM lParam);
    void dpiChanged(UINT dpi, const RECT& suggested);
    // The client area's accessible object, made on the first request of a tool.
    LRESULT accessibleObject(WPARAM wParam);
    paint::DeviceScale scale() const;

    rt::Form* form_;
    HWND hwnd_ = nullptr;
    HICON icon_ = nullptr;
    bool shown_ = false;  // sizes are reported to the runtime from the first show on
    int resizing_ = 0;    // depth of nested resizes being reported to the runtime
    int pendingWidth_ = -1;  // a client width waiting for the current resize to be handled
    // A 32-bit top-down bitmap the fills are written into before they go to the screen; grown as needed,
    // only the part being painted is drawn each time.
    HBITMAP bitmap_ = nullptr;
    void* bits_ = nullptr;
    SIZE bitmapSize_{0, 0};
    // The fills of the part being painted and their bands of rows, kept so that painting allocates nothing
    // once they have grown to the window's needs.
    std::vector<paint::Fill> fills_;
    paint::RowBands rows_;
    POINT lastMouse_{0, 0};  // where the pointer last was, client pixels
    WindowAccessible* accessible_ = nullptr;  // one reference held by the window
};

}  // namespace winhost
