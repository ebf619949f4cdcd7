// The object built-ins: queries, adding and deleting objects, their fields
// and flags, their events and the parent relation. Setters do nothing,
// silently, for a missing object; instances made later take the new values.
#include <memory>
#include <vector>

#include "Base/Console.h"
#include "Code/Code_Error.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Resource.h"
#include "Object/Object_Class.h"
#include "Object/Object_Main.h"

namespace {
CObject* Find(const RValue& v) { return Object_Find(RValue_RoundInt(v)); }

template <uint32_t Bit>
void F_ObjectGetFlag(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  const CObject* o = Find(arg[0]);
  Give(Result, o ? ((o->flags & Bit) ? 1 : 0) : -1);
}
template <uint32_t Bit>
void F_ObjectSetFlag(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CObject* o = Find(arg[0])) o->flags = RValue_IsTrue(arg[1]) ? (o->flags | Bit) : (o->flags & ~Bit);
}
template <int CObject::*Field>
void F_ObjectSetField(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CObject* o = Find(arg[0])) o->*Field = RValue_RoundInt(arg[1]);
}

void F_ObjectAdd(RValue& Result, CInstance*, CInstance*, int, const RValue*) { Give(Result, Object_Add()); }

void F_ObjectDelete(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (!Find(arg[0])) {
    Error_Show_Action("Trying to delete non-existing object.", false);
    return;
  }
  Give(Result, Object_Delete(RValue_RoundInt(arg[0])) ? 1 : 0);
}

void F_ObjectEventAdd(RValue&, CInstance*, CInstance*, int, const RValue*) {
  Console_Printf("object_event_add :: deprecated function\n");
}

// The object's own handler goes, so that a parent's applies. It may be the
// event running now: it is kept until the end of the run.
void F_ObjectEventClear(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  static std::vector<std::unique_ptr<CEvent>> s_Cleared;
  CObject* o = Find(arg[0]);
  if (!o) return;
  if (CEvent* ev = o->TakeEvent(RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]))) {
    s_Cleared.emplace_back(ev);
    Object_BuildEventLists();
  }
}

void F_ObjectIsAncestor(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  const CObject* o = Find(arg[0]);
  Give(Result, o ? (o->HasAncestor(RValue_RoundInt(arg[1])) ? 1 : 0) : -1);
}

void F_ObjectSetParent(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  CObject* o = Find(arg[0]);
  if (!o) return;
  int parent = RValue_RoundInt(arg[1]);
  if (parent < 0) {
    Object_SetParent(o->index, -1);
    return;
  }
  const CObject* p = Object_Find(parent);
  if (!p) {
    Error_Show_Action("Setting a non-existing parent.", false);
    return;
  }
  if (p == o || p->HasAncestor(o->index)) {
    Error_Show_Action("Creating a cycle in the parent relation.", false);
    return;
  }
  Object_SetParent(o->index, parent);
}
}  // namespace

void Function_Resource_Object_Init() {
  Function_Add("object_exists", Resource_Exists<Object_Exists>, 1);
  Function_Add("object_get_name", Resource_Name<Object_Name>, 1);
  Function_Add("object_name", Resource_Name<Object_Name>, 1);
  Function_Add("object_add", F_ObjectAdd, 0);
  Function_Add("object_delete", F_ObjectDelete, 1);
  Function_Add("object_event_add", F_ObjectEventAdd, 4);
  Function_Add("object_event_clear", F_ObjectEventClear, 3);
  Function_Add("object_get_sprite", Resource_Field<Object_Find, &CObject::sprite_index>, 1);
  Function_Add("object_get_depth", Resource_Field<Object_Find, &CObject::depth>, 1);
  Function_Add("object_get_mask", Resource_Field<Object_Find, &CObject::mask_index>, 1);
  Function_Add("object_get_parent", Resource_Field<Object_Find, &CObject::parent_index>, 1);
  Function_Add("object_get_solid", F_ObjectGetFlag<OBJECT_SOLID>, 1);
  Function_Add("object_get_visible", F_ObjectGetFlag<OBJECT_VISIBLE>, 1);
  Function_Add("object_get_persistent", F_ObjectGetFlag<OBJECT_PERSISTENT>, 1);
  Function_Add("object_is_ancestor", F_ObjectIsAncestor, 2);
  Function_Add("object_set_sprite", F_ObjectSetField<&CObject::sprite_index>, 2);
  Function_Add("object_set_depth", F_ObjectSetField<&CObject::depth>, 2);
  Function_Add("object_set_mask", F_ObjectSetField<&CObject::mask_index>, 2);
  Function_Add("object_set_solid", F_ObjectSetFlag<OBJECT_SOLID>, 2);
  Function_Add("object_set_visible", F_ObjectSetFlag<OBJECT_VISIBLE>, 2);
  Function_Add("object_set_persistent", F_ObjectSetFlag<OBJECT_PERSISTENT>, 2);
  Function_Add("object_set_parent", F_ObjectSetParent, 2);
}
