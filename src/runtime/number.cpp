#include "runtime/number.h"

#include <cmath>

namespace rt {

Number Number::checked(double result)
{
    if (std::isnan(result))
        return faulted(ErrorCode::InvalidOperation);
    if (std::isinf(result))
        return faulted(ErrorCode::Overflow);
    return Number(result);
}

Number operator+(Number a, Number b)
{
    if (!a.ok()) return a;
    if (!b.ok()) return b;
    return Number::checked(a.value_ + b.value_);
}

Number operator-(Number a, Number b)
{
    if (!a.ok()) return a;
    if (!b.ok()) return b;
    return Number::checked(a.value_ - b.value_);
}

Number operator*(Number a, Number b)
{
    if (!a.ok()) return a;
    if (!b.ok()) return b;
    return Number::checked(a.value_ * b.value_);
}

Number operator/(Number a, Number b)
{
    if (!a.ok()) return a;
    if (!b.ok()) return b;
    if (b.value_ == 0.0)
        return Number::faulted(a.value_ == 0.0 || std::isnan(a.value_) ? ErrorCode::InvalidOperation
                                                                        : ErrorCode::DivisionByZero);
    return Number::checked(a.value_ / b.value_);
}

ErrorCode roundToSingle(Number n, Single& out)
{
    if (!n.ok())
        return n.fault();
    if (std::isnan(n.value()))
        return ErrorCode::InvalidOperation;
    const auto rounded = static_cast<Single>(n.value());
    if (std::isinf(rounded))
        return ErrorCode::Overflow;
    out = rounded;
    return ErrorCode::None;
}

bool store(Single& target, Number n)
{
    Single rounded = 0;
    if (const ErrorCode fault = roundToSingle(n, rounded); fault != ErrorCode::None)
        return raise(fault);
    target = rounded;
    return true;
}

Single toSingle(Number n)
{
    Single result = 0;
    store(result, n);
    return result;
}

}  // namespace rt
