// The debugger, its profiler and the login dialog as the run loop and the
// error report reach them.
#pragma once
#include <cstdint>

// Debug_Create makes the debugger form, or shows the one a restart hid;
// Debug_Frame runs at the start of every frame (the test commands).
bool Debug_FormExists();
void Debug_Create();
void Debug_Update();
void Debug_SaveSettings();
void DebugForm_SetVisible(bool visible);
void Debug_Frame();
void Profiler_Begin(const char* name, uint32_t colour);
void Profiler_End();
// The login dialog's answer, queued as an asynchronous request when ready.
void LoginAsync_Poll();
