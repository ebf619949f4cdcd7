// The one place the interpreter reaches into an instance: its variable
// list (read and written in place, as a call through the world for every
// variable access would cost the speed the engine is measured by) and
// whether it is marked for destruction.
#pragma once
#include "Code/Code_Tree.h"
#include "Object/Instance_Class.h"
#include "Variable/Variable_Main.h"

namespace tree {
// A plain name's variable of self (the global one once some code declared
// the name with globalvar); null when none is stored.
[[gnu::always_inline]] inline CVariable* SelfFind(Ctx& c, int id) {
  if (g_VariableGlobalDeclared && Variable_IsDeclaredGlobal(id)) [[unlikely]]
    return Variable_Globals().Find(id);
  CVariableList* list = c.self ? c.self->vars : nullptr;
  return list ? list->Find(id) : nullptr;
}

// The instance's variable list, made when create is set and it has none.
inline CVariableList* ListOf(CInstance* inst, bool create) {
  if (!inst) return nullptr;
  if (!inst->vars && create) inst->vars = new CVariableList;
  return inst->vars;
}

// Whether the instance is destroyed but not yet removed.
inline bool InstanceMarked(const CInstance* inst) { return inst->marked; }
}  // namespace tree
