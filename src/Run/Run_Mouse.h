// The mouse in the room, and the step's mouse events.
#pragma once

// The mouse position in room coordinates: through the view whose port holds
// the window position when views are on, else the window position itself.
float Run_MouseRoomX();
float Run_MouseRoomY();
// The mouse events of the step: over-instance, enter and leave, global and wheel.
void Run_MouseEvents();
