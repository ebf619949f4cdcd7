// Short forms the built-ins share for giving a result.
#pragma once
#include "Base/RValue.h"

// The real d as the result.
inline void Give(RValue& result, double d) { RValue_SetReal(&result, d); }
// 1 or 0 as the result.
inline void SetBool(RValue& result, bool b) { RValue_SetReal(&result, b ? 1 : 0); }
