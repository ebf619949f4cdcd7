// The path built-ins: queries, settings, copies and every point operation.
// The setters and point operations do nothing, silently, for a missing path.
#include "Code/Code_Error.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Resource.h"
#include "Path/Path_Class.h"
#include "Path/Path_Main.h"

namespace {
CPath* Find(const RValue& v) { return Path_Data(RValue_RoundInt(v)); }

// A point's coordinate or speed, by number; -1 for a missing path.
template <float PathPoint::*Field>
void F_PathPoint(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  const CPath* p = Find(arg[0]);
  Give(Result, p ? double(p->GetPoint(RValue_RoundInt(arg[1])).*Field) : -1.0);
}

// A place along the path, by position; -1 for a missing path.
template <double (CPath::*At)(double) const>
void F_PathAt(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  const CPath* p = Find(arg[0]);
  Give(Result, p ? (p->*At)(RValue_Real(arg[1])) : -1.0);
}

float F(const RValue& v) { return RValue_Single(v); }

void F_PathSetKind(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CPath* p = Find(arg[0])) p->SetKind(RValue_RoundInt(arg[1]));
}
void F_PathSetPrecision(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CPath* p = Find(arg[0])) p->SetPrecision(RValue_RoundInt(arg[1]));
}
void F_PathSetClosed(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CPath* p = Find(arg[0])) p->SetClosed(RValue_IsTrue(arg[1]));
}

void F_PathAdd(RValue& Result, CInstance*, CInstance*, int, const RValue*) { Give(Result, Path_Add()); }
void F_PathDuplicate(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (!Find(arg[0])) {
    Error_Show_Action("Trying to duplicate non-existing path.", false);
    return;
  }
  Give(Result, Path_Duplicate(RValue_RoundInt(arg[0])));
}
void F_PathAssign(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (Path_Assign(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1])) <= 0) Error_Show_Action("Error assigning a path.", false);
}
void F_PathAppend(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  CPath* dest = Find(arg[0]);
  if (!dest) {
    Error_Show_Action("Appending to non-existing path.", false);
    return;
  }
  if (const CPath* src = Find(arg[1])) dest->Append(*src);
  else Error_Show_Action("Appending a non-existing path.", false);
}
void F_PathDelete(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (!Find(arg[0])) {
    Error_Show_Action("Trying to delete non-existing path.", false);
    return;
  }
  Give(Result, Path_Delete(RValue_RoundInt(arg[0])) ? 1 : 0);
}

void F_PathAddPoint(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CPath* p = Find(arg[0])) p->AddPoint(F(arg[1]), F(arg[2]), F(arg[3]));
}
void F_PathInsertPoint(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CPath* p = Find(arg[0])) p->InsertPoint(RValue_RoundInt(arg[1]), F(arg[2]), F(arg[3]), F(arg[4]));
}
void F_PathChangePoint(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CPath* p = Find(arg[0])) p->ChangePoint(RValue_RoundInt(arg[1]), F(arg[2]), F(arg[3]), F(arg[4]));
}
void F_PathDeletePoint(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CPath* p = Find(arg[0])) p->DeletePoint(RValue_RoundInt(arg[1]));
}
// An operation on the whole path without further arguments.
template <void (CPath::*Op)()>
void F_PathWhole(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CPath* p = Find(arg[0])) (p->*Op)();
}
void F_PathRotate(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CPath* p = Find(arg[0])) p->Rotate(RValue_Real(arg[1]));
}
void F_PathScale(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CPath* p = Find(arg[0])) p->Scale(RValue_Real(arg[1]), RValue_Real(arg[2]));
}
void F_PathShift(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CPath* p = Find(arg[0])) p->Shift(RValue_Real(arg[1]), RValue_Real(arg[2]));
}
}  // namespace

void Function_Resource_Path_Init() {
  Function_Add("path_exists", Resource_Exists<Path_Exists>, 1);
  Function_Add("path_get_name", Resource_Name<Path_Name>, 1);
  Function_Add("path_name", Resource_Name<Path_Name>, 1);
  Function_Add("path_get_length", Resource_Field<Path_Data, &CPath::GetLength>, 1);
  Function_Add("path_get_kind", Resource_Field<Path_Data, &CPath::GetKind>, 1);
  Function_Add("path_get_closed", Resource_Field<Path_Data, &CPath::GetClosed>, 1);
  Function_Add("path_get_precision", Resource_Field<Path_Data, &CPath::GetPrecision>, 1);
  Function_Add("path_get_number", Resource_Field<Path_Data, &CPath::GetNumber>, 1);
  Function_Add("path_get_point_x", F_PathPoint<&PathPoint::x>, 2);
  Function_Add("path_get_point_y", F_PathPoint<&PathPoint::y>, 2);
  Function_Add("path_get_point_speed", F_PathPoint<&PathPoint::speed>, 2);
  Function_Add("path_get_x", F_PathAt<&CPath::GetX>, 2);
  Function_Add("path_get_y", F_PathAt<&CPath::GetY>, 2);
  Function_Add("path_get_speed", F_PathAt<&CPath::GetSpeed>, 2);
  Function_Add("path_set_kind", F_PathSetKind, 2);
  Function_Add("path_set_precision", F_PathSetPrecision, 2);
  Function_Add("path_set_closed", F_PathSetClosed, 2);
  Function_Add("path_add", F_PathAdd, 0);
  Function_Add("path_duplicate", F_PathDuplicate, 1);
  Function_Add("path_assign", F_PathAssign, 2);
  Function_Add("path_append", F_PathAppend, 2);
  Function_Add("path_delete", F_PathDelete, 1);
  Function_Add("path_add_point", F_PathAddPoint, 4);
  Function_Add("path_insert_point", F_PathInsertPoint, 5);
  Function_Add("path_change_point", F_PathChangePoint, 5);
  Function_Add("path_delete_point", F_PathDeletePoint, 2);
  Function_Add("path_clear_points", F_PathWhole<&CPath::ClearPoints>, 1);
  Function_Add("path_reverse", F_PathWhole<&CPath::Reverse>, 1);
  Function_Add("path_mirror", F_PathWhole<&CPath::Mirror>, 1);
  Function_Add("path_flip", F_PathWhole<&CPath::Flip>, 1);
  Function_Add("path_rotate", F_PathRotate, 2);
  Function_Add("path_scale", F_PathScale, 3);
  Function_Add("path_shift", F_PathShift, 3);
}
