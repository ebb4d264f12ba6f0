#include "runtime/errors.h"

#include <utility>

namespace rt {
namespace {
// The GUI runs on one thread; thread_local keeps tests that run runtimes on other threads apart.
thread_local ErrorMode mode = ErrorMode::Untrapped;
thread_local unsigned long skipped = 0;
}  // namespace

const char* describe(ErrorCode code)
{
    switch (code) {
    case ErrorCode::None: return "no error";
    case ErrorCode::InvalidOperation: return "invalid floating-point operation";
    case ErrorCode::Overflow: return "overflow";
    case ErrorCode::DivisionByZero: return "division by zero";
    case ErrorCode::ObjectUnloaded: return "object was unloaded";
    case ErrorCode::InvalidPropertyValue: return "invalid property value";
    case ErrorCode::CannotSizeWindow: return "a window can't be sized while minimised or maximised";
    }
    return "unknown error";
}

RuntimeError::RuntimeError(ErrorCode code)
    : std::runtime_error(std::string("runtime error ") + std::to_string(static_cast<int>(code)) + ": " +
                         describe(code)),
      code_(code)
{
}

ErrorMode setErrorMode(ErrorMode newMode) { return std::exchange(mode, newMode); }

bool raise(ErrorCode code)
{
    if (mode == ErrorMode::Untrapped)
        throw RuntimeError(code);
    ++skipped;
    return false;
}

unsigned long skippedStatements() { return skipped; }

}  // namespace rt
