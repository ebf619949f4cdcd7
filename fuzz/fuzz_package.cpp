// Feeds arbitrary bytes to the package reader: it must refuse or accept them
// without reading outside the input.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "DataFile/DataFile_Package.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  GamePackage pkg;
  std::string error;
  if (DataFile_LoadPackageFromMemory(std::vector<uint8_t>(data, data + size), pkg, error)) {
    // Touch every blob the records point to, so a bad span shows up here.
    size_t sum = 0;
    for (auto& t : pkg.textures) for (uint8_t b : t.png) sum += b;
    for (auto& a : pkg.audio) for (uint8_t b : a) sum += b;
    for (auto& f : pkg.included_files) for (uint8_t b : f.data) sum += b;
    for (auto& s : pkg.sprites) for (auto& m : s.masks) sum += m.size();
    (void)sum;
  }
  return 0;
}
