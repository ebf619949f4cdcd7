// The profiler's sections within a frame, and the frame-rate statistics
// that are logged at exit.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Base/Console.h"
#include "Debug/Debug_Profiler.h"
#include "Graphics_API/Graphics_Device.h"

namespace {

std::vector<std::string> g_Logged;

// Runs one frame of the overlay's bookkeeping.
float Frame() {
  Profiler_Total();
  float fps = Profiler_CloseFrame();
  Profiler_EndFrame();
  return fps;
}

TEST(Profiler, SectionsNestAndOverflowIsDroppedWithItsEnd) {
  Profiler_EndFrame();
  // A section outside a frame starts one.
  Profiler_Begin("Update", 0xFF0000FFu);
  Profiler_Begin("Text", 0x00FFFF00u);
  Profiler_End();
  Profiler_End();
  const ProfilerMarker* m = Profiler_Markers();
  ASSERT_EQ(Profiler_MarkerCount(), 3);
  EXPECT_STREQ(m[0].name, "Total");
  EXPECT_EQ(m[0].colour, 0xFF000080u);
  EXPECT_EQ(m[0].end, -1);  // still open
  EXPECT_STREQ(m[2].name, "Text");
  EXPECT_LE(m[0].start, m[1].start);
  EXPECT_LE(m[1].start, m[2].start);
  EXPECT_LE(m[2].end, m[1].end);
  EXPECT_GE(m[1].start, Profiler_FrameStart());

  // Fill the frame; two sections past the last marker are dropped, and
  // so are their ends: "Outer" stays open until its own end.
  Profiler_Begin("Outer", 1);
  while (Profiler_MarkerCount() < PROFILER_MAX_MARKERS) {
    Profiler_Begin("Pair", 2);
    Profiler_End();
  }
  Profiler_Begin("Dropped", 3);
  Profiler_Begin("Dropped too", 3);
  Profiler_End();
  Profiler_End();
  EXPECT_EQ(Profiler_MarkerCount(), PROFILER_MAX_MARKERS);
  EXPECT_EQ(m[3].end, -1);
  Profiler_End();
  EXPECT_GE(m[3].end, m[3].start);
  EXPECT_EQ(m[0].end, -1);
  Profiler_End();
  EXPECT_GE(m[0].end, m[0].start);
  Profiler_End();  // nothing open: nothing happens
  Profiler_EndFrame();

  // The next frame starts empty.
  Profiler_Total();
  EXPECT_EQ(Profiler_MarkerCount(), 1);
  EXPECT_EQ(Graphics_FrameCounters.batches, 0);
  Profiler_EndFrame();
}

TEST(Profiler, StatisticsCountFromTheHundredAndSecondFrameAndAreLogged) {
  Profiler_ResetStats();
  int64_t present = Graphics_PresentTime;
  // A present of 0.3 s: 3 frames a second whatever the few microseconds
  // of the frame itself.
  Graphics_PresentTime = 300000;
  for (int i = 0; i < 100; i++) EXPECT_EQ(int(Frame()), 3);
  EXPECT_EQ(Profiler_Stats().minimum, 2147483647);
  Frame();  // the 101st
  const ProfilerStats& s = Profiler_Stats();
  EXPECT_EQ(s.minimum, 2147483647);
  EXPECT_EQ(s.maximum, -2147483647 - 1);
  EXPECT_EQ(s.average, 30);

  g_Logged.clear();
  g_ConsoleListener = [](const char* line) { g_Logged.push_back(line); };
  Profiler_DumpFPS();
  Frame();  // the 102nd counts
  EXPECT_EQ(s.minimum, 3);
  EXPECT_EQ(s.maximum, 3);
  EXPECT_EQ(s.average, 16);
  Frame();
  EXPECT_EQ(s.average, 9);
  Profiler_DumpFPS();
  g_ConsoleListener = nullptr;
  const std::string dashes = "---------------------------------------------------------------\n";
  const std::vector<std::string> want = {dashes, "minFPS, maxFPS, avgFPS\n", "2147483647, -2147483648, 30\n", dashes,
                                         dashes, "minFPS, maxFPS, avgFPS\n", "3, 3, 9\n",                    dashes};
  EXPECT_EQ(g_Logged, want);

  // A frame the clock cannot see counts one microsecond, never a division by 0.
  Graphics_PresentTime = 0;
  float fps = Frame();
  EXPECT_TRUE(std::isfinite(fps));
  EXPECT_LE(fps, 1000000.0f);
  Graphics_PresentTime = present;
  Profiler_ResetStats();
}

}  // namespace
