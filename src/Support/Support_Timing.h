// The microsecond clock and the frame wait.
#pragma once
#include <cstdint>

// Microseconds since the program started (monotonic).
int64_t Timing_Time();
// Waits that long (clamped to 0..3 s): sleeps most of it, then pumps window
// messages through g_TimingPumpMessages until the time is reached.
void Timing_Wait(int64_t microseconds);

// Set by the window module; none while there is no window.
extern void (*g_TimingPumpMessages)();
