#include "Graphics/Graphics_Transition.h"

#include <map>

#include "Code/Function_Main.h"

namespace {

// The kinds the runner draws itself.
constexpr int kBuiltInKinds = 22;
std::map<int, int> g_Scripts;  // kind -> script index

}  // namespace

bool TransFunctionExists(int kind) {
  return (kind >= 0 && kind < kBuiltInKinds) || g_Scripts.count(kind) > 0;
}

bool Transition_DefineScript(int kind, const char* scriptName) {
  int id = scriptName ? Function_Find(scriptName) : -1;
  if (id < FUNCTION_ID_SCRIPT || id >= FUNCTION_ID_EXTENSION) return false;
  g_Scripts[kind] = id - FUNCTION_ID_SCRIPT;
  return true;
}

int Transition_Script(int kind) {
  auto it = g_Scripts.find(kind);
  return it == g_Scripts.end() ? -1 : it->second;
}
