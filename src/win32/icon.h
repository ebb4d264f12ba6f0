// The windows' icons from their 16-colour pixel definitions.
#pragma once

#include <windows.h>

#include "runtime/definition.h"

namespace winhost {

// A 32 x 32 icon with a transparent background, or null; the caller destroys it.
HICON createIcon(const rt::IconDefinition& icon);

}  // namespace winhost
