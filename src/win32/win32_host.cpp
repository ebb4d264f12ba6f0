#include "win32/win32_host.h"

#include <algorithm>
#include <cmath>

#include "win32/console.h"
#include "win32/form_window.h"
#include "win32/utf16.h"

namespace winhost {

void reportError(const std::string& text)
{
    const std::wstring line = wide(text + "\n");
    OutputDebugStringW(line.c_str());
    writeToConsole(Stream::Error, line);
}

Win32Host::Win32Host(HINSTANCE instance) : instance_(instance), runtime_(*this)
{
    runtime_.setErrorOutput(reportError);
}

Win32Host::~Win32Host()
{
    windows_.clear();
    dropped_.clear();
}

FormWindow* Win32Host::window(const rt::Form& form) const
{
    const auto it = windows_.find(&form);
    return it == windows_.end() ? nullptr : it->second.get();
}

double Win32Host::twipsPerPixel(const rt::Form& form) const
{
    if (const FormWindow* w = window(form))
        return w->twipsPerPixel();
    // A window not yet created goes on the primary screen, at the system's DPI.
    const UINT dpi = GetDpiForSystem();
    return 1440.0 / (dpi ? dpi : 96);
}

void Win32Host::showForm(rt::Form& form)
{
    if (FormWindow* w = window(form)) {
        ShowWindow(w->handle(), IsIconic(w->handle()) ? SW_RESTORE : SW_SHOW);
        SetForegroundWindow(w->handle());
        return;
    }
    auto created = std::make_unique<FormWindow>(instance_, form);
    if (!created->handle()) {
        reportError("splitter: cannot create the window " + std::string(form.name()));
        return;
    }
    FormWindow& w = *windows_.emplace(&form, std::move(created)).first->second;
    const double tpp = w.twipsPerPixel();
    w.setClientSize(static_cast<int>(std::lround(form.ScaleWidth() / tpp)),
                    static_cast<int>(std::lround(form.ScaleHeight() / tpp)));
    w.show();
}

void Win32Host::unloadForm(rt::Form& form)
{
    const auto it = windows_.find(&form);
    if (it == windows_.end())
        return;
    // The window may be handling one of its own messages (its close button): it is destroyed now, and the
    // object deleted once the message loop has it back.
    it->second->detach();
    dropped_.push_back(std::move(it->second));
    windows_.erase(it);
}

bool Win32Host::resizeOuterWidth(rt::Form& form, rt::Single outerWidth)
{
    FormWindow* w = window(form);
    if (!w || !w->handle() || IsIconic(w->handle()) || IsZoomed(w->handle()))
        return false;
    const double tpp = w->twipsPerPixel();
    const double client = std::ceil((double(outerWidth) - frameWidth(form)) / tpp);
    const int pixels = static_cast<int>(std::clamp(client, 0.0, double(0x7FFF)));
    const SIZE now = w->clientSize();
    // Nothing to do at the current size; asking anyway must not start another Resize.
    if (pixels != now.cx)
        w->requestClientWidth(pixels);
    return true;
}

rt::Single Win32Host::frameWidth(const rt::Form& form) const
{
    const FormWindow* w = window(form);
    if (!w || !w->handle() || !IsWindowVisible(w->handle()))
        return 0;
    return static_cast<rt::Single>(w->frameWidthPixels() * w->twipsPerPixel());
}

void Win32Host::areaChanged(rt::Form& form, const rt::Rect& area)
{
    if (FormWindow* w = window(form))
        w->invalidate(area);
}

void Win32Host::allFormsClosed() { PostQuitMessage(0); }

int Win32Host::run()
{
    MSG message;
    int status = 0;
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            status = static_cast<int>(message.wParam);
            break;
        }
        if (got < 0) {
            status = 1;
            break;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
        deleteDropped();
    }
    deleteDropped();
    return status;
}

}  // namespace winhost
