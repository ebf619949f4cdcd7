// The window as the run loop sees it.
#pragma once

// One pass of the window's message pump.
void Run_ProcessMessages();
// Brackets a step's drawing; the frame is shown when present is set.
void Run_BeginScene();
void Run_EndScene(bool present);
