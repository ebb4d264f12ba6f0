#include "win32/icon.h"

#include <cstdint>

namespace winhost {

HICON createIcon(const rt::IconDefinition& icon)
{
    constexpr int kSize = 32;
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof header;
    header.bV5Width = kSize;
    header.bV5Height = -kSize;  // top-down, as the rows are stored
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP colour = CreateDIBSection(screen, reinterpret_cast<const BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits,
                                      nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!colour)
        return nullptr;
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const char c = icon.rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
            const int index = c == '.' ? -1 : (c <= '9' ? c - '0' : c - 'A' + 10);
            pixels[y * kSize + x] =
                index < 0 ? 0u : 0xFF000000u | rt::kIconPalette[static_cast<std::size_t>(index & 15)];
        }
    // The alpha channel says what is transparent; the mask is only there because an icon must have one.
    HBITMAP mask = CreateBitmap(kSize, kSize, 1, 1, nullptr);
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON result = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(colour);
    return result;
}

}  // namespace winhost
