#include "Kivo/Kivo_Pause.h"

#include "Base/Console.h"

namespace {
bool g_raised = false;
bool g_paused = false;
}  // namespace

void Kivo_OSPauseEvent_Raise() {
  Console_Printf("OS has raised a pause event\n");
  g_raised = true;
}

void Kivo_OSPauseEvent_Tick() {
  if (g_raised) {
    Console_Printf("Pause event has been registered for this frame\n");
    g_paused = true;
    g_raised = false;
  } else if (g_paused) {
    Console_Printf("Pause event has been unregistered\n");
    g_paused = false;
  }
}

bool Kivo_OSPauseEvent_Paused() { return g_paused; }
