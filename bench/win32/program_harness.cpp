// The program as splitter.exe runs it, measured: --startup prints the time to the main window's first
// frame and the peak working set, then ends; --resize N opens Splitter5 and prints the time of one of N
// resizes with their layout and repaint.
#include <windows.h>

#include "app/program.h"
#include "measure.h"
#include "win32/form_window.h"
#include "win32/win32_host.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int)
{
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    if (!winhost::FormWindow::registerClass(instance))
        return 1;
    winhost::Win32Host host(instance);
    app::Program program(host.runtime());
    program.start();  // shows the main window and paints it
    if (std::wcsstr(commandLine, L"--startup")) {
        measure::printStartup();
        return 0;
    }
    if (const int count = measure::option(commandLine, L"--resize", 0); count > 0) {
        program.RokuBunMenu_Click();
        const winhost::FormWindow* window = host.window(*program.instance<forms::Splitter5>());
        if (!window)
            return 1;
        measure::printResizes(window->handle(), count, measure::kLarge, measure::kSmall);
        return 0;
    }
    return host.run();
}
