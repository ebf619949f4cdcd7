// What the action built-ins share: the relative rule, the argument rules
// and the registration of each group's names. Actions work on self, the
// instance running the event; without one the self-bound actions do nothing.
#pragma once
#include <cstdint>

#include "Base/Convert.h"
#include "Base/RValue.h"
#include "Code/Code_Context.h"
#include "Function/Function_Args.h"
#include "Object/Instance_Class.h"

#define ACTION_ARGS RValue &result, CInstance *self, CInstance *other, int argc, const RValue *arg

// Each file of the action built-ins registers its own names.
void Function_Action_Motion_Init();
void Function_Action_Control_Init();
void Function_Action_Score_Init();
void Function_Action_Draw_Init();
void Function_Action_Particle_Init();

namespace action {
// The counting tests' comparison codes: 1 less, 2 greater, any other equal.
inline bool Compare(double a, double b, const RValue& code) {
  int c = RValue_RoundInt(code);
  return c == 1 ? a < b : c == 2 ? a > b : a == b;
}

// The argument, or the argument added to the current value while the
// relative flag is set.
inline double Relative(double current, const RValue& v) {
  return g_ActionRelative ? current + RValue_Real(v) : RValue_Real(v);
}
inline float RelativeSingle(double current, const RValue& v) { return Convert_ToSingle(Relative(current, v)); }
// A position relative to self's x or y (0 without self).
inline float RelX(const CInstance* self, const RValue& v) { return RelativeSingle(self ? self->x : 0, v); }
inline float RelY(const CInstance* self, const RValue& v) { return RelativeSingle(self ? self->y : 0, v); }
}  // namespace action
