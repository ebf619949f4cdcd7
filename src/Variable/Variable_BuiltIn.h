// The built-in variable registry (at most 500 entries, ids 0 to 499).
#pragma once
#include "Base/RValue.h"

class CInstance;

// Getter and setter of a built-in variable: the instance (null for a global
// built-in or when no instance is at hand), the array index and the value.
typedef bool (*TGetVarRoutine)(CInstance* inst, int arrayIndex, RValue* value);
typedef bool (*TSetVarRoutine)(CInstance* inst, int arrayIndex, RValue* value);

constexpr int MAX_BUILTIN_VARIABLES = 500;
constexpr int VARIABLE_ID_USER = 100000;

struct RVariableRoutine {
  const char* name;
  TGetVarRoutine get;
  TSetVarRoutine set;
  bool canset;
  bool perInstance;  // acts on an instance (x, alarm), not on the game (score)
};

// Adds a built-in variable; returns its index, -1 when the registry is full.
int Variable_BuiltIn_Add(const char* name, TGetVarRoutine get, TSetVarRoutine set, bool canset);
// Index of a built-in variable by name, -1 when none.
int Variable_BuiltIn_Find(const char* name);
const RVariableRoutine* Variable_BuiltIn_Get(int index);
int Variable_BuiltIn_Count();
// Marks the built-ins from index first up to the last one added as acting on
// an instance.
void Variable_BuiltIn_MarkPerInstance(int first);
