// The clock over CLOCK_MONOTONIC, the wait over nanosleep.
#include <sched.h>
#include <algorithm>
#include <cerrno>
#include <time.h>

#include "Support/Support_Timing.h"

namespace {
void (*g_PumpMessages)() = nullptr;

int64_t MonotonicMicroseconds() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return int64_t(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}
// Taken at static initialisation, or at the first call if that comes sooner.
int64_t StartTime() {
  static const int64_t start = MonotonicMicroseconds();
  return start;
}
const int64_t g_Start = StartTime();
}  // namespace

int64_t Timing_Time() { return MonotonicMicroseconds() - StartTime(); }

void Timing_Wait(int64_t microseconds) {
  if (microseconds <= 0) return;
  microseconds = std::min<int64_t>(microseconds, 3000000);
  int64_t end = Timing_Time() + microseconds;
  // Sleep short of the target (the scheduler may overshoot), then pump.
  if (microseconds >= 2000) {
    int64_t ms = (microseconds - 1000) / 1000;
    timespec ts{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000};
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
  }
  // Messages are pumped at least once, even when the sleep overshot.
  do Timing_PumpMessages();
  while (Timing_Time() < end);
}

void Timing_SetPumpMessages(void (*pump)()) { g_PumpMessages = pump; }

void Timing_PumpMessages() {
  if (g_PumpMessages) g_PumpMessages();
  else sched_yield();
}
