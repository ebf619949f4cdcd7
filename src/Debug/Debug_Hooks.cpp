#include "Debug/Debug_Hooks.h"

// The debugger fills these in.
void Debug_Create() {}
void Debug_Update() {}
void Debug_SaveSettings() {}
