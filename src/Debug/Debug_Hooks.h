// The debugger and the login dialog as the run loop and the error report
// reach them. The profiler has its own header, Debug_Profiler.h.
#pragma once

// Debug_Create makes the debugger form, or shows the one a restart hid;
// Debug_Frame runs at the start of every frame (the test commands).
bool Debug_FormExists();
void Debug_Create();
void Debug_Update();
void Debug_SaveSettings();
void DebugForm_SetVisible(bool visible);
void Debug_Frame();
// The login dialog's answer, queued as an asynchronous request when ready.
void LoginAsync_Poll();
