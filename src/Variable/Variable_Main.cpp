#include "Variable/Variable_Main.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "Object/Instance_Class.h"
#include "Option/Option_Main.h"
#include "Variable/Variable_BuiltIn.h"

namespace {
struct UserNames {
  std::vector<std::string> names;  // by id - VARIABLE_ID_USER
  std::vector<uint8_t> declaredGlobal;
  std::unordered_map<std::string, int> ids;
};
UserNames& Users() {
  static UserNames users;
  return users;
}

// A variable never set gives the real 0 and, unless `unsetFails`, success
// when unknown variables are errors (the read itself reports those).
bool GetFromList(const CVariableList* list, int id, int index, RValue* value, bool unsetFails = false) {
  const CVariable* v = list ? list->Find(id) : nullptr;
  if (!v) {
    RValue_Free(value);
    return !unsetFails && !g_GameOptions.unknown_variables_zero;
  }
  const RValue* e = index < 0 ? nullptr
                              : Variable_Element(const_cast<CVariable*>(v), index / ARRAY_DIMENSION,
                                                 index % ARRAY_DIMENSION);
  if (!e) {
    RValue_Free(value);
    return false;
  }
  RValue_Copy(value, e);
  return true;
}

void SetInList(CVariableList* list, int id, int index, const RValue* value) {
  if (index < 0) return;
  RValue* e = Variable_ElementGrow(list->FindOrAdd(id), index / ARRAY_DIMENSION, index % ARRAY_DIMENSION);
  RValue_Copy(e, value);
}
}  // namespace

namespace {
int UserVariable_Find(const char* name) {
  UserNames& u = Users();
  auto it = u.ids.find(name);
  if (it != u.ids.end()) return it->second;
  int id = VARIABLE_ID_USER + static_cast<int>(u.names.size());
  u.names.emplace_back(name);
  u.declaredGlobal.push_back(0);
  u.ids.emplace(name, id);
  return id;
}
}  // namespace

int Code_Variable_Find(const char* name) {
  int builtin = Variable_BuiltIn_Find(name);
  return builtin >= 0 ? builtin : UserVariable_Find(name);
}

int Code_GlobalVariable_Find(const char* name) {
  const RVariableRoutine* r = Variable_BuiltIn_Get(Variable_BuiltIn_Find(name));
  return r && !r->perInstance ? Variable_BuiltIn_Find(name) : UserVariable_Find(name);
}

const char* Code_Variable_Name(int id) {
  if (id >= VARIABLE_ID_USER) {
    const UserNames& u = Users();
    size_t k = static_cast<size_t>(id - VARIABLE_ID_USER);
    return k < u.names.size() ? u.names[k].c_str() : "<undefined>";
  }
  const RVariableRoutine* r = Variable_BuiltIn_Get(id);
  return r ? r->name : "<undefined>";
}

CVariableList& Variable_Globals() {
  static CVariableList globals;
  return globals;
}

bool g_VariableGlobalDeclared = false;

void Variable_DeclareGlobal(int id) {
  UserNames& u = Users();
  size_t k = static_cast<size_t>(id - VARIABLE_ID_USER);
  if (id >= VARIABLE_ID_USER && k < u.declaredGlobal.size()) {
    u.declaredGlobal[k] = 1;
    g_VariableGlobalDeclared = true;
  }
}

bool Variable_IsDeclaredGlobal(int id) {
  const UserNames& u = Users();
  size_t k = static_cast<size_t>(id - VARIABLE_ID_USER);
  return id >= VARIABLE_ID_USER && k < u.declaredGlobal.size() && u.declaredGlobal[k];
}

bool Variable_Global_GetValue(int id, int index, RValue* value) {
  return GetFromList(&Variable_Globals(), id, index, value);
}

bool Variable_Global_Exists(int id, int index) {
  if (id < VARIABLE_ID_USER) return Variable_BuiltIn_Get(id) != nullptr;
  RValue value{};
  bool found = GetFromList(&Variable_Globals(), id, index, &value, true);
  RValue_Free(&value);
  return found;
}

void Variable_Global_SetValue(int id, int index, const RValue* value) {
  SetInList(&Variable_Globals(), id, index, value);
}

bool Variable_GetValue(CInstance* inst, int id, int index, RValue* value) {
  if (id < VARIABLE_ID_USER) {
    const RVariableRoutine* r = Variable_BuiltIn_Get(id);
    RValue_Free(value);
    return r && r->get && r->get(inst, index, value);
  }
  return GetFromList(inst ? inst->vars : nullptr, id, index, value);
}

bool Variable_Exists(CInstance* inst, int id, int index) {
  RValue value{};
  bool found = id < VARIABLE_ID_USER ? Variable_GetValue(inst, id, index, &value)
                                     : GetFromList(inst ? inst->vars : nullptr, id, index, &value, true);
  RValue_Free(&value);
  return found;
}

void Variable_SetValue(CInstance* inst, int id, int index, const RValue* value) {
  if (id < VARIABLE_ID_USER) {
    const RVariableRoutine* r = Variable_BuiltIn_Get(id);
    if (r && r->canset && r->set) r->set(inst, index, const_cast<RValue*>(value));
    return;
  }
  if (!inst) return;
  if (!inst->vars) inst->vars = new CVariableList;
  SetInList(inst->vars, id, index, value);
}
