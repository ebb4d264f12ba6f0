#include "win32/console.h"

#include <windows.h>

#include <string>

namespace winhost {
namespace {

bool usable(HANDLE handle)
{
    return handle && handle != INVALID_HANDLE_VALUE;
}

// The console of the process that started this one, attached on first use; null when there is none.
HANDLE parentConsole()
{
    static const HANDLE console = [] {
        if (!AttachConsole(ATTACH_PARENT_PROCESS))
            return HANDLE(nullptr);
        return CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    }();
    return console;
}

std::string utf8(std::wstring_view text)
{
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

// A console takes the text as UTF-16; a file or a pipe gets UTF-8.
bool writeTo(HANDLE handle, std::wstring_view text)
{
    if (!usable(handle))
        return false;
    DWORD written = 0;
    if (GetFileType(handle) == FILE_TYPE_CHAR &&
        WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr))
        return true;
    const std::string bytes = utf8(text);
    return WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

}  // namespace

bool writeToConsole(Stream stream, std::wstring_view text)
{
    // A GUI program may be handed console handles it cannot use (started from a console without
    // redirection): a failed write falls back to attaching to that console.
    const HANDLE handed = GetStdHandle(stream == Stream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    return writeTo(handed, text) || writeTo(parentConsole(), text);
}

void showMessageBox(Stream stream, std::wstring_view text)
{
    const std::wstring message(text);
    MessageBoxW(nullptr, message.c_str(), L"Splitter",
                MB_OK | MB_SETFOREGROUND | (stream == Stream::Error ? MB_ICONERROR : MB_ICONINFORMATION));
}

}  // namespace winhost
