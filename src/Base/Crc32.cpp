#include "Base/Crc32.h"

#include <array>

namespace {
constexpr std::array<uint32_t, 256> MakeTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[i] = c;
  }
  return table;
}
constexpr std::array<uint32_t, 256> kTable = MakeTable();
}  // namespace

uint32_t Crc32_Buffer(const void* bytes, size_t length) {
  uint32_t crc = 0xFFFFFFFFu;
  const auto* p = static_cast<const uint8_t*>(bytes);
  for (size_t i = 0; i < length; ++i) crc = kTable[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
  return crc;
}

uint32_t Crc32_String(const char* text) {
  uint32_t crc = 0xFFFFFFFFu;
  if (!text) return crc;
  for (const auto* p = reinterpret_cast<const uint8_t*>(text); *p; ++p) crc = kTable[(crc ^ *p) & 0xFF] ^ (crc >> 8);
  return crc;
}
