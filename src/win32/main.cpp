// The program entry on Windows: shows the main window and runs until the last window has closed.
#include <windows.h>

#include "app/program.h"
#include "win32/form_window.h"
#include "win32/win32_host.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    // The manifest declares per-monitor DPI awareness; this covers a start without it (a renamed copy
    // whose manifest a loader ignored), and fails harmlessly when it is already set.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    if (!winhost::FormWindow::registerClass(instance)) {
        winhost::reportError("splitter: cannot register the window class");
        return 1;
    }
    winhost::Win32Host host(instance);
    app::Program program(host.runtime());
    program.start();
    return host.run();
}
