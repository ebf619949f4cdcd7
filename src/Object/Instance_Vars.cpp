#include "Object/Instance_Vars.h"

// Variable lists come with the script engine; until then instances carry none.
CVariableList* InstanceVars_New() { return nullptr; }
void InstanceVars_Free(CVariableList*) {}
void InstanceVars_Assign(CVariableList*, const CVariableList*) {}
