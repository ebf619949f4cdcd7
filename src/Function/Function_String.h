// The string built-ins, declared for the handlers that call one another and
// for the tests; scripts reach them through the function table.
#pragma once
#include "Function/Function_Math.h"

MATH_BUILTIN(F_String);
MATH_BUILTIN(F_StringFormat);
MATH_BUILTIN(F_Chr);
MATH_BUILTIN(F_AnsiChar);
MATH_BUILTIN(F_Ord);
MATH_BUILTIN(F_StringLength);
MATH_BUILTIN(F_StringByteLength);
MATH_BUILTIN(F_StringPos);
MATH_BUILTIN(F_StringCopy);
MATH_BUILTIN(F_StringCharAt);
MATH_BUILTIN(F_StringByteAt);
MATH_BUILTIN(F_StringDelete);
MATH_BUILTIN(F_StringInsert);
MATH_BUILTIN(F_StringLower);
MATH_BUILTIN(F_StringUpper);
MATH_BUILTIN(F_StringRepeat);
MATH_BUILTIN(F_StringLetters);
MATH_BUILTIN(F_StringDigits);
MATH_BUILTIN(F_StringLettersDigits);
MATH_BUILTIN(F_StringReplace);
MATH_BUILTIN(F_StringReplaceAll);
MATH_BUILTIN(F_StringCount);

// Adds the string built-ins to the function table (called by the maths
// registration).
void Function_String_Init();
