// Text file bytes through the line readers of both text families: the
// memory-buffer lines and numbers of the numbered files, and the text-mode
// stream reads of the older file.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "IO/LoadSave_Main.h"
#include "Support/Support_TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first byte picks the order of the reads; the rest is the file.
  if (size == 0) return 0;
  uint8_t plan = data[0];
  std::vector<uint8_t> bytes(data + 1, data + size);  // exactly the file: no terminator
  LoadSaveFile f = {bytes.data(), static_cast<int64_t>(bytes.size()), 0};
  for (int step = 0; step < 64; ++step) {
    double d;
    switch ((plan >> (step % 4 * 2)) & 3) {
      case 0: LoadSave_ReadLine(&f); break;
      case 1: LoadSave_ReadLineWithEnd(&f); break;
      case 2: LoadSave_ReadReal(&f, &d); break;
      default: LoadSave_fseek(&f, static_cast<int64_t>(step % 5) - 2, SEEK_CUR); break;
    }
    if (step % 7 == 6) LoadSave_ReadLine(&f);
  }
  if (bytes.empty()) return 0;
  if (FILE* stream = fmemopen(bytes.data(), bytes.size(), "rb")) {
    for (int i = 0; i < 64 && !std::feof(stream); ++i) TextFile_ReadLine(stream, (plan >> (i % 8)) & 1);
    std::fclose(stream);
  }
  return 0;
}
