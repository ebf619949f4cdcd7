// The language's own constants and variables.
#include <cmath>

#include "Code/Code_Constant.h"
#include "Code/Code_Context.h"
#include "Code/Code_Main.h"
#include "Code/Code_Tree.h"
#include "Code/Code_World.h"
#include "Variable/Variable_BuiltIn.h"

namespace {
int g_slotVariable[ARGUMENT_SLOTS + 1] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};

bool ReadSlot(int slot, RValue* value) {
  if (slot < 0 || slot >= ARGUMENT_SLOTS) return false;
  RValue_Copy(value, &Code_ArgumentFrame()->slot[slot]);
  return true;
}

bool WriteSlot(int slot, RValue* value) {
  if (slot < 0 || slot >= ARGUMENT_SLOTS) return false;
  CodeArgumentFrame* frame = Code_ArgumentFrame();
  RValue_Copy(&frame->slot[slot], value);
  if (slot >= frame->counts.used) frame->counts.used = slot + 1;
  return true;
}

template <int N>
bool GV_ArgumentN(CInstance*, int, RValue* value) { return ReadSlot(N, value); }
template <int N>
bool SV_ArgumentN(CInstance*, int, RValue* value) { return WriteSlot(N, value); }

template <int... N>
void AddSlots(std::integer_sequence<int, N...>) {
  static const char* const names[] = {"argument0", "argument1", "argument2", "argument3", "argument4",
                                      "argument5", "argument6", "argument7", "argument8", "argument9",
                                      "argument10", "argument11", "argument12", "argument13", "argument14",
                                      "argument15"};
  ((g_slotVariable[N] = Variable_BuiltIn_Add(names[N], GV_ArgumentN<N>, SV_ArgumentN<N>, true)), ...);
}
}  // namespace

bool GV_Argument(CInstance*, int index, RValue* value) { return ReadSlot(index, value); }
bool SV_Argument(CInstance*, int index, RValue* value) { return WriteSlot(index, value); }

bool GV_ArgumentCount(CInstance*, int, RValue* value) {
  RValue_SetReal(value, Code_ArgumentFrame()->counts.count);
  return true;
}

bool GV_ArgumentRelative(CInstance*, int, RValue* value) {
  RValue_SetReal(value, g_ActionRelative ? 1.0 : 0.0);
  return true;
}

int Code_ArgumentSlotOf(int builtin) {
  if (builtin < 0) return -1;
  for (int k = 0; k <= ARGUMENT_SLOTS; ++k)
    if (g_slotVariable[k] == builtin) return k;
  return -1;
}

void Code_Init() {
  Constant_AddReal("true", 1);
  Constant_AddReal("false", 0);
  // The single-precision value, the angle constant of the maths built-ins.
  Constant_AddReal("pi", static_cast<float>(M_PI));
  Constant_AddReal("self", TARGET_SELF);
  Constant_AddReal("other", TARGET_OTHER);
  Constant_AddReal("all", TARGET_ALL);
  Constant_AddReal("noone", TARGET_NOONE);
  Constant_AddReal("global", TARGET_GLOBAL);

  AddSlots(std::make_integer_sequence<int, ARGUMENT_SLOTS>());
  g_slotVariable[ARGUMENT_SLOTS] = Variable_BuiltIn_Add("argument", GV_Argument, SV_Argument, true);
  Variable_BuiltIn_Add("argument_count", GV_ArgumentCount, nullptr, false);
  Variable_BuiltIn_Add("argument_relative", GV_ArgumentRelative, nullptr, false);
}
