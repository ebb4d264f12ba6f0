// A bare Win32 window with a menu bar of three entries and a client area filled with one colour: the
// yardstick for splitter.exe's start-up, memory and resize figures, and the measure of the frame Windows
// (or Wine) gives a sizable window with a menu bar.
//
//   bare_window.exe              shows the window until it is closed
//   bare_window.exe --frame      prints the outer width less the client width, in pixels, and ends
//   bare_window.exe --startup    prints the time to the first frame and the peak working set, and ends
//   bare_window.exe --resize N   prints the time of one of N resizes, with their repaint, and ends
#include <windows.h>

#include <cwchar>
#include <string>

#include "measure.h"

namespace {

LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        FillRect(dc, &ps.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int)
{
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    const bool frameOnly = std::wcsstr(commandLine, L"--frame") != nullptr;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"BareWindow";
    RegisterClassExW(&wc);
    HMENU menu = CreateMenu();
    AppendMenuW(menu, MF_STRING, 1, L"\xFF13\x5206\x5272");
    AppendMenuW(menu, MF_STRING, 2, L"\xFF14\x5206\x5272");
    AppendMenuW(menu, MF_STRING, 3, L"\xFF15\x5206\x5272");
    HWND hwnd = CreateWindowExW(0, L"BareWindow", L"BareWindow", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                343, 320, nullptr, menu, instance, nullptr);
    if (!hwnd)
        return 1;
    if (frameOnly) {
        RECT outer{}, client{};
        GetWindowRect(hwnd, &outer);
        GetClientRect(hwnd, &client);
        measure::print(std::to_string((outer.right - outer.left) - (client.right - client.left)));
        DestroyWindow(hwnd);
        return 0;
    }
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    if (std::wcsstr(commandLine, L"--startup")) {
        measure::printStartup();
        return 0;
    }
    if (const int count = measure::option(commandLine, L"--resize", 0); count > 0) {
        measure::printResizes(hwnd, count, measure::kLarge, measure::kSmall);
        return 0;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
