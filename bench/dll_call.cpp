// The cost of one native call through the external-call layer, against the
// same function called directly.
#include <cmath>

#include <benchmark/benchmark.h>

#include "Support/Support_DLL.h"

static void BM_DirectPow(benchmark::State& state) {
  double x = 1.5;
  for (auto _ : state) {
    benchmark::DoNotOptimize(x);
    benchmark::DoNotOptimize(std::pow(x, 2.5));
  }
}
BENCHMARK(BM_DirectPow);

static void BM_DllCallPow(benchmark::State& state) {
  int kinds[2] = {DLL_TYPE_REAL, DLL_TYPE_REAL};
  int h = DLL_Define("libm.so.6", "pow", DLL_CDECL, 2, kinds, DLL_TYPE_REAL);
  RValue args[2] = {{VALUE_REAL, nullptr, 1.5}, {VALUE_REAL, nullptr, 2.5}};
  RValue result{};
  for (auto _ : state) {
    DLL_Call(h, 2, args, &result);
    benchmark::DoNotOptimize(result.val);
  }
}
BENCHMARK(BM_DllCallPow);

static void BM_DllCallGetenvText(benchmark::State& state) {
  int kinds[1] = {DLL_TYPE_STRING};
  int h = DLL_Define("libc.so.6", "getenv", DLL_CDECL, 1, kinds, DLL_TYPE_STRING);
  char name[] = "PATH";
  RValue args[1] = {{VALUE_STRING, name, 0}};
  RValue result{};
  for (auto _ : state) {
    DLL_Call(h, 1, args, &result);
    benchmark::DoNotOptimize(result.str);
  }
  RValue_Free(&result);
}
BENCHMARK(BM_DllCallGetenvText);

BENCHMARK_MAIN();
