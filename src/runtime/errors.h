// Runtime errors and the two ways a routine handles them: untrapped (the routine ends at the failure and
// the error goes to the default handling) and resume-next (the failing statement is skipped).
#pragma once

#include <stdexcept>
#include <string>

namespace rt {

// Numbers follow the classic forms runtime so that messages look familiar.
enum class ErrorCode : int {
    None = 0,
    InvalidOperation = 5,  // an invalid floating-point operation (a NaN result)
    Overflow = 6,
    DivisionByZero = 11,
    ObjectUnloaded = 364,
    InvalidPropertyValue = 380,
    CannotSizeWindow = 384,  // the host refused to resize a window (minimised or maximised)
};

const char* describe(ErrorCode code);

class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(ErrorCode code);
    ErrorCode code() const { return code_; }

private:
    ErrorCode code_;
};

// How a failing statement is handled: it ends the handler (untrapped) or is skipped (resume-next).
enum class ErrorMode { Untrapped, ResumeNext };

// Sets the mode for the rest of this thread's run; returns the mode it replaces.
ErrorMode setErrorMode(ErrorMode mode);

// A mode for as long as the scope lasts; the previous one comes back when it ends.
template <ErrorMode Mode>
class ErrorModeScope {
public:
    ErrorModeScope() : previous_(setErrorMode(Mode)) {}
    ~ErrorModeScope() { setErrorMode(previous_); }
    ErrorModeScope(const ErrorModeScope&) = delete;
    ErrorModeScope& operator=(const ErrorModeScope&) = delete;

private:
    ErrorMode previous_;
};

// Declared as the first line of a routine that runs in resume-next mode; a resume-next routine called from
// an untrapped handler thus does not change how the handler's own later statements fail.
using OnErrorResumeNext = ErrorModeScope<ErrorMode::ResumeNext>;

// The reverse: event dispatch starts every handler untrapped, whatever was active around it (a handler
// may be entered from inside a resume-next routine, e.g. Resize through a Width assignment).
using UntrappedScope = ErrorModeScope<ErrorMode::Untrapped>;

// Reports a failed statement. Untrapped: throws RuntimeError, ending the handler. Resume-next: counts the
// skipped statement and returns false, so the caller leaves its target unchanged.
bool raise(ErrorCode code);

// Statements skipped in resume-next mode since the program started (for diagnostics and tests).
unsigned long skippedStatements();

}  // namespace rt
