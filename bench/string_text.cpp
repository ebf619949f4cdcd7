// Costs of the text conversions and character-wise searches that scripts
// use most: real to text (with the C locale switched in per call), text to
// real, and string_pos / string_replace_all over a text of 1,000 characters.
#include <string>

#include <benchmark/benchmark.h>

#include "Base/Text_Real.h"
#include "Function/Function_String.h"

static void BM_RealToText_Whole(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Real_ToText(12345.0));
}
BENCHMARK(BM_RealToText_Whole);

static void BM_RealToText_Fraction(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Real_ToText(3.14159));
}
BENCHMARK(BM_RealToText_Fraction);

static void BM_RealFromText(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Real_FromText("  -1234.5678e2xyz"));
}
BENCHMARK(BM_RealFromText);

static void CallOnText(benchmark::State& state, TRoutine routine, const char* sought, bool soughtFirst) {
  std::string text;
  for (int i = 0; i < 250; ++i) text += "ab\xC3\xA9" "c";  // 1,000 characters
  RValue args[3] = {};
  RValue_SetString(&args[soughtFirst ? 1 : 0], text.c_str());
  RValue_SetString(&args[soughtFirst ? 0 : 1], sought);
  RValue_SetString(&args[2], "x");
  for (auto _ : state) {
    RValue result = {VALUE_REAL, nullptr, 0.0};
    routine(result, nullptr, nullptr, 3, args);
    RValue_Free(&result);
  }
  for (RValue& v : args) RValue_Free(&v);
}

static void BM_StringPos_NotFound(benchmark::State& state) { CallOnText(state, F_StringPos, "zz", true); }
BENCHMARK(BM_StringPos_NotFound);

static void BM_StringReplaceAll(benchmark::State& state) { CallOnText(state, F_StringReplaceAll, "\xC3\xA9", false); }
BENCHMARK(BM_StringReplaceAll);

BENCHMARK_MAIN();
