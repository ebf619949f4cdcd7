// The window as the run loop sees it.
#pragma once

class CRoom;

// The window takes the room's size when the room starts: the room's width and
// height, or with views on the box from the corner around the visible views'
// ports. A window in full screen keeps its size.
void Run_FitWindowToRoom(const CRoom& room);
// One pass of the window's message pump.
void Run_ProcessMessages();
// The pump while a modal box is open: the window answers, input is dropped,
// a close request is kept for the main loop.
void Run_ModalPump();
// Brackets a step's drawing; the frame is shown when present is set.
void Run_BeginScene();
void Run_EndScene(bool present);
