#include "Extension/Extension_Main.h"

// Extension packages are loaded from the package's EXTN chunk.
int Extension_FindFunction(const char* name) { return -1; }
int Extension_FunctionArgCount(int id) { return -100; }
bool Extension_Call(int id, CInstance* self, CInstance* other, int argc, RValue* args, RValue* result) { return false; }
