// The memory manager's cost per block (the live-block registry included), the
// hash table's lookups and the stream's hex round trip.
#include <benchmark/benchmark.h>

#include <vector>

#include "Platform/MemoryManager.h"
#include "Platform/Platform_Hash.h"
#include "Support/Support_Stream.h"

static void AllocFree(benchmark::State& state) {
  std::vector<void*> blocks(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    for (auto& b : blocks) b = MEM_ALLOC(32);
    for (auto* b : blocks) MEM_FREE(b);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(AllocFree)->Arg(1)->Arg(1000)->Arg(100000);

static void HashFind(benchmark::State& state) {
  Hash<int> h(64);
  int value = 0;
  for (uint32_t k = 0; k < 1000; ++k) h.Insert(k * 2654435761u, &value);
  uint32_t k = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(h.Find((k % 1000) * 2654435761u));
    ++k;
  }
}
BENCHMARK(HashFind);

static void StreamHexRoundTrip(benchmark::State& state) {
  for (auto _ : state) {
    CStream out;
    for (int i = 0; i < 1000; ++i) {
      out.WriteInteger(i);
      out.WriteReal(i * 0.5);
    }
    char* text = out.ConvertToString();
    CStream in;
    in.ConvertFromString(text);
    MEM_FREE(text);
    for (int i = 0; i < 1000; ++i) {
      benchmark::DoNotOptimize(in.ReadInteger());
      benchmark::DoNotOptimize(in.ReadReal());
    }
  }
  state.SetBytesProcessed(state.iterations() * 12000);
}
BENCHMARK(StreamHexRoundTrip);

BENCHMARK_MAIN();
