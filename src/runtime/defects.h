// What the program does when it finds a defect of its own: an exception other than the runtime's errors
// escaping a handler (a control that is not there, a broken invariant). A debug build stops at once, so
// that the defect is seen where it happened; the other build types report it in one line and go on, as
// they do for a runtime error. Test and fuzz programs turn stopping on whatever the build type, through
// tests/support/stop_at_defects.cpp, so that the library itself is the same whether or not they are built.
#pragma once

namespace rt {

enum class DefectResponse { Stop, ReportAndContinue };

DefectResponse defectResponse();
void setDefectResponse(DefectResponse response);

}  // namespace rt
