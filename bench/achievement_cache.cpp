// Start-up with a full achievement cache: 2,049 records of 200-byte names
// read from the save folder into the queue (and written back once), against
// the same parse with nothing kept.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

#include "Base/File_Folders.h"
#include "Kivo/Kivo_Achievements.h"

namespace {
constexpr int kRecords = ACHIEVEMENT_QUEUE_LIMIT + 1;

std::string FullCache() {
  std::string out;
  std::string name(200, 'n');
  for (int i = 0; i < kRecords; i++) {
    out.append("\x01\0\0\0", 4);
    out += name;
    out += '\0';
    out.append(reinterpret_cast<const char*>(&i), 4);
  }
  return out;
}

struct SaveFolder {
  std::string dir;
  std::string bytes = FullCache();
  SaveFolder() {
    char pattern[] = "/tmp/bench_achievementsXXXXXX";
    dir = mkdtemp(pattern);
    File_SetSaveDirectory(dir.c_str());
  }
  ~SaveFolder() {
    File_SetSaveDirectory(nullptr);
    std::filesystem::remove_all(dir);
  }
  void Write() {
    FILE* f = std::fopen((dir + "/" + ACHIEVEMENT_CACHE_FILE).c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
};
}  // namespace

static void BM_StartWithFullCache(benchmark::State& state) {
  SaveFolder folder;
  folder.Write();
  int records = 0;
  for (auto _ : state) {
    Achievements_Init();
    records = Achievements_Count();
    state.PauseTiming();
    Achievements_Clear();
    state.ResumeTiming();
  }
  state.counters["records"] = records;
}
BENCHMARK(BM_StartWithFullCache)->Unit(benchmark::kMillisecond);

static void BM_ParseFullCache(benchmark::State& state) {
  std::string bytes = FullCache();
  for (auto _ : state) {
    size_t n = Achievements_Parse(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                                  [](uint32_t, const char*, size_t, uint32_t, void*) {}, nullptr);
    benchmark::DoNotOptimize(n);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_ParseFullCache)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
