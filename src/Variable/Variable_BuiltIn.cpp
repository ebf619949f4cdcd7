#include "Variable/Variable_BuiltIn.h"

#include <string>
#include <unordered_map>

#include "Base/Console.h"
#include "Base/RValue.h"

namespace {
RVariableRoutine g_routines[MAX_BUILTIN_VARIABLES];
int g_count = 0;
std::unordered_map<std::string, int>& Index() {
  static std::unordered_map<std::string, int> index;
  return index;
}
}  // namespace

int Variable_BuiltIn_Add(const char* name, TGetVarRoutine get, TSetVarRoutine set, bool canset) {
  if (g_count >= MAX_BUILTIN_VARIABLES) {
    Console_Printf("Too many built-in variables; %s not added\n", name);
    return -1;
  }
  auto it = Index().find(name);
  if (it != Index().end()) return it->second;
  g_routines[g_count] = {String_Duplicate(name), get, set, canset, false};
  Index().emplace(name, g_count);
  return g_count++;
}

int Variable_BuiltIn_Find(const char* name) {
  auto it = Index().find(name);
  return it == Index().end() ? -1 : it->second;
}

const RVariableRoutine* Variable_BuiltIn_Get(int index) {
  return (index >= 0 && index < g_count) ? &g_routines[index] : nullptr;
}

int Variable_BuiltIn_Count() { return g_count; }

void Variable_BuiltIn_MarkPerInstance(int first) {
  for (int i = first < 0 ? 0 : first; i < g_count; i++) g_routines[i].perInstance = true;
}
