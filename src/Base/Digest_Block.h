// The 64-byte block framing that MD5 and SHA-1 share: buffering of partial
// blocks and the final padding (0x80, zeros, then the 64-bit bit count).
#pragma once
#include <cstddef>
#include <cstdint>

typedef void (*DigestTransform)(uint32_t* state, const uint8_t block[64]);

void DigestBlock_Update(uint32_t* state, uint8_t buffer[64], uint64_t* bitCount, const void* bytes, size_t length,
                        DigestTransform transform);
// Pads and runs the last block(s); the bit count is stored big-endian when
// bigEndian is set (SHA-1), else little-endian (MD5).
void DigestBlock_Final(uint32_t* state, uint8_t buffer[64], uint64_t* bitCount, bool bigEndian,
                       DigestTransform transform);
