// Achievement cache files through the record parser and then through the
// queue as a run meets them: the file is loaded from the save folder and
// written back, and the sender is driven through the service's answers.
//
// Input: one byte n, then n moves of the sender (below), then the cache file
// itself. Every record the parser hands on must lie inside the data, the
// records must cover it in order, and the file written back must hold
// exactly the complete records read.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "Base/File_Folders.h"
#include "Kivo/Kivo_Achievements.h"

namespace {
struct Walk {
  const uint8_t* data;
  size_t size;
  size_t pos;
};

void Check(uint32_t kind, const char* name, size_t length, uint32_t value, void* context) {
  Walk& w = *static_cast<Walk*>(context);
  const uint8_t* record = w.data + w.pos;
  uint32_t storedKind, storedValue;
  std::memcpy(&storedKind, record, 4);
  std::memcpy(&storedValue, record + 4 + length + 1, 4);
  if (reinterpret_cast<const uint8_t*>(name) != record + 4 || name[length] != 0 || storedKind != kind ||
      storedValue != value || w.pos + length + 9 > w.size)
    std::abort();
  w.pos += length + 9;
}

// The save folder of the run, in memory where the system has such a folder:
// every write of the cache is synced to its disk.
char g_folder[64];
const char* SaveFolder() {
  if (!g_folder[0]) {
    std::snprintf(g_folder, sizeof g_folder, "%s/fuzz_achievementsXXXXXX",
                  access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
    if (!mkdtemp(g_folder)) std::abort();
    std::atexit([] { std::filesystem::remove_all(g_folder); });
  }
  return g_folder;
}

std::string ReadCache() {
  std::ifstream in(std::filesystem::path(SaveFolder()) / ACHIEVEMENT_CACHE_FILE, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A move of the sender: a step, the service's answer, or a new entry.
void Move(uint8_t move) {
  switch (move % 4) {
    case 0: Achievements_Process(); break;
    case 1: Achievements_SetState(ACHIEVEMENT_DELIVERED); break;
    case 2: Achievements_SetState(ACHIEVEMENT_FAILED); break;
    default: Achievements_Add(move >> 2 & 3 ? move >> 2 & 3 : 7, "added", move); break;
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  size_t moves = data[0];
  if (1 + moves > size) moves = size - 1;
  const uint8_t* file = data + 1 + moves;
  size_t fileSize = size - 1 - moves;

  Walk w{file, fileSize, 0};
  Achievements_Parse(file, fileSize, Check, &w);

  File_SetSaveDirectory(SaveFolder());
  std::ofstream(std::filesystem::path(SaveFolder()) / ACHIEVEMENT_CACHE_FILE, std::ios::binary)
      .write(reinterpret_cast<const char*>(file), static_cast<std::streamsize>(fileSize));
  Achievements_Clear();
  Achievements_Init();
  // Loading writes the queue back: the complete records, while they fit.
  if (Achievements_Count() <= ACHIEVEMENT_QUEUE_LIMIT &&
      ReadCache() != std::string(reinterpret_cast<const char*>(file), w.pos))
    std::abort();
  for (size_t i = 0; i < moves; i++) Move(data[1 + i]);
  Achievements_Clear();
  File_SetSaveDirectory(nullptr);
  return 0;
}
