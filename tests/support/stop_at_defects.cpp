// Linked into every test and fuzz program: a defect stops the program at once, whatever the build type,
// so that no test and no fuzz run passes over one. Runs before main; the library's own setting is
// constant-initialized, so it cannot come after this.
#include "runtime/defects.h"

namespace {

struct StopAtDefects {
    StopAtDefects() { rt::setDefectResponse(rt::DefectResponse::Stop); }
} stopAtDefects;

}  // namespace
