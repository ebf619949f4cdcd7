// An instance's own variable list: made, copied and freed with the instance.
#pragma once

class CVariableList;

CVariableList* InstanceVars_New();
void InstanceVars_Free(CVariableList* vars);
// Makes dst a deep copy of src (texts copied, not shared).
void InstanceVars_Assign(CVariableList* dst, const CVariableList* src);
