// Decoding of the stored Japanese code-page text (menu captions) for display.
#pragma once

#include <string>
#include <string_view>

namespace rt {

// Decodes code page 932 (Shift-JIS) bytes to UTF-8. Undecodable input yields U+FFFD for the rest of the
// text and a message in `problem`.
std::string decodeCp932(std::string_view bytes, std::string* problem = nullptr);

}  // namespace rt
