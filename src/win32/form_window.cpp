#include "win32/form_window.h"

#include <windowsx.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <utility>

#include "forms/definitions.h"
#include "runtime/control.h"
#include "runtime/runtime.h"
#include "win32/icon.h"
#include "win32/utf16.h"
#include "win32/window_accessible.h"

namespace winhost {
namespace {

constexpr wchar_t kClassName[] = L"SplitterFormWindow";
// Menu entry i sends command kFirstMenuCommand + i.
constexpr UINT kFirstMenuCommand = 1000;
// Posted to apply a client width asked for during a resize.
constexpr UINT kApplyPendingWidth = WM_APP + 1;

// Menu captions are shown as they are: a '&' is not a mnemonic marker.
std::wstring menuText(const std::string& caption)
{
    std::wstring text;
    for (const wchar_t c : wide(caption)) {
        text += c;
        if (c == L'&')
            text += L'&';
    }
    return text;
}

HMENU createMenu(const rt::Form& form)
{
    const std::vector<rt::MenuEntry>& entries = form.menu();
    if (entries.empty())
        return nullptr;
    HMENU menu = CreateMenu();
    for (std::size_t i = 0; i < entries.size(); ++i)
        AppendMenuW(menu, MF_STRING, kFirstMenuCommand + i, menuText(entries[i].caption).c_str());
    return menu;
}

}  // namespace

bool FormWindow::registerClass(HINSTANCE instance)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = 0;  // no redraw of the whole window on resize: only what changed is painted
    wc.lpfnWndProc = &FormWindow::procedure;
    wc.hInstance = instance;
    wc.hCursor = nullptr;         // chosen on WM_SETCURSOR
    wc.hbrBackground = nullptr;  // no background erase: every pixel is painted from the fills
    wc.lpszClassName = kClassName;
    wc.hIcon = LoadIconW(instance, L"IDI_ICON1");
    return RegisterClassExW(&wc) != 0;
}

FormWindow::FormWindow(HINSTANCE instance, rt::Form& form) : form_(&form)
{
    const std::wstring caption = wide(form.caption());
    CreateWindowExW(0, kClassName, caption.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, nullptr, createMenu(form), instance, this);
    if (!hwnd_)
        return;
    if (const rt::IconDefinition* definition = form.definition().icon) {
        icon_ = createIcon(*definition);
        if (icon_) {
            SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
            SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
        }
    }
}

FormWindow::~FormWindow()
{
    detach();
    if (bitmap_)
        DeleteObject(bitmap_);
    if (icon_)
        DestroyIcon(icon_);
}

void FormWindow::detach()
{
    form_ = nullptr;
    if (WindowAccessible* accessible = std::exchange(accessible_, nullptr)) {
        accessible->disconnect();
        accessible->Release();
    }
    if (HWND hwnd = std::exchange(hwnd_, nullptr)) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        DestroyWindow(hwnd);  // its menu goes with it
    }
}

UINT FormWindow::dpi() const
{
    const UINT d = hwnd_ ? GetDpiForWindow(hwnd_) : 0;
    return d ? d : 96;
}

paint::DeviceScale FormWindow::scale() const
{
    // Fifteen twips to the 96 DPI pixel, scaled to the window's DPI: the same arithmetic as the Qt host at
    // that device pixel ratio, so that both round every edge alike.
    return {15, dpi() / 96.0};
}

SIZE FormWindow::clientSize() const
{
    RECT r{};
    if (hwnd_)
        GetClientRect(hwnd_, &r);
    return {r.right - r.left, r.bottom - r.top};
}

int FormWindow::frameWidthPixels() const
{
    if (!hwnd_)
        return 0;
    RECT outer{};
    GetWindowRect(hwnd_, &outer);
    return std::max(0, static_cast<int>(outer.right - outer.left) - static_cast<int>(clientSize().cx));
}

