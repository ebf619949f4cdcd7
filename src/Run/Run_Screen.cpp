#include "Run/Run_Screen.h"

// The window takes these over; without one there is nothing to pump or show.
void Run_ProcessMessages() {}
void Run_BeginScene() {}
void Run_EndScene(bool) {}
