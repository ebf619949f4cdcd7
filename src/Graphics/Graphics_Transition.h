// The room transition kinds: the built-in ones and those drawn by scripts.
#pragma once

bool TransFunctionExists(int kind);
// Makes the script of that name the drawing of a transition kind; false
// when there is no such script.
bool Transition_DefineScript(int kind, const char* scriptName);
// How a script is found by name (its index, -1 when none), installed at
// start-up; until then no name is a script.
void Transition_SetScriptFinder(int (*find)(const char* name));
// The script index that draws a kind, -1 when a built-in (or none) does.
int Transition_Script(int kind);
