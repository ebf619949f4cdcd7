#include "Base/SHA1.h"

#include <cstring>

#include "Base/Digest_Block.h"

namespace {
uint32_t Rotl(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

void Transform(uint32_t* h, const uint8_t block[64]) {
  uint32_t w[80];
  for (int i = 0; i < 16; ++i)
    w[i] = uint32_t(block[4 * i]) << 24 | uint32_t(block[4 * i + 1]) << 16 | uint32_t(block[4 * i + 2]) << 8 |
           uint32_t(block[4 * i + 3]);
  for (int i = 16; i < 80; ++i) w[i] = Rotl(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
  uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4];
  for (int i = 0; i < 80; ++i) {
    uint32_t f, k;
    if (i < 20) { f = (b & c) | (~b & d); k = 0x5A827999; }
    else if (i < 40) { f = b ^ c ^ d; k = 0x6ED9EBA1; }
    else if (i < 60) { f = (b & c) | (b & d) | (c & d); k = 0x8F1BBCDC; }
    else { f = b ^ c ^ d; k = 0xCA62C1D6; }
    uint32_t t = Rotl(a, 5) + f + e + k + w[i];
    e = d;
    d = c;
    c = Rotl(b, 30);
    b = a;
    a = t;
  }
  h[0] += a;
  h[1] += b;
  h[2] += c;
  h[3] += d;
  h[4] += e;
}
}  // namespace

void SHA1_Init(SHA1Context* ctx) {
  std::memset(ctx, 0, sizeof *ctx);
  ctx->digest[0] = 0x67452301;
  ctx->digest[1] = 0xEFCDAB89;
  ctx->digest[2] = 0x98BADCFE;
  ctx->digest[3] = 0x10325476;
  ctx->digest[4] = 0xC3D2E1F0;
}

void SHA1_Update(SHA1Context* ctx, const void* bytes, size_t length) {
  DigestBlock_Update(ctx->digest, ctx->buffer, &ctx->bitCount, bytes, length, Transform);
}

void SHA1_Final(SHA1Context* ctx) {
  DigestBlock_Final(ctx->digest, ctx->buffer, &ctx->bitCount, true, Transform);
}
