// What the Windows figures measure, the same way for the program and for the bare window: the time from
// the process's creation to its first frame, the peak working set, and the time of a resize with its
// repaint.
#pragma once

#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace measure {

inline void print(const std::string& line)
{
    DWORD written = 0;
    const std::string text = line + "\n";
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// "STARTUP_MS PEAK_KB": since the process was created, and its largest working set so far.
inline void printStartup()
{
    FILETIME created, exited, kernel, user, now;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimePreciseAsFileTime(&now);
    const auto ticks = [](const FILETIME& t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    const double ms = double(ticks(now) - ticks(created)) / 1e4;
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    K32GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    char line[64];
    std::snprintf(line, sizeof line, "%.1f %zu", ms, memory.PeakWorkingSetSize / 1024);
    print(line);
}

// Resizes `hwnd` `count` times between two client sizes, each resize painted before the next; prints the
// microseconds per resize.
inline void printResizes(HWND hwnd, int count, SIZE large, SIZE small)
{
    RECT outer{}, client{};
    GetWindowRect(hwnd, &outer);
    GetClientRect(hwnd, &client);
    const int frameX = (outer.right - outer.left) - client.right, frameY = (outer.bottom - outer.top) - client.bottom;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < count; ++i) {
        const SIZE s = i % 2 ? large : small;
        SetWindowPos(hwnd, nullptr, 0, 0, s.cx + frameX, s.cy + frameY, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        UpdateWindow(hwnd);
    }
    QueryPerformanceCounter(&end);
    char line[64];
    std::snprintf(line, sizeof line, "%.1f", double(end.QuadPart - start.QuadPart) * 1e6 / double(frequency.QuadPart) / count);
    print(line);
}

// The number after `option` on the command line, or `otherwise`.
inline int option(const wchar_t* commandLine, const wchar_t* name, int otherwise)
{
    const wchar_t* at = std::wcsstr(commandLine, name);
    return at ? static_cast<int>(std::wcstol(at + std::wcslen(name), nullptr, 10)) : otherwise;
}

// Splitter5's client area, 8910 x 8370 twips at 96 DPI, and a smaller one to alternate with.
inline constexpr SIZE kLarge{594, 558}, kSmall{494, 458};

}  // namespace measure
