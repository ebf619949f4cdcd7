// The room transition kinds: the built-in ones and those drawn by scripts.
#pragma once

bool TransFunctionExists(int kind);
// Makes the script of that name the drawing of a transition kind; false
// when there is no such script.
bool Transition_DefineScript(int kind, const char* scriptName);
// The script index that draws a kind, -1 when a built-in (or none) does.
int Transition_Script(int kind);
