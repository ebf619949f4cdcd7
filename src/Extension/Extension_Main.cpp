#include "Code/Code_Hooks.h"

// Extension packages are loaded from the package's EXTN chunk.
int Extension_FindFunction(const char* name) { return -1; }
int Extension_FunctionArgCount(int id) { return -100; }
