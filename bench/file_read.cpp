// Reading files through the built-ins as scripts do: lines per second of
// file_text_read_string (with file_text_readln stepping over the line end)
// over a 10 MB file of 60-byte lines, and bytes per second of
// file_bin_read_byte.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

#include "Base/File_Folders.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Init.h"

namespace {
constexpr size_t kFileSize = 10 * 1024 * 1024;

// A save folder holding "lines.txt": CR LF lines of 58 characters.
struct TestFolder {
  std::string dir;
  TestFolder() {
    char pattern[] = "/tmp/bench_fileXXXXXX";
    dir = mkdtemp(pattern);
    File_SetSaveDirectory(dir.c_str());
    std::string line = std::string(58, 'x') + "\r\n";
    FILE* f = std::fopen((dir + "/lines.txt").c_str(), "wb");
    for (size_t n = 0; n < kFileSize; n += line.size()) std::fwrite(line.data(), 1, line.size(), f);
    std::fclose(f);
    InitCWLFunctions();
  }
  ~TestFolder() { std::filesystem::remove_all(dir); }
};

// Calls a built-in as the interpreter does once it has found it.
struct Builtin {
  TRoutine routine;
  explicit Builtin(const char* name) : routine(Function_Get(Function_FindBuiltIn(name))->routine) {}
  void operator()(RValue* args, int argc, RValue* result) const {
    RValue_Free(result);
    routine(*result, nullptr, nullptr, argc, args);
  }
};

// Opens lines.txt in the given way and returns its id argument.
RValue Open(const char* name, double mode) {
  RValue args[2] = {};
  RValue_SetString(&args[0], "lines.txt");
  RValue_SetReal(&args[1], mode);
  RValue result = {VALUE_REAL, nullptr, 0.0};
  Builtin opener(name);
  opener(args, 2, &result);
  RValue_Free(&args[0]);
  return result;
}
}  // namespace

static void BM_TextReadString(benchmark::State& state) {
  TestFolder folder;
  int64_t lines = 0;
  RValue result = {VALUE_REAL, nullptr, 0.0};
  Builtin eof("file_text_eof"), readString("file_text_read_string"), readln("file_text_readln"), close("file_text_close");
  for (auto _ : state) {
    RValue id = Open("file_text_open_read", 0);
    for (;;) {
      eof(&id, 1, &result);
      if (result.val != 0) break;
      readString(&id, 1, &result);
      readln(&id, 1, &result);
      ++lines;
    }
    close(&id, 1, &result);
  }
  RValue_Free(&result);
  state.counters["lines/s"] = benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TextReadString)->Unit(benchmark::kMillisecond);

static void BM_BinReadByte(benchmark::State& state) {
  TestFolder folder;
  RValue result = {VALUE_REAL, nullptr, 0.0};
  int64_t bytes = 0;
  Builtin seek("file_bin_seek"), readByte("file_bin_read_byte"), close("file_bin_close");
  RValue id = Open("file_bin_open", 0);
  for (auto _ : state) {
    RValue args[2] = {id, {VALUE_REAL, nullptr, 0.0}};
    seek(args, 2, &result);
    for (size_t i = 0; i < 1024 * 1024; ++i) readByte(&id, 1, &result);
    bytes += 1024 * 1024;
  }
  close(&id, 1, &result);
  state.counters["bytes/s"] = benchmark::Counter(static_cast<double>(bytes), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BinReadByte)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
