// The pause event: raised when another application takes the game window's
// focus, registered for the one step after it.
#pragma once

void Kivo_OSPauseEvent_Raise();
// Once per step: a raised event becomes the paused state for this step; the
// step after, the state clears again.
void Kivo_OSPauseEvent_Tick();
bool Kivo_OSPauseEvent_Paused();
