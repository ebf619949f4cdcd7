// An instance's own variable list, and the global one: made, copied, freed
// and written to save games.
#pragma once

class CVariableList;
class CStream;

CVariableList* InstanceVars_New();
void InstanceVars_Free(CVariableList* vars);
// Makes dst a deep copy of src (texts copied, not shared).
void InstanceVars_Assign(CVariableList* dst, const CVariableList* src);
void InstanceVars_Write(CStream& s, const CVariableList* vars);
// False when the stream does not hold a well-formed list.
bool InstanceVars_Read(CStream& s, CVariableList* vars);
void GlobalVars_Write(CStream& s);
bool GlobalVars_Read(CStream& s);