void FormWindow::setClientSize(int width, int height)
{
    if (!hwnd_)
        return;
    width = std::clamp(width, 0, 0x7FFF);
    height = std::clamp(height, 0, 0x7FFF);
    // The frame and the menu bar as the window has them now; a menu bar that wraps at the new width takes
    // another row, which the second pass gives back to the client area.
    for (int pass = 0; pass < 2; ++pass) {
        RECT outer{};
        GetWindowRect(hwnd_, &outer);
        const SIZE client = clientSize();
        if (client.cx == width && client.cy == height)
            return;
        const int outerWidth = width + (outer.right - outer.left) - client.cx;
        const int outerHeight = height + (outer.bottom - outer.top) - client.cy;
        SetWindowPos(hwnd_, nullptr, 0, 0, std::max(0, outerWidth), std::max(0, outerHeight),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void FormWindow::show()
{
    if (!hwnd_)
        return;
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    shown_ = true;
    reportClientSize();
    if (hwnd_)
        UpdateWindow(hwnd_);
}

void FormWindow::invalidate(const rt::Rect& area)
{
    if (!hwnd_ || area.empty())
        return;
    const double perTwip = dpi() / 1440.0;
    const SIZE client = clientSize();
    // Clamp before converting: areas may lie far outside the client area. A pixel more on each side
    // covers any rounding of the edges.
    const auto px = [](double v, LONG limit) { return static_cast<LONG>(std::clamp(v, -1.0, limit + 1.0)); };
    RECT r{px(std::floor(area.left * perTwip) - 1, client.cx), px(std::floor(area.top * perTwip) - 1, client.cy),
           px(std::ceil(area.right() * perTwip) + 1, client.cx), px(std::ceil(area.bottom() * perTwip) + 1, client.cy)};
    if (r.right > r.left && r.bottom > r.top)
        InvalidateRect(hwnd_, &r, FALSE);
}

void FormWindow::reportClientSize()
{
    if (!form_ || !shown_)
        return;
    const SIZE client = clientSize();
    const double tpp = twipsPerPixel();
    ++resizing_;
    form_->runtime().resized(*form_, client.cx * tpp, client.cy * tpp);
    --resizing_;
}

void FormWindow::requestClientWidth(int width)
{
    if (resizing_ == 0) {
        setClientSize(width, clientSize().cy);
        return;
    }
    const bool posted = pendingWidth_ >= 0;
    pendingWidth_ = width;
    if (!posted && hwnd_)
        PostMessageW(hwnd_, kApplyPendingWidth, 0, 0);
}

void FormWindow::applyPendingWidth()
{
    const int width = std::exchange(pendingWidth_, -1);
    if (form_ && hwnd_ && width >= 0 && width != clientSize().cx && !IsIconic(hwnd_) && !IsZoomed(hwnd_))
        setClientSize(width, clientSize().cy);
}

LRESULT CALLBACK FormWindow::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self || self->hwnd_ != hwnd)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT FormWindow::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Kept for the default handling: WM_NCDESTROY clears hwnd_, and closing may delete this window, so
    // the window's own messages come last and nothing of it is touched after them.
    const HWND hwnd = hwnd_;
    std::optional<LRESULT> result = pointerMessage(message, wParam, lParam);
    if (!result)
        result = keyboardMessage(message, wParam, lParam);
    if (!result)
        result = windowMessage(message, wParam, lParam);
    return result ? *result : DefWindowProcW(hwnd, message, wParam, lParam);
}

std::optional<LRESULT> FormWindow::windowMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND: return 1;  // the paint covers every pixel
    case WM_PAINT: paint(); return 0;
    case kApplyPendingWidth: applyPendingWidth(); return 0;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED)
            minimized();
        else
            reportClientSize();
        return 0;
    case WM_DPICHANGED: dpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == 0 && lParam == 0 && form_ && LOWORD(wParam) >= kFirstMenuCommand) {
            const std::size_t index = LOWORD(wParam) - kFirstMenuCommand;
            if (index < form_->menu().size())
                form_->runtime().click(*form_, index);
            return 0;
        }
        return std::nullopt;
    case WM_GETOBJECT:
        if (static_cast<LONG>(lParam) == OBJID_CLIENT && form_)
            return accessibleObject(wParam);
        return std::nullopt;
    case WM_CLOSE:
        if (form_)
            form_->runtime().close(*form_);  // unloads the form, which drops this window
        else
            DestroyWindow(hwnd_);
        return 0;
    case WM_NCDESTROY:
        // Destroyed from outside the host: the form closes as if the user had closed it.
        hwnd_ = nullptr;
        if (rt::Form* form = std::exchange(form_, nullptr))
            form->runtime().close(*form);
        return std::nullopt;
    default: return std::nullopt;
    }
}

LRESULT FormWindow::accessibleObject(WPARAM wParam)
{
    if (!accessible_)
        accessible_ = new WindowAccessible(*this);
    return LresultFromObject(__uuidof(IAccessible), wParam, accessible_);
}

void FormWindow::notifyFocus(const rt::Control* before)
{
    if (!form_ || !form_->loaded() || !hwnd_)
        return;
    const rt::Control* now = form_->keyboardFocus();
    if (now != before)
        NotifyWinEvent(EVENT_OBJECT_FOCUS, hwnd_, OBJID_CLIENT, accessibleChildId(*form_, now));
}

}  // namespace winhost
