// The program's command line on Windows, read before any window exists: the options the Linux program
// has of its own (help and version), refused in the same words when unknown or stray.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace winhost {

struct CommandLine {
    enum class Request { Run, Help, Version, Invalid };
    Request request = Request::Run;
    std::wstring problem;  // why an invalid line was refused
};

// `arguments` starts with the program's name, as CommandLineToArgvW splits it.
CommandLine parseCommandLine(const std::vector<std::wstring>& arguments);

// The usage line and the options, for --help.
std::wstring helpText(std::wstring_view programName);

// The arguments this process was started with, split as the C runtime splits them.
std::vector<std::wstring> processArguments();

}  // namespace winhost
