#include "Graphics/Graphics_Transition.h"

#include <map>

namespace {

// The kinds the runner draws itself.
constexpr int kBuiltInKinds = 22;
std::map<int, int> g_Scripts;  // kind -> script index
int (*g_FindScript)(const char* name) = nullptr;

}  // namespace

bool TransFunctionExists(int kind) {
  return (kind >= 0 && kind < kBuiltInKinds) || g_Scripts.count(kind) > 0;
}

void Transition_SetScriptFinder(int (*find)(const char* name)) { g_FindScript = find; }

bool Transition_DefineScript(int kind, const char* scriptName) {
  int script = scriptName && g_FindScript ? g_FindScript(scriptName) : -1;
  if (script < 0) return false;
  g_Scripts[kind] = script;
  return true;
}

int Transition_Script(int kind) {
  auto it = g_Scripts.find(kind);
  return it == g_Scripts.end() ? -1 : it->second;
}
