// Painting a form's window from the shared fills, through a bitmap, only where Windows asks.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "paint/row_pixels.h"
#include "win32/form_window.h"

namespace winhost {
namespace {

paint::Rgb background()
{
    const COLORREF c = GetSysColor(COLOR_BTNFACE);
    return paint::rgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

}  // namespace

void FormWindow::paint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    const SIZE client = clientSize();
    const paint::Box area = paint::Box{ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom} &
                            paint::Box{0, 0, client.cx, client.cy};
    if (!area.empty() && ensureBitmap(client)) {
        auto* pixels = static_cast<std::uint32_t*>(bits_);
        const long stride = bitmapSize_.cx;
        const paint::Rgb face = background();
        fills_.clear();
        if (form_)
            paint::walkFills(*form_, scale(), face, area, [&](const paint::Box& b, paint::Rgb colour) {
                fills_.push_back({b.left, b.top, b.right, b.bottom, colour});
            });
        else
            fills_.push_back({area.left, area.top, area.right, area.bottom, face});
        paint::writeFills(fills_, area, pixels, stride, rows_);
        GdiFlush();
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, bitmap_);
        BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, memory, area.left, area.top,
               SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    EndPaint(hwnd_, &ps);
}

bool FormWindow::ensureBitmap(SIZE size)
{
    if (bitmap_ && bitmapSize_.cx >= size.cx && bitmapSize_.cy >= size.cy)
        return true;
    // Grown with some room, so that a window resized a pixel at a time does not make a bitmap each time.
    const SIZE grown{std::max(size.cx + size.cx / 4, bitmapSize_.cx), std::max(size.cy + size.cy / 4, bitmapSize_.cy)};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = std::max<LONG>(1, grown.cx);
    info.bmiHeader.biHeight = -std::max<LONG>(1, grown.cy);  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return false;
    if (bitmap_)
        DeleteObject(bitmap_);
    bitmap_ = bitmap;
    bits_ = bits;
    bitmapSize_ = {info.bmiHeader.biWidth, -info.bmiHeader.biHeight};
    return true;
}

void FormWindow::dpiChanged(UINT newDpi, const RECT& suggested)
{
    // The window moved to a screen of another DPI: it keeps its size in twips, so its client area is
    // that many pixels at the new DPI; Windows suggests where it goes.
    const double width = form_ ? double(form_->ScaleWidth()) : 0, height = form_ ? double(form_->ScaleHeight()) : 0;
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (form_) {
        const double perTwip = newDpi / 1440.0;
        setClientSize(static_cast<int>(std::lround(width * perTwip)), static_cast<int>(std::lround(height * perTwip)));
    }
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, FALSE);
}

}  // namespace winhost
