// SHA-1 message digest (FIPS 180-1).
#pragma once
#include <cstddef>
#include <cstdint>

struct SHA1Context {
  uint32_t digest[5];  // the digest words once SHA1_Final has run
  uint64_t bitCount;
  uint8_t buffer[64];
};

void SHA1_Init(SHA1Context* ctx);
void SHA1_Update(SHA1Context* ctx, const void* bytes, size_t length);
void SHA1_Final(SHA1Context* ctx);
