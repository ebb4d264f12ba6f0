// The program entry on Windows: answers --help, --version and a wrong command line, or shows the main
// window and runs until the last window has closed.
#include <windows.h>
#include <objbase.h>

#include <optional>

#include "app/program.h"
#include "win32/command_line.h"
#include "win32/console.h"
#include "win32/form_window.h"
#include "win32/utf16.h"
#include "win32/win32_host.h"

namespace {

// Says what the command line asks for, when it asks for something other than the windows: to the
// console that started the program, or in a message box when there is none. Returns the exit status
// then (2 for a line refused, as on Linux), or nothing to run the program.
std::optional<int> answerCommandLine(const std::vector<std::wstring>& arguments)
{
    const winhost::CommandLine line = winhost::parseCommandLine(arguments);
    const std::wstring programName = arguments.empty() ? L"splitter.exe" : arguments.front();
    switch (line.request) {
    case winhost::CommandLine::Request::Run:
        return std::nullopt;
    case winhost::CommandLine::Request::Help:
    case winhost::CommandLine::Request::Version: {
        const std::wstring text = line.request == winhost::CommandLine::Request::Help
                                      ? winhost::helpText(programName)
                                      : L"splitter " + winhost::wide(app::kVersion) + L"\n";
        if (!winhost::writeToConsole(winhost::Stream::Output, text))
            winhost::showMessageBox(winhost::Stream::Output, text);
        return 0;
    }
    case winhost::CommandLine::Request::Invalid:
        break;
    }
    const std::wstring advice = L"Try '" + programName + L" --help' for more information.";
    if (!winhost::writeToConsole(winhost::Stream::Error, L"splitter: " + line.problem + L"\n" + advice + L"\n"))
        winhost::showMessageBox(winhost::Stream::Error, line.problem + L"\n" + advice);
    return 2;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    // The manifest declares per-monitor DPI awareness; this covers a start without it (a renamed copy
    // whose manifest a loader ignored), and fails harmlessly when it is already set.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    if (const std::optional<int> status = answerCommandLine(winhost::processArguments()))
        return *status;
    if (!winhost::FormWindow::registerClass(instance)) {
        winhost::reportError("splitter: cannot register the window class");
        return 1;
    }
    // A single-threaded apartment: assistive tools in other processes call the windows' accessible
    // objects through COM, which delivers their calls by this thread's message loop.
    const bool comReady = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    int status = 0;
    {
        winhost::Win32Host host(instance);
        app::Program program(host.runtime());
        program.start();
        status = host.run();
    }
    if (comReady)
        CoUninitialize();
    return status;
}
