// The mouse, the pointer shape and the keyboard of a form's window, handed to the runtime.
#include <windowsx.h>

#include <optional>

#include "runtime/control.h"
#include "runtime/runtime.h"
#include "win32/form_window.h"

namespace winhost {
namespace {

int shiftCode()
{
    return (GetKeyState(VK_SHIFT) < 0 ? rt::kShiftMask : 0) | (GetKeyState(VK_CONTROL) < 0 ? rt::kCtrlMask : 0) |
           (GetKeyState(VK_MENU) < 0 ? rt::kAltMask : 0);
}

int buttonsCode(WPARAM wParam)
{
    return (wParam & MK_LBUTTON ? rt::kLeftButton : 0) | (wParam & MK_RBUTTON ? rt::kRightButton : 0) |
           (wParam & MK_MBUTTON ? rt::kMiddleButton : 0);
}

std::optional<rt::Key> keyFor(WPARAM virtualKey, LPARAM lParam)
{
    switch (virtualKey) {
    case VK_F8: return rt::Key::F8;
    case VK_LEFT: return rt::Key::Left;
    case VK_RIGHT: return rt::Key::Right;
    case VK_UP: return rt::Key::Up;
    case VK_DOWN: return rt::Key::Down;
    case VK_PRIOR: return rt::Key::PageUp;
    case VK_NEXT: return rt::Key::PageDown;
    case VK_HOME: return rt::Key::Home;
    case VK_END: return rt::Key::End;
    // The keypad's Enter is the extended Return key.
    case VK_RETURN: return (lParam & (1 << 24)) ? rt::Key::Enter : rt::Key::Return;
    case VK_SPACE: return rt::Key::Space;
    case VK_ESCAPE: return rt::Key::Escape;
    default: return std::nullopt;
    }
}

LPCWSTR cursorFor(rt::MousePointer pointer)
{
    switch (pointer) {
    case rt::MousePointer::SizeWestEast: return IDC_SIZEWE;
    case rt::MousePointer::SizeNorthSouth: return IDC_SIZENS;
    case rt::MousePointer::Default: break;
    }
    return IDC_ARROW;
}

}  // namespace

std::optional<LRESULT> FormWindow::pointerMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN: mouseButton(rt::MouseEvent::Down, rt::kLeftButton, wParam, lParam); return 0;
    case WM_RBUTTONDOWN: mouseButton(rt::MouseEvent::Down, rt::kRightButton, wParam, lParam); return 0;
    case WM_MBUTTONDOWN: mouseButton(rt::MouseEvent::Down, rt::kMiddleButton, wParam, lParam); return 0;
    case WM_LBUTTONUP: mouseButton(rt::MouseEvent::Up, rt::kLeftButton, wParam, lParam); return 0;
    case WM_RBUTTONUP: mouseButton(rt::MouseEvent::Up, rt::kRightButton, wParam, lParam); return 0;
    case WM_MBUTTONUP: mouseButton(rt::MouseEvent::Up, rt::kMiddleButton, wParam, lParam); return 0;
    case WM_MOUSEMOVE: mouseMove(wParam, lParam); return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd_)
            captureLost();
        return 0;
    case WM_CANCELMODE:
        if (GetCapture() == hwnd_)
            ReleaseCapture();  // WM_CAPTURECHANGED ends the drag
        return std::nullopt;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            POINT p{};
            GetCursorPos(&p);
            ScreenToClient(hwnd_, &p);
            if (setCursorFor(p))
                return TRUE;
        }
        return std::nullopt;
    default: return std::nullopt;
    }
}

std::optional<LRESULT> FormWindow::keyboardMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYDOWN:
        if (key(wParam, lParam))
            return 0;
        return std::nullopt;
    case WM_KILLFOCUS:
    case WM_ENTERMENULOOP:
        if (form_)
            form_->runtime().focusLost(*form_);
        return std::nullopt;
    default: return std::nullopt;
    }
}

void FormWindow::mouseButton(rt::MouseEvent event, int button, WPARAM wParam, LPARAM lParam)
{
    lastMouse_ = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const double tpp = twipsPerPixel();
    const double x = lastMouse_.x * tpp, y = lastMouse_.y * tpp;
    const bool press = event == rt::MouseEvent::Down;
    releaseLostButtons(buttonsCode(wParam), press ? 0 : button, x, y);
    if (!form_)
        return;
    // From a press until the last button is up, the window keeps the mouse wherever the pointer goes.
    if (press && GetCapture() != hwnd_)
        SetCapture(hwnd_);
    form_->runtime().mouse(*form_, event, button, shiftCode(), x, y);
    if (!press && form_ && form_->mouseState().heldButtons == 0 && buttonsCode(wParam) == 0 && GetCapture() == hwnd_)
        ReleaseCapture();
}

void FormWindow::mouseMove(WPARAM wParam, LPARAM lParam)
{
    lastMouse_ = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const double tpp = twipsPerPixel();
    const double x = lastMouse_.x * tpp, y = lastMouse_.y * tpp;
    releaseLostButtons(buttonsCode(wParam), 0, x, y);
    if (form_)
        form_->runtime().mouse(*form_, rt::MouseEvent::Move, buttonsCode(wParam), shiftCode(), x, y);
}

void FormWindow::releaseLostButtons(int stillHeld, int ownRelease, double x, double y)
{
    if (!form_)
        return;
    // Buttons the runtime holds that are up now, other than the one being released: their releases never
    // came (they were let go over another window while the capture was elsewhere).
    const int lost = form_->mouseState().heldButtons & ~stillHeld & ~ownRelease;
    for (const int button : {rt::kLeftButton, rt::kRightButton, rt::kMiddleButton})
        if ((lost & button) && form_)
            form_->runtime().mouse(*form_, rt::MouseEvent::Up, button, shiftCode(), x, y);
}

void FormWindow::captureLost()
{
    // The system took the mouse away mid-drag: every held button counts as released where the pointer
    // last was, as a release lost on the way ends a drag.
    const double tpp = twipsPerPixel();
    releaseLostButtons(0, 0, lastMouse_.x * tpp, lastMouse_.y * tpp);
}

void FormWindow::minimized()
{
    if (GetCapture() == hwnd_)
        ReleaseCapture();  // WM_CAPTURECHANGED ends the drag
    else
        captureLost();  // buttons held without the capture: their releases will not come either
}

bool FormWindow::setCursorFor(POINT client)
{
    if (!form_)
        return false;
    const double tpp = twipsPerPixel();
    const rt::Control* hit = form_->hitTest(client.x * tpp, client.y * tpp);
    SetCursor(LoadCursorW(nullptr, cursorFor(hit ? hit->pointer() : rt::MousePointer::Default)));
    return true;
}

bool FormWindow::key(WPARAM wParam, LPARAM lParam)
{
    const std::optional<rt::Key> pressed = keyFor(wParam, lParam);
    if (!form_ || !pressed)
        return false;
    const rt::Control* before = form_->keyboardFocus();
    const bool used = form_->runtime().key(*form_, *pressed, shiftCode());
    notifyFocus(before);
    return used;
}

}  // namespace winhost
