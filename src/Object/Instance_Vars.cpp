#include "Object/Instance_Vars.h"

#include "Platform/MemoryManager.h"
#include "Support/Support_Stream.h"
#include "Variable/Variable_List.h"

namespace {
void CopyValue(RValue* dst, const RValue* src) { RValue_Copy(dst, src); }

void WriteValue(CStream& s, const RValue& v) {
  s.WriteInteger(static_cast<int32_t>(v.kind));
  if (v.kind == VALUE_STRING) s.WriteString(RValue_Text(v));
  else s.WriteReal(v.val);
}

bool ReadValue(CStream& s, RValue* v) {
  uint32_t kind = static_cast<uint32_t>(s.ReadInteger());
  if (kind == VALUE_STRING) {
    char* text = s.ReadString();
    RValue_SetString(v, text ? text : "");
    MemoryManager::Free(text);
  } else {
    RValue_SetReal(v, s.ReadReal());
    v->kind = kind;  // nesting marks are carried
  }
  return s.GetPosition() <= s.GetSize();
}
}  // namespace

void VarList_CopyInto(CVariableList* dst, const CVariableList* src) {
  dst->Clear();
  if (!src) return;
  src->ForEach([dst](int id, CVariable* from) {
    CVariable* to = dst->FindOrAdd(id);
    CopyValue(&to->value, &from->value);
    for (int i = 0; i < from->rows; i++)
      for (int j = 0; j < from->row[i].length; j++)
        if (i | j) CopyValue(Variable_ElementGrow(to, i, j), &from->row[i].items[j]);
  });
}

// Each variable: id, row count, the element (0, 0), then each row's length
// and elements (element (0, 0) again in its row place, ignored on reading).
void VarList_Write(CStream& s, const CVariableList* vars) {
  s.WriteInteger(vars ? vars->Count() : 0);
  if (!vars) return;
  vars->ForEach([&s](int id, CVariable* v) {
    s.WriteInteger(id);
    s.WriteInteger(v->rows);
    WriteValue(s, v->value);
    for (int i = 0; i < v->rows; i++) {
      s.WriteInteger(v->row[i].length);
      for (int j = 0; j < v->row[i].length; j++) WriteValue(s, v->row[i].items[j]);
    }
  });
}

bool VarList_Read(CStream& s, CVariableList* vars) {
  // Every count is bounded by the bytes left: an element takes at least 8.
  auto fits = [&s](int n) { return n >= 0 && n <= (s.GetSize() - s.GetPosition()) / 8 && n <= ARRAY_DIMENSION; };
  int count = s.ReadInteger();
  if (count < 0 || count > (s.GetSize() - s.GetPosition()) / 8) return false;
  for (int k = 0; k < count; k++) {
    int id = s.ReadInteger();
    int rows = s.ReadInteger();
    if (!fits(rows)) return false;
    CVariable* v = vars->FindOrAdd(id);
    if (!ReadValue(s, &v->value)) return false;
    for (int i = 0; i < rows; i++) {
      int length = s.ReadInteger();
      if (!fits(length)) return false;
      RValue scratch = {VALUE_REAL, nullptr, 0.0};
      for (int j = 0; j < length; j++) {
        bool ok = (i | j) ? ReadValue(s, Variable_ElementGrow(v, i, j)) : ReadValue(s, &scratch);
        if (!ok) {
          RValue_Free(&scratch);
          return false;
        }
      }
      RValue_Free(&scratch);
    }
  }
  return true;
}
