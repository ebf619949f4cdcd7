#include "Code/Code_Constant.h"

#include <string>
#include <unordered_map>

#include "Code/Code_Main.h"

namespace {
struct Constant {
  RValue value{};
  ~Constant() { RValue_Free(&value); }
};
std::unordered_map<std::string, Constant>& Table() {
  static std::unordered_map<std::string, Constant> table;
  return table;
}
}  // namespace

void Constant_AddReal(const char* name, double value) { RValue_SetReal(&Table()[name].value, value); }

bool Constant_Define(const char* name, const char* valueText) {
  CCode code(valueText ? valueText : "", true);
  std::string unit = std::string("Constant.") + name;
  if (!code.Compile(unit.c_str())) return false;
  RValue value{};
  bool ok = Code_Evaluate(nullptr, nullptr, &code, &value);
  if (ok) RValue_Copy(&Table()[name].value, &value);
  RValue_Free(&value);
  return ok;
}

const RValue* Constant_Find(const char* name) {
  auto it = Table().find(name);
  return it == Table().end() ? nullptr : &it->second.value;
}

std::vector<std::string> Constant_Names() {
  std::vector<std::string> names;
  names.reserve(Table().size());
  for (const auto& entry : Table()) names.push_back(entry.first);
  return names;
}
