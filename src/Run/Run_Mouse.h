// The mouse in the room, and the step's mouse events.
#pragma once

// The mouse position of a device (0 the mouse, up to 5) in room coordinates:
// through the view whose port holds the window position when views are on,
// else the window position itself; 0 for any other device.
float Run_MouseRoomX(int device = 0);
float Run_MouseRoomY(int device = 0);
// The mouse events of the step: over-instance, enter and leave, global and wheel.
void Run_MouseEvents();
