// The maths built-ins, declared for the handlers that call one another and
// for the tests; scripts reach them through the function table.
#pragma once
#include "Code/Code_BuiltinTable.h"

#define MATH_BUILTIN(name) void name(RValue& Result, CInstance* self, CInstance* other, int argc, const RValue* arg)

MATH_BUILTIN(F_IsReal);
MATH_BUILTIN(F_IsString);
MATH_BUILTIN(F_Random);
MATH_BUILTIN(F_RandomRange);
MATH_BUILTIN(F_IRandom);
MATH_BUILTIN(F_IRandomRange);
MATH_BUILTIN(F_RandomSetSeed);
MATH_BUILTIN(F_RandomGetSeed);
MATH_BUILTIN(F_Randomize);

MATH_BUILTIN(F_Abs);
MATH_BUILTIN(F_Round);
MATH_BUILTIN(F_Floor);
MATH_BUILTIN(F_Ceil);
MATH_BUILTIN(F_Sign);
MATH_BUILTIN(F_Frac);
MATH_BUILTIN(F_Sqrt);
MATH_BUILTIN(F_Sqr);
MATH_BUILTIN(F_Exp);
MATH_BUILTIN(F_Ln);
MATH_BUILTIN(F_Log2);
MATH_BUILTIN(F_Log10);
MATH_BUILTIN(F_Power);
MATH_BUILTIN(F_Logn);

MATH_BUILTIN(F_Sin);
MATH_BUILTIN(F_Cos);
MATH_BUILTIN(F_Tan);
MATH_BUILTIN(F_Arcsin);
MATH_BUILTIN(F_Arccos);
MATH_BUILTIN(F_Arctan);
MATH_BUILTIN(F_Arctan2);
MATH_BUILTIN(F_DegToRad);
MATH_BUILTIN(F_RadToDeg);

MATH_BUILTIN(F_Min);
MATH_BUILTIN(F_Max);
MATH_BUILTIN(F_Mean);
MATH_BUILTIN(F_Median);
MATH_BUILTIN(F_Choose);
MATH_BUILTIN(F_Clamp);
MATH_BUILTIN(F_Lerp);
MATH_BUILTIN(F_Real);

MATH_BUILTIN(F_PointDistance);
MATH_BUILTIN(F_PointDistance3D);
MATH_BUILTIN(F_PointDirection);
MATH_BUILTIN(F_LengthdirX);
MATH_BUILTIN(F_LengthdirY);
MATH_BUILTIN(F_DotProduct);
MATH_BUILTIN(F_DotProduct3D);
MATH_BUILTIN(F_DotProductNormalised);
MATH_BUILTIN(F_DotProduct3DNormalised);

// The angle constant of the maths built-ins and of `pi`: pi in single precision.
constexpr double MATH_PI = 3.1415927410125732;
