#include "win32/command_line.h"

#include <windows.h>
#include <shellapi.h>

namespace winhost {
namespace {

enum class Option { None, Help, Version };

// Both "-name" and "--name" are the long option, as on Linux; "/?" is Windows' own way to ask for help.
Option optionNamed(std::wstring_view name)
{
    if (name == L"h" || name == L"help" || name == L"?")
        return Option::Help;
    if (name == L"v" || name == L"version")
        return Option::Version;
    return Option::None;
}

std::wstring quoted(std::wstring_view text)
{
    return L"'" + std::wstring(text) + L"'";
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::wstring>& arguments)
{
    bool help = false, version = false, optionsEnded = false;
    std::wstring valueProblem, stray;
    std::vector<std::wstring> unknown;
    for (size_t i = 1; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || (argument[0] != L'-' && argument != L"/?")) {
            if (stray.empty())
                stray = argument;
            continue;
        }
        if (argument == L"--") {
            optionsEnded = true;
            continue;
        }
        std::wstring_view name(argument);
        name.remove_prefix(name.starts_with(L"--") ? 2 : 1);
        const size_t equals = name.find(L'=');
        const Option option = optionNamed(name.substr(0, equals));
        if (option == Option::None) {
            unknown.emplace_back(name.substr(0, equals));
            continue;
        }
        // Neither option takes a value.
        if (equals != std::wstring_view::npos && valueProblem.empty())
            valueProblem = L"Unexpected value after " + quoted(argument.substr(0, argument.find(L'='))) + L".";
        (option == Option::Help ? help : version) = true;
    }

    CommandLine line;
    if (!valueProblem.empty()) {
        line.problem = valueProblem;
    } else if (unknown.size() == 1) {
        line.problem = L"Unknown option " + quoted(unknown.front()) + L".";
    } else if (!unknown.empty()) {
        line.problem = L"Unknown options: " + unknown.front();
        for (size_t i = 1; i < unknown.size(); ++i)
            line.problem += L", " + unknown[i];
        line.problem += L".";
    } else if (!stray.empty()) {
        line.problem = L"Unexpected argument " + quoted(stray) + L".";
    }
    if (!line.problem.empty())
        line.request = CommandLine::Request::Invalid;
    else if (help)
        line.request = CommandLine::Request::Help;
    else if (version)
        line.request = CommandLine::Request::Version;
    return line;
}

std::wstring helpText(std::wstring_view programName)
{
    return L"Usage: " + std::wstring(programName) +
           L" [options]\n"
           L"Opens a window divided into two coloured panes by a draggable bar; its menu opens windows\n"
           L"with three, four and five panes.\n"
           L"\n"
           L"Options:\n"
           L"  -h, --help     Displays help on commandline options.\n"
           L"  -v, --version  Displays version information.\n";
}

std::vector<std::wstring> processArguments()
{
    int count = 0;
    LPWSTR* split = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> arguments;
    if (!split)
        return {L"splitter.exe"};
    arguments.assign(split, split + count);
    LocalFree(split);
    return arguments;
}

}  // namespace winhost
