#include "Base/Random_Main.h"

#include <algorithm>

#include "Support/Support_Timing.h"

namespace {
uint32_t g_state = 0;
uint32_t g_storedSeed = 0;
}  // namespace

void Random_Seed(uint32_t seed) { g_state = seed; }

void Random_SetSeed(uint32_t seed) {
  g_storedSeed = seed;
  g_state = seed;
}

uint32_t Random_GetSeed() { return g_storedSeed; }

int64_t Random_Randomize() {
  int64_t t = Timing_Time();
  uint32_t lo = static_cast<uint32_t>(t);
  int32_t hi = static_cast<int32_t>(t >> 32);
  int64_t v = static_cast<int64_t>(lo) + hi;
  v ^= (t >> 16) & 0xFFFF;
  v ^= static_cast<int64_t>(lo & 0xFFFF) << 16;
  Random_SetSeed(static_cast<uint32_t>(v));
  return v;
}

uint32_t Random_Draw() {
  g_state = g_state * 214013u + 2531011u;
  return (g_state >> 16) & 0x7FFF;
}

float Random_Real() { return static_cast<float>(Random_Draw()) / 32768.0f; }

int Random_Int(int n) { return static_cast<int>(n * std::min(static_cast<double>(Random_Real()), 0.9999)); }
