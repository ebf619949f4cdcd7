#include "Object/Instance_Vars.h"

#include "Support/Support_Stream.h"

// Variable lists come with the script engine; until then instances carry
// none and save games hold empty lists.
CVariableList* InstanceVars_New() { return nullptr; }
void InstanceVars_Free(CVariableList*) {}
void InstanceVars_Assign(CVariableList*, const CVariableList*) {}
void InstanceVars_Write(CStream& s, const CVariableList*) { s.WriteInteger(0); }
bool InstanceVars_Read(CStream& s, CVariableList*) { return s.ReadInteger() == 0; }
void GlobalVars_Write(CStream& s) { s.WriteInteger(0); }
bool GlobalVars_Read(CStream& s) { return s.ReadInteger() == 0; }
