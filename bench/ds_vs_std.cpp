// The script map and list sort against the standard library on a million
// elements: map insert-then-find with string keys and with real keys, and
// sorting a list of reals. Run: build/bench_ds_vs_std
#include <algorithm>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include <benchmark/benchmark.h>

#include "Base/RValue.h"
#include "Platform/MemoryManager.h"
#include "Support/Support_Data_Structures_Map.h"
#include "Support/Support_Data_Structures_Sequence.h"

namespace {
constexpr int kCount = 1000000;

const std::vector<std::string>& TextKeys() {
  static std::vector<std::string> keys = [] {
    std::vector<std::string> k;
    std::mt19937 rng(1);
    for (int i = 0; i < kCount; ++i) k.push_back("key_" + std::to_string(rng()) + "_" + std::to_string(i));
    return k;
  }();
  return keys;
}

const std::vector<double>& RealKeys() {
  static std::vector<double> keys = [] {
    std::vector<double> k;
    std::mt19937_64 rng(2);
    std::uniform_real_distribution<double> d(0.0, 1e6);
    for (int i = 0; i < kCount; ++i) k.push_back(d(rng));
    return k;
  }();
  return keys;
}

void BM_Map_TextKeys_DS(benchmark::State& state) {
  const auto& keys = TextKeys();
  for (auto _ : state) {
    CDS_Map m;
    RValue value{VALUE_REAL, nullptr, 1.0};
    for (const std::string& k : keys) {
      RValue key{VALUE_STRING, const_cast<char*>(k.c_str()), 0.0};
      m.Add(&key, &value);
    }
    int found = 0;
    for (const std::string& k : keys) {
      RValue key{VALUE_STRING, const_cast<char*>(k.c_str()), 0.0};
      found += m.FindEntry(&key) != nullptr;
    }
    benchmark::DoNotOptimize(found);
  }
}

void BM_Map_TextKeys_Std(benchmark::State& state) {
  const auto& keys = TextKeys();
  for (auto _ : state) {
    std::unordered_map<std::string, double> m;
    for (const std::string& k : keys) m.emplace(k, 1.0);
    int found = 0;
    for (const std::string& k : keys) found += m.find(k) != m.end();
    benchmark::DoNotOptimize(found);
  }
}

void BM_Map_RealKeys_DS(benchmark::State& state) {
  const auto& keys = RealKeys();
  for (auto _ : state) {
    CDS_Map m;
    RValue value{VALUE_REAL, nullptr, 1.0};
    for (double k : keys) {
      RValue key{VALUE_REAL, nullptr, k};
      m.Add(&key, &value);
    }
    int found = 0;
    for (double k : keys) {
      RValue key{VALUE_REAL, nullptr, k};
      found += m.FindEntry(&key) != nullptr;
    }
    benchmark::DoNotOptimize(found);
  }
}

void BM_Map_RealKeys_Std(benchmark::State& state) {
  const auto& keys = RealKeys();
  for (auto _ : state) {
    std::unordered_map<double, double> m;
    for (double k : keys) m.emplace(k, 1.0);
    int found = 0;
    for (double k : keys) found += m.find(k) != m.end();
    benchmark::DoNotOptimize(found);
  }
}

void BM_ListSort_DS(benchmark::State& state) {
  const auto& values = RealKeys();
  for (auto _ : state) {
    state.PauseTiming();
    CDS_List l;
    for (double d : values) {
      RValue v{VALUE_REAL, nullptr, d};
      l.Add(&v);
    }
    state.ResumeTiming();
    l.Sort(true);
    benchmark::DoNotOptimize(l.FindValue(0));
  }
}

void BM_ListSort_Std(benchmark::State& state) {
  const auto& values = RealKeys();
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<double> v = values;
    state.ResumeTiming();
    std::sort(v.begin(), v.end());
    benchmark::DoNotOptimize(v.data());
  }
}
}  // namespace

BENCHMARK(BM_Map_TextKeys_DS)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Map_TextKeys_Std)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Map_RealKeys_DS)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Map_RealKeys_Std)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ListSort_DS)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ListSort_Std)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
