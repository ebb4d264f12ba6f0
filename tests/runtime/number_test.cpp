#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "runtime/number.h"

namespace {

using rt::ErrorCode;
using rt::Number;
using rt::Single;

ErrorCode faultOfStoring(Number n)
{
    Single out = 0;
    return rt::roundToSingle(n, out);
}

TEST(TwipsArithmetic, FaultsAreCarriedToTheStoreThatRaisesThem)
{
    EXPECT_EQ(faultOfStoring(Number(1e308) * 10), ErrorCode::Overflow);
    EXPECT_EQ(faultOfStoring(Number(1) / 0), ErrorCode::DivisionByZero);
    EXPECT_EQ(faultOfStoring(Number(0) / 0), ErrorCode::InvalidOperation);
    EXPECT_EQ(faultOfStoring(Number(INFINITY) - INFINITY), ErrorCode::InvalidOperation);
    // A fault early in an expression survives later steps that would be fine on their own.
    EXPECT_EQ(faultOfStoring((Number(1) / 0) * 0 + 5), ErrorCode::DivisionByZero);
}

TEST(TwipsArithmetic, ResultsBeyondSingleRangeOverflowWhenStored)
{
    EXPECT_EQ(faultOfStoring(Number(1e39)), ErrorCode::Overflow);
    EXPECT_EQ(faultOfStoring(Number(-1e39)), ErrorCode::Overflow);
    EXPECT_EQ(faultOfStoring(Number(FLT_MAX) + 1e6), ErrorCode::None);  // rounds back to FLT_MAX
}

TEST(TwipsArithmetic, IntermediatesKeepDoublePrecisionAndRoundOnceWhenStored)
{
    // 2^24 + 1 is not a Single, but the sum stays exact in double until it is stored.
    const Number big = 16777216.0;
    Single out = 0;
    ASSERT_EQ(rt::roundToSingle(big + 1 - 1, out), ErrorCode::None);
    EXPECT_EQ(out, 16777216.0f);
    ASSERT_EQ(rt::roundToSingle(Number(4560) + 40 - 8910, out), ErrorCode::None);
    EXPECT_EQ(out, -4310.0f);
}

TEST(TwipsArithmetic, StoreRaisesUntrappedAndSkipsUnderResumeNext)
{
    Single target = 7;
    EXPECT_THROW(rt::store(target, Number(1e39)), rt::RuntimeError);
    EXPECT_EQ(target, 7);
    {
        rt::OnErrorResumeNext onError;
        EXPECT_FALSE(rt::store(target, Number(1e39)));
        EXPECT_TRUE(rt::store(target, Number(3)));
    }
    EXPECT_EQ(target, 3);
    EXPECT_THROW(rt::store(target, Number(1) / 0), rt::RuntimeError);  // the mode ended with its scope
}

TEST(TwipsArithmetic, EachModeScopeGivesBackTheModeAroundIt)
{
    Single target = 7;
    {
        rt::OnErrorResumeNext routine;
        {
            // A handler entered from inside the routine runs untrapped, and the routine goes on as it was.
            rt::UntrappedScope handler;
            EXPECT_THROW(rt::store(target, Number(1e39)), rt::RuntimeError);
            {
                rt::OnErrorResumeNext nested;
                EXPECT_FALSE(rt::store(target, Number(1e39)));
            }
            EXPECT_THROW(rt::store(target, Number(1e39)), rt::RuntimeError);
        }
        EXPECT_FALSE(rt::store(target, Number(1e39)));
    }
    EXPECT_THROW(rt::store(target, Number(1e39)), rt::RuntimeError);
    EXPECT_EQ(target, 7);
}

TEST(TwipsArithmetic, RuntimeErrorsSayWhatFailed)
{
    try {
        rt::raise(ErrorCode::InvalidPropertyValue);
        FAIL() << "untrapped raise must throw";
    } catch (const rt::RuntimeError& e) {
        EXPECT_EQ(e.code(), ErrorCode::InvalidPropertyValue);
        EXPECT_STREQ(e.what(), "runtime error 380: invalid property value");
    }
}

}  // namespace
