// What the run loop calls in the other areas at fixed moments of the frame,
// the step, start-up and shutdown. Each area declares and defines its own.
#pragma once

#include "Debug/Debug_Hooks.h"
#include "Extension/Extension_Main.h"
#include "Kivo/Kivo_Achievements.h"
#include "IO/HTTP_Main.h"
#include "Sound/Sound_Hooks.h"

// Run-loop operations defined in the run area itself.
void Run_Timing_Reset();
bool Run_LoadGame(const char* file);
