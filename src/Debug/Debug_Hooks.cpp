#include "Debug/Debug_Hooks.h"

// The profiler fills these in.
void Profiler_Begin(const char*, uint32_t) {}
void Profiler_End() {}
