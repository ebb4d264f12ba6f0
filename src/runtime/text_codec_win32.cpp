// Code page 932 through the Windows code page tables, where there is no iconv.
#include <windows.h>

#include <algorithm>

#include "runtime/text_codec.h"

namespace rt {
namespace {

// The UTF-16 of `bytes`, or nothing when any of it is not valid code page 932.
bool toWide(std::string_view bytes, std::wstring& wide)
{
    if (bytes.empty()) {
        wide.clear();
        return true;
    }
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (length <= 0)
        return false;
    wide.assign(static_cast<std::size_t>(length), L'\0');
    return MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(), length) == length;
}

std::string toUtf8(const std::wstring& wide)
{
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(std::max(length, 0)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, out.data(), length, nullptr, nullptr);
    return out;
}

}  // namespace

std::string decodeCp932(std::string_view bytes, std::string* problem)
{
    std::wstring wide;
    if (toWide(bytes, wide))
        return toUtf8(wide);
    if (!IsValidCodePage(932)) {
        if (problem)
            *problem = "code page 932 is not available";
        return "\xEF\xBF\xBD";
    }
    // The longest start that decodes, then U+FFFD for the rest, as with iconv.
    std::size_t good = bytes.size() - 1;
    while (good > 0 && !toWide(bytes.substr(0, good), wide))
        --good;
    if (good == 0)
        wide.clear();
    if (problem)
        *problem = "undecodable code page 932 text";
    return toUtf8(wide) + "\xEF\xBF\xBD";
}

}  // namespace rt
