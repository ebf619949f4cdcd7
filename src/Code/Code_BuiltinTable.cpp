#include "Code/Code_BuiltinTable.h"

#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "Base/Console.h"
#include "Extension/Extension_Main.h"
#include "Script/Script_Main.h"

namespace {
std::vector<RFunction>& Table() {
  static std::vector<RFunction> table;
  return table;
}
// Name -> first entry of that name.
std::unordered_map<std::string, int>& Index() {
  static std::unordered_map<std::string, int> index;
  return index;
}
}  // namespace

void Function_Add(const char* name, TRoutine routine, int argc) {
  auto& table = Table();
  if (table.capacity() == table.size()) table.reserve(table.size() + 500);
  RFunction f{};
  if (std::strlen(name) >= sizeof f.name) Console_Printf("Function_Add: name too long: %.60s\n", name);
  std::strncpy(f.name, name, sizeof f.name - 1);
  f.routine = routine;
  f.argnumb = argc;
  Index().emplace(f.name, static_cast<int>(table.size()));
  table.push_back(f);
}

void Function_SetTextKeyForm(const char* name, TTextKeyRoutine textKey) {
  int id = Function_FindBuiltIn(name);
  if (id >= 0) Table()[id].textKey = textKey;
}

int Function_FindBuiltIn(const char* name) {
  auto it = Index().find(name);
  return it == Index().end() ? -1 : it->second;
}

int Function_Find(const char* name) {
  int script = Script_Find(name);
  if (script >= 0) return FUNCTION_ID_SCRIPT + script;
  int ext = Extension_FindFunction(name);
  if (ext >= 0) return FUNCTION_ID_EXTENSION + ext;
  return Function_FindBuiltIn(name);
}

int Function_ArgCount(int id) {
  if (id >= FUNCTION_ID_EXTENSION) return Extension_FunctionArgCount(id - FUNCTION_ID_EXTENSION);
  if (id >= FUNCTION_ID_SCRIPT) return -1;
  const RFunction* f = Function_Get(id);
  return f ? f->argnumb : -1;
}

int Function_Count() { return static_cast<int>(Table().size()); }

const RFunction* Function_Get(int index) {
  if (index < 0 || index >= static_cast<int>(Table().size())) return nullptr;
  return &Table()[index];
}
