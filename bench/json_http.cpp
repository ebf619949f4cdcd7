// JSON decoding and encoding of a 1 MB document (bytes per second), and HTTP
// requests to a server on 127.0.0.1, one at a time and 16 at once (requests
// per second, delivered as the step delivers them). Run: build/bench_json_http
#include <string>

#include <benchmark/benchmark.h>

#include "../tests/http/HTTP_TestServer.h"
#include "Function/Function_Json.h"
#include "IO/HTTP_Main.h"

namespace {
// About 1 MB: an array of records with numbers, texts, flags and lists.
const std::string& Document() {
  static std::string doc = [] {
    std::string d = "{\"items\": [";
    for (int i = 0; d.size() < 1000000; ++i) {
      if (i) d += ", ";
      d += "{\"id\": " + std::to_string(i) + ", \"name\": \"item number " + std::to_string(i) +
           "\", \"score\": " + std::to_string(i * 0.37) + ", \"active\": true, \"tags\": [\"red\", \"blue\", " +
           std::to_string(i % 17) + "], \"owner\": {\"level\": " + std::to_string(i % 50) + ", \"note\": null}}";
    }
    return d + "], \"count\": 1}";
  }();
  return doc;
}

void BM_JsonDecode(benchmark::State& state) {
  const std::string& doc = Document();
  RValue arg{VALUE_STRING, const_cast<char*>(doc.c_str()), 0.0};
  for (auto _ : state) {
    int map = JSON_Decode(arg);
    state.PauseTiming();
    JSON_DestroyTree(map);
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(doc.size()));
}
BENCHMARK(BM_JsonDecode)->Unit(benchmark::kMillisecond);

void BM_JsonEncode(benchmark::State& state) {
  RValue arg{VALUE_STRING, const_cast<char*>(Document().c_str()), 0.0};
  int map = JSON_Decode(arg);
  size_t size = 0;
  for (auto _ : state) {
    std::string text = JSON_Encode(map);
    size = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  JSON_DestroyTree(map);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(size));
}
BENCHMARK(BM_JsonEncode)->Unit(benchmark::kMillisecond);

int g_Done = 0;
int CountReply(HTTP_REQ_CONTEXT*, void*, int*) {
  ++g_Done;
  return -1;
}

// Each iteration starts `range(0)` GETs and delivers until all have come.
void BM_HttpRequests(benchmark::State& state) {
  static HTTP_TestServer server;
  std::string url = server.Url("/hello");
  int batch = static_cast<int>(state.range(0));
  for (auto _ : state) {
    g_Done = 0;
    for (int i = 0; i < batch; ++i) HTTP_Get(url.c_str(), CountReply, nullptr, nullptr);
    while (g_Done < batch) HTTP_DeliverFinished();
  }
  state.SetItemsProcessed(state.iterations() * batch);
}
BENCHMARK(BM_HttpRequests)->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond)->UseRealTime();
}  // namespace

BENCHMARK_MAIN();
