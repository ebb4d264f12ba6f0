// What a program tells whatever shows it about itself: its name, its version and its icon.
#pragma once

#include <string_view>

#include "runtime/definition.h"

namespace rt {

struct ProgramIdentity {
    std::string_view name;     // as the desktop knows it, also the settings' application name
    std::string_view version;
    const IconDefinition* icon;  // the program's own icon; null: none
    std::string_view desktopEntry;  // its desktop entry's name, without ".desktop"; empty: none
};

}  // namespace rt
