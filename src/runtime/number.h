// Twips arithmetic: values are stored as single-precision floats, while a computation runs in double
// precision and is rounded to single only where its result is stored. A step that overflows, divides by
// zero or produces NaN carries a fault instead of a value; storing a faulted number raises that fault.
#pragma once

#include "runtime/errors.h"

namespace rt {

using Single = float;

class Number {
public:
    constexpr Number(double value) : value_(value) {}  // NOLINT(google-explicit-constructor): twips literals
    static constexpr Number faulted(ErrorCode code) { return Number(0.0, code); }

    bool ok() const { return fault_ == ErrorCode::None; }
    ErrorCode fault() const { return fault_; }
    double value() const { return value_; }

    friend Number operator+(Number a, Number b);
    friend Number operator-(Number a, Number b);
    friend Number operator*(Number a, Number b);
    friend Number operator/(Number a, Number b);

private:
    constexpr Number(double value, ErrorCode fault) : value_(value), fault_(fault) {}
    static Number checked(double result);

    double value_;
    ErrorCode fault_ = ErrorCode::None;
};

// Rounds to single precision. Fails with the number's fault, or with Overflow when the value lies beyond
// the single range.
ErrorCode roundToSingle(Number n, Single& out);

// The store that handler code uses for its own variables: raises on failure (see raise()).
// Returns false, and leaves `target` alone, when the failure was skipped in resume-next mode.
bool store(Single& target, Number n);

// For untrapped code that needs the value: raises (throws) on failure. In resume-next mode a failure
// yields 0, which is never used since callers of this form run untrapped.
Single toSingle(Number n);

// Comparisons used by handlers; both sides are rounded to single first where the handler says so.
inline bool operator<(Number a, Number b) { return a.value() < b.value(); }
inline bool operator<=(Number a, Number b) { return a.value() <= b.value(); }

}  // namespace rt
