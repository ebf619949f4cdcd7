#include "Script/Script_Main.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "Code/Code_Error.h"
#include "Code/Code_Main.h"
#include "Code/Code_Tree.h"

namespace {
struct Script {
  std::string name;
  std::unique_ptr<CCode> code;
  bool compiled = false;
};
std::vector<Script>& Table() {
  static std::vector<Script> table;
  return table;
}
std::unordered_map<std::string, int>& Index() {
  static std::unordered_map<std::string, int> index;
  return index;
}
const Script* Get(int index) {
  return index >= 0 && index < Script_Count() ? &Table()[static_cast<size_t>(index)] : nullptr;
}
}  // namespace

int Script_Add(const char* name, const char* text) {
  int index = Script_Count();
  Table().push_back(Script{name ? name : "", std::make_unique<CCode>(text, false), false});
  // The first of a name wins; nameless slots (gaps in the package) are never found.
  if (!Table().back().name.empty()) Index().emplace(Table().back().name, index);
  return index;
}

bool Script_PrepareAll() {
  for (Script& s : Table()) {
    if (s.compiled) continue;
    std::string unit = "Script." + s.name;
    if (!s.code->Compile(unit.c_str())) {
      std::string text = "COMPILATION ERROR in Script: " + s.name + "\n" + Code_ErrorText;
      Error_Show(text.c_str(), true);
      return false;
    }
    s.compiled = true;
  }
  return true;
}

void Script_Clear() {
  Table().clear();
  Index().clear();
}

int Script_Find(const char* name) {
  auto it = Index().find(name ? name : "");
  return it == Index().end() ? -1 : it->second;
}

int Script_Count() { return static_cast<int>(Table().size()); }

// A gap in the package's script list (no name) is no script.
bool Script_Exists(int index) {
  const Script* s = Get(index);
  return s && !s->name.empty();
}

const char* Script_GetName(int index) {
  const Script* s = Get(index);
  return s ? s->name.c_str() : "<undefined>";
}

const char* Script_GetText(int index) {
  const Script* s = Get(index);
  return s ? s->code->Text() : nullptr;
}

CCode* Script_GetCode(int index) {
  const Script* s = Get(index);
  return s && s->compiled ? s->code.get() : nullptr;
}

bool Script_Execute(int index, CInstance* self, CInstance* other, int argc, const RValue* args, RValue* result) {
  return Code_RunScript(Script_GetCode(index), Script_GetName(index), self, other, argc, args, result);
}
