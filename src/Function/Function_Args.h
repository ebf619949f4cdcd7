// Short forms the built-ins share for giving a result, and the handlers of
// the built-ins that have nothing to do here.
#pragma once
#include "Base/RValue.h"

class CInstance;

// The real d as the result.
inline void Give(RValue& result, double d) { RValue_SetReal(&result, d); }
// 1 or 0 as the result.
inline void SetBool(RValue& result, bool b) { RValue_SetReal(&result, b ? 1 : 0); }

// Built-ins kept for old games or for services this system does not offer:
// nothing happens and the result stays the real 0, or is the empty text.
inline void F_Nothing(RValue&, CInstance*, CInstance*, int, const RValue*) {}
inline void F_EmptyText(RValue& Result, CInstance*, CInstance*, int, const RValue*) { RValue_SetString(&Result, ""); }
