// Extension functions as the engine calls them: found by name, checked for
// their argument count and called with the engine's values.
#pragma once

class CInstance;
struct RValue;

int Extension_FindFunction(const char* name);  // id or -1
int Extension_FunctionArgCount(int id);        // -100 when no such function
// Calls extension function id (function id - 500000); false when the call
// failed, with the message in Code_ErrorText.
bool Extension_Call(int id, CInstance* self, CInstance* other, int argc, RValue* args, RValue* result);
