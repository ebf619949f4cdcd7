#include "Debug/Debug_Profiler.h"

#include "Base/Console.h"
#include "Debug/Debug_Font.h"
#include "Graphics_API/Graphics_Device.h"
#include "Support/Support_Timing.h"

namespace {

struct Profile {
  ProfilerMarker markers[PROFILER_MAX_MARKERS];
  int count = 0;
  int open[PROFILER_MAX_MARKERS];  // indices of the open sections, innermost last
  int depth = 0;
  int dropped = 0;  // open sections that found no room; they are always the innermost
  int64_t frameStart = 0;
  bool started = false;
};

Profile g_Profile;
ProfilerStats g_Stats;

}  // namespace

void Profiler_Init() {
  g_Profile.depth = 0;
  g_Profile.dropped = 0;
  g_Profile.started = false;
  DebugFont_CreateTexture();
}

void Profiler_Total() {
  Profile& p = g_Profile;
  p.depth = 0;
  p.dropped = 0;
  p.started = true;
  p.frameStart = Timing_Time();
  p.count = 0;
  Graphics_FrameCounters.textureSwaps = 0;
  Graphics_FrameCounters.batches = 0;
  Profiler_Begin("Total", 0xFF000080u);
}

void Profiler_Begin(const char* name, uint32_t colour) {
  Profile& p = g_Profile;
  if (!p.started) Profiler_Total();
  if (p.count >= PROFILER_MAX_MARKERS) {
    p.dropped++;
    return;
  }
  ProfilerMarker& m = p.markers[p.count];
  m.start = Timing_Time();
  m.end = -1;
  m.colour = colour;
  m.name = name;
  p.open[p.depth++] = p.count++;
}

void Profiler_End() {
  Profile& p = g_Profile;
  if (p.dropped > 0) {
    p.dropped--;
    return;
  }
  if (p.depth == 0) return;
  p.markers[p.open[--p.depth]].end = Timing_Time();
}

void Profiler_DumpFPS() {
  const char* line = "---------------------------------------------------------------\n";
  g_Console.Output("%s", line);
  g_Console.Output("minFPS, maxFPS, avgFPS\n");
  g_Console.Output("%d, %d, %d\n", g_Stats.minimum, g_Stats.maximum, g_Stats.average);
  g_Console.Output("%s", line);
}

float Profiler_CloseFrame() {
  Profile& p = g_Profile;
  if (!p.started) Profiler_Total();
  if (p.depth > 0 || p.dropped > 0) Profiler_End();
  const ProfilerMarker& total = p.markers[0];
  int64_t end = total.end >= 0 ? total.end : Timing_Time();
  int64_t length = end - total.start + Graphics_PresentTime;
  // A frame too short for the clock to see still counts a microsecond.
  if (length < 1) length = 1;
  float fps = 1000000.0f / float(length);
  int whole = int(fps);
  p.depth = 0;
  p.dropped = 0;
  ProfilerStats& s = g_Stats;
  if (s.frames > 100) {
    if (whole < s.minimum) s.minimum = whole;
    if (whole > s.maximum) s.maximum = whole;
    s.average = int((int64_t(s.average) + whole) / 2);
  }
  s.frames++;
  return fps;
}

void Profiler_EndFrame() { g_Profile.started = false; }
int64_t Profiler_FrameStart() { return g_Profile.frameStart; }
int Profiler_MarkerCount() { return g_Profile.count; }
const ProfilerMarker* Profiler_Markers() { return g_Profile.markers; }
const ProfilerStats& Profiler_Stats() { return g_Stats; }
void Profiler_ResetStats() { g_Stats = ProfilerStats(); }
