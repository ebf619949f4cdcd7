// The window as the run loop sees it.
#pragma once

// One pass of the window's message pump.
void Run_ProcessMessages();
// The pump while a modal box is open: the window answers, input is dropped,
// a close request is kept for the main loop.
void Run_ModalPump();
// Brackets a step's drawing; the frame is shown when present is set.
void Run_BeginScene();
void Run_EndScene(bool present);
