// Text for whoever started the program: a program of the GUI subsystem has no console of its own, so it
// writes to the handles its parent handed down, or else to the parent's console, or shows a message box.
#pragma once

#include <string_view>

namespace winhost {

enum class Stream { Output, Error };

// Writes `text` to the standard handle the parent handed down, or else to the console of the process
// that started this one. Returns false when there is neither, or writing failed.
bool writeToConsole(Stream stream, std::wstring_view text);

// Shows `text` in a message box titled with the product name, for when there is no console: an error
// with the error icon.
void showMessageBox(Stream stream, std::wstring_view text);

}  // namespace winhost
