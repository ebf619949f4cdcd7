// The debugger, its profiler and the login dialog as the run loop and the
// error report reach them.
#pragma once
#include <cstdint>

void Debug_Create();
void Debug_Update();
void Debug_SaveSettings();
void Profiler_Begin(const char* name, uint32_t colour);
void Profiler_End();
// The login dialog's answer, queued as an asynchronous request when ready.
void LoginAsync_Poll();
