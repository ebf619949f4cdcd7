// MD5 message digest (RFC 1321).
#pragma once
#include <cstddef>
#include <cstdint>

struct MD5Context {
  uint32_t state[4];
  uint64_t bitCount;
  uint8_t buffer[64];
  uint8_t digest[16];  // filled by MD5_Final
};

void MD5_Init(MD5Context* ctx);
void MD5_Update(MD5Context* ctx, const void* bytes, size_t length);
void MD5_Final(MD5Context* ctx);
