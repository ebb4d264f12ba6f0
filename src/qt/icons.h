// Icon definitions as Qt images and icons.
#pragma once

#include <QIcon>
#include <QImage>

#include "runtime/definition.h"

namespace qthost {

// 32 x 32, transparent where the definition has '.' (or anything that is not a hex digit).
QImage iconImage(const rt::IconDefinition& icon);
QIcon toIcon(const rt::IconDefinition& icon);

}  // namespace qthost
