// A window of the program by its name, for tests that write events by hand.
#pragma once

#include <string_view>

#include "replay/script.h"

namespace testing_support {

inline replay::Window windowNamed(std::string_view name) { return replay::windowNamed(name).value(); }

}  // namespace testing_support
