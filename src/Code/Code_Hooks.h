// What the function table asks of the scripts and the extension packages.
// Each is defined by the area that owns it.
#pragma once

int Script_Find(const char* name);                  // Script area: index or -1
int Extension_FindFunction(const char* name);       // Extension area: id or -1
int Extension_FunctionArgCount(int id);             // -100 when no such function
