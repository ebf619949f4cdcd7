// The number conversions every built-in shares. NaN and values outside the
// target range give a defined result (the integer indefinite value
// INT32_MIN / INT64_MIN, as the processor gives it), never undefined behaviour.
#pragma once
#include <cstdint>

#include "Base/RValue.h"

// Rounds to the nearest integer, halves to even.
int32_t Convert_RoundInt(double d);
int64_t Convert_RoundInt64(double d);
// Truncates toward zero.
int32_t Convert_TruncInt(double d);
int64_t Convert_TruncInt64(double d);
// Narrows to single precision, as a store into a float field does (values
// beyond the float range become infinities).
float Convert_ToSingle(double d);
// The built-ins' truth rule: true at 0.5 or more.
inline bool Convert_IsTrue(double d) { return d >= 0.5; }

// The real of a value (0 for a string).
inline double RValue_Real(const RValue& v) { return v.kind == VALUE_STRING ? 0.0 : v.val; }
inline int32_t RValue_RoundInt(const RValue& v) { return Convert_RoundInt(RValue_Real(v)); }
inline int32_t RValue_TruncInt(const RValue& v) { return Convert_TruncInt(RValue_Real(v)); }
inline float RValue_Single(const RValue& v) { return Convert_ToSingle(RValue_Real(v)); }
inline bool RValue_IsTrue(const RValue& v) { return Convert_IsTrue(RValue_Real(v)); }
// The stricter truth rule some built-ins keep: true only above 0.5.
inline bool RValue_IsTrueAbove(const RValue& v) { return RValue_Real(v) > 0.5; }
