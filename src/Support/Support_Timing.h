// The microsecond clock and the frame wait.
#pragma once
#include <cstdint>

// Microseconds since the program started (monotonic).
int64_t Timing_Time();
// Waits that long (clamped to 0..3 s): sleeps most of it, then pumps window
// messages until the time is reached (at least once).
void Timing_Wait(int64_t microseconds);

// The window's message pump, installed at start-up; without one a pump
// only yields the processor. Long waits elsewhere pump through it too.
void Timing_SetPumpMessages(void (*pump)());
void Timing_PumpMessages();
