#include "Debug/Debug_Hooks.h"

// The debugger and its profiler fill these in.
void Debug_Create() {}
void Debug_Update() {}
void Debug_SaveSettings() {}
void Profiler_Begin(const char*, uint32_t) {}
void Profiler_End() {}
