#include "Code/Tree/Tree_Variables.h"

#include <cstring>

namespace tree {
// An index that is no whole number from 0 to 31999: rounded, or an error.
[[gnu::noinline]] int IndexRounded(bool text, double d, const std::string& name) {
  if (text) Code_Fail("Array index of %s must be a number.", name.c_str());
  int k = Convert_RoundInt(d);
  if (k < 0) Code_Fail("Negative array index for %s.", name.c_str());
  if (k >= ARRAY_DIMENSION) Code_Fail("Array index >= 32000 for %s.", name.c_str());
  return k;
}

void ReadStored(const VarNode* n, CVariable* v, int i, int j, RValue* out) {
  if (!v) {
    if (g_GameOptions.unknown_variables_zero) return;
    Code_Fail("Unknown variable %s", n->name.c_str());
  }
  const RValue* e = Variable_Element(v, i, j);
  if (!e) {
    if (g_GameOptions.unknown_variables_zero) return;
    Code_Fail("Unknown array element %s[%d,%d]", n->name.c_str(), i, j);
  }
  Value_CopyOut(out, *e);
}

// Appends text to the string e in its own block, which grows by doubling:
// a string built piece by piece is copied a few times, not once per piece.
void AppendInPlace(RValue* e, const char* text) {
  size_t have = std::strlen(e->str), add = std::strlen(text);
  size_t need = have + add + 1;
  size_t room = MemoryManager::GetSize(e->str);
  if (need > room) {
    size_t grown = room * 2 > need ? room * 2 : need;
    char* block = static_cast<char*>(MEM_REALLOC(e->str, grown));
    if (!block) Code_Fail("Out of memory for a string of %zu bytes.", need);
    e->str = block;
  }
  std::memcpy(e->str + have, text, add + 1);
}

// Old value of an increment (TK_INC) or decrement (TK_DEC) of e, which is
// stepped by one.
void Step(const VarNode* n, RValue* e, TokenKind op, RValue* old) {
  if (e->kind == VALUE_STRING)
    Code_Fail("Cannot %s the string %s.", op == TK_INC ? "increment" : "decrement", n->name.c_str());
  old->kind = VALUE_REAL;
  old->val = e->val;
  e->kind = VALUE_REAL;
  e->val += op == TK_INC ? 1.0 : -1.0;
}

// Stores value (consumed) into e, combining with its old value for compound
// ops; TK_INC and TK_DEC step e and leave its old value in value.
void Store(const VarNode* n, RValue* e, TokenKind op, RValue* value) {
  if (op == TK_ASSIGN) {
    Value_Take(e, value);
    return;
  }
  if (op == TK_INC || op == TK_DEC) return Step(n, e, op, value);
  if (op == TK_PLUSASSIGN && e->kind == VALUE_STRING && e->str && value->kind == VALUE_STRING)
    return AppendInPlace(e, RValue_Text(*value));
  Temp r;
  Code_BinaryOp(CompoundOp(op), *e, *value, &r);
  Value_Take(e, &r);
}


int TargetOf(Ctx& c, Node* target) {
  Temp t;
  target->Eval(c, &t);
  if (t.kind == VALUE_STRING) Code_Fail("Instance or object expected, not a string.");
  return Convert_RoundInt(t.val);
}
}  // namespace tree
