// The frame profiler: named, coloured sections of the frame timed in
// microseconds, and the frame-rate statistics logged at shutdown.
#pragma once
#include <cstdint>

constexpr int PROFILER_MAX_MARKERS = 1024;
// Microseconds across the width of the profiler bar: a fifteenth of a second.
constexpr float PROFILER_SCALE = 66666.664f;

struct ProfilerMarker {
  int64_t start, end;  // end is -1 while the section is open
  uint32_t colour;     // BGR, alpha in the top byte
  const char* name;
};

// The frame-rate statistics; they count from the 102nd frame on.
struct ProfilerStats {
  int minimum = 2147483647;
  int maximum = -2147483647 - 1;
  int average = 30;
  int frames = 0;
};

// At graphics start-up: an empty profile, and the debug font's texture.
void Profiler_Init();
// Starts the frame's profile with its "Total" section and zeroes the
// renderer's per-frame counters.
void Profiler_Total();
// Opens a section (starting the frame first when none has started). A
// section past the 1,024th of a frame is dropped, and so is its end.
void Profiler_Begin(const char* name, uint32_t colour);
// Closes the innermost open section; nothing when none is open.
void Profiler_End();
// Logs the minimum, maximum and average frame rate.
void Profiler_DumpFPS();

// For the overlay: closes the frame's innermost section, takes the frame
// rate from the "Total" section plus the last present time, counts it in
// the statistics and returns it.
float Profiler_CloseFrame();
// The frame is over: the next section starts a new one.
void Profiler_EndFrame();
int64_t Profiler_FrameStart();
int Profiler_MarkerCount();
const ProfilerMarker* Profiler_Markers();
const ProfilerStats& Profiler_Stats();
void Profiler_ResetStats();
