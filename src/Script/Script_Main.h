// The game's scripts: added by the loader, compiled once, run by index.
#pragma once
#include "Base/RValue.h"

class CInstance;
class CCode;

// Adds a script (its text is copied); returns its index.
int Script_Add(const char* name, const char* text);
// Compiles every script as "Script.NAME"; a failure is reported fatally
// ("COMPILATION ERROR in Script: %s\n%s") and gives false.
bool Script_PrepareAll();
// Removes every script.
void Script_Clear();

int Script_Find(const char* name);  // -1 when none
int Script_Count();
bool Script_Exists(int index);
const char* Script_GetName(int index);  // "<undefined>" when none
const char* Script_GetText(int index);  // null when none
// The compiled unit, null when the index is bad or the script did not compile.
CCode* Script_GetCode(int index);

// Runs a script with (copies of) the arguments (at most 16); the result is
// what it returns (real 0 without a return). False on a run-time error, with
// "In script %s:\n%s" in Code_ErrorText and the engine's pending error set.
bool Script_Execute(int index, CInstance* self, CInstance* other, int argc, const RValue* args, RValue* result);
