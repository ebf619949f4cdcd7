// The debugger and the login dialog as the run loop and the error report
// reach them. The profiler has its own header, Debug_Profiler.h.
#pragma once

void Debug_Create();
void Debug_Update();
void Debug_SaveSettings();
// The login dialog's answer, queued as an asynchronous request when ready.
void LoginAsync_Poll();
