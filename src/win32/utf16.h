// Text for the wide (UTF-16) Windows API, from the UTF-8 the runtime keeps.
#pragma once

#include <string>
#include <string_view>

namespace winhost {

std::wstring wide(std::string_view utf8);

}  // namespace winhost
