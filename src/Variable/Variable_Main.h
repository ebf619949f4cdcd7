// Variable ids and the variable access by id that built-ins and the debugger
// use. Built-in variables have ids 0 .. 499 (their registry index), user
// variables ids from 100000 in order of first appearance.
#pragma once
#include "Base/RValue.h"
#include "Variable/Variable_List.h"

class CInstance;

// The id of a variable name: a built-in variable's index, else a user id; a
// new name is registered as a new user variable.
int Code_Variable_Find(const char* name);
// The id that global.name means: a game built-in's index, else a user global
// (also for the name of an instance built-in such as x or alarm).
int Code_GlobalVariable_Find(const char* name);
// The name of any variable id ("<undefined>" when none).
const char* Code_Variable_Name(int id);

// The game's user global variables.
CVariableList& Variable_Globals();

// globalvar: a declared name means the global variable everywhere.
void Variable_DeclareGlobal(int id);
bool Variable_IsDeclaredGlobal(int id);
// Set by the first declaration: until then running code need not ask.
extern bool g_VariableGlobalDeclared;

// Element index = row x 32000 + column. Get: true with a copy of the element
// when the variable and element exist; an element outside the stored rows and
// columns gives false and the real 0; a variable never set gives the real 0
// and false when unknown variables read as 0, else true.
bool Variable_Global_GetValue(int id, int index, RValue* value);
void Variable_Global_SetValue(int id, int index, const RValue* value);
// The same on the instance's own variables; built-in ids go through the
// registry's getter and (when settable) setter.
bool Variable_GetValue(CInstance* inst, int id, int index, RValue* value);
void Variable_SetValue(CInstance* inst, int id, int index, const RValue* value);
// True when the variable was set and holds that element, whatever the option
// for unknown variables; a built-in variable always exists (the instance's
// through its getter).
bool Variable_Global_Exists(int id, int index);
bool Variable_Exists(CInstance* inst, int id, int index);
