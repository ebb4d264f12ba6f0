#include "runtime/defects.h"

namespace rt {
namespace {
// Set by the build type alone (see src/CMakeLists.txt); constant-initialized, so that a program may change
// it from a static initializer of its own.
#ifdef SPLITTER_STOP_AT_DEFECTS
constinit DefectResponse response = DefectResponse::Stop;
#else
constinit DefectResponse response = DefectResponse::ReportAndContinue;
#endif
}  // namespace

DefectResponse defectResponse() { return response; }

void setDefectResponse(DefectResponse newResponse) { response = newResponse; }

}  // namespace rt
