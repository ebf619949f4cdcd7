#include "Base/Digest_Block.h"

#include <cstring>

void DigestBlock_Update(uint32_t* state, uint8_t buffer[64], uint64_t* bitCount, const void* bytes, size_t length,
                        DigestTransform transform) {
  const auto* p = static_cast<const uint8_t*>(bytes);
  size_t used = (*bitCount / 8) % 64;
  *bitCount += uint64_t(length) * 8;
  while (length > 0) {
    size_t take = 64 - used < length ? 64 - used : length;
    std::memcpy(buffer + used, p, take);
    used += take;
    p += take;
    length -= take;
    if (used == 64) {
      transform(state, buffer);
      used = 0;
    }
  }
}

void DigestBlock_Final(uint32_t* state, uint8_t buffer[64], uint64_t* bitCount, bool bigEndian,
                       DigestTransform transform) {
  static const uint8_t kPad[64] = {0x80};
  uint64_t bits = *bitCount;
  size_t used = (bits / 8) % 64;
  DigestBlock_Update(state, buffer, bitCount, kPad, used < 56 ? 56 - used : 120 - used, transform);
  uint8_t length[8];
  for (int i = 0; i < 8; ++i) length[i] = uint8_t(bits >> (bigEndian ? 56 - 8 * i : 8 * i));
  DigestBlock_Update(state, buffer, bitCount, length, 8, transform);
}
