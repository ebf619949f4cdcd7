// What the engine asks of the scripts and the extension packages. Each is
// defined by the area that owns it.
#pragma once

class CInstance;
struct RValue;

int Script_Find(const char* name);                  // Script area: index or -1
int Extension_FindFunction(const char* name);       // Extension area: id or -1
int Extension_FunctionArgCount(int id);             // -100 when no such function
// Calls extension function id (function id - 500000); false when the call
// failed, with the message in Code_ErrorText.
bool Extension_Call(int id, CInstance* self, CInstance* other, int argc, RValue* args, RValue* result);
