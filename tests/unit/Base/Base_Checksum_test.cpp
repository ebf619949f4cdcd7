#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "Base/Crc32.h"
#include "Base/MD5.h"
#include "Base/SHA1.h"

namespace {
std::string Md5Hex(const std::string& text, size_t piece = 0) {
  MD5Context ctx;
  MD5_Init(&ctx);
  if (piece == 0) piece = text.size() ? text.size() : 1;
  for (size_t i = 0; i < text.size(); i += piece) MD5_Update(&ctx, text.data() + i, std::min(piece, text.size() - i));
  MD5_Final(&ctx);
  char hex[33];
  for (int i = 0; i < 16; ++i) snprintf(hex + 2 * i, 3, "%02x", ctx.digest[i]);
  return hex;
}

std::string Sha1Hex(const std::string& text, size_t piece = 0) {
  SHA1Context ctx;
  SHA1_Init(&ctx);
  if (piece == 0) piece = text.size() ? text.size() : 1;
  for (size_t i = 0; i < text.size(); i += piece) SHA1_Update(&ctx, text.data() + i, std::min(piece, text.size() - i));
  SHA1_Final(&ctx);
  char hex[41];
  for (int i = 0; i < 5; ++i) snprintf(hex + 8 * i, 9, "%08x", ctx.digest[i]);
  return hex;
}
}  // namespace

TEST(Crc32, StartsAtAllOnesWithoutFinalInversion) {
  EXPECT_EQ(Crc32_String("abc"), 0xCADBBE3Du);
  EXPECT_EQ(Crc32_String(""), 0xFFFFFFFFu);
  EXPECT_EQ(Crc32_String(nullptr), 0xFFFFFFFFu);
  EXPECT_EQ(Crc32_Buffer("123456789", 9), ~0xCBF43926u);  // the check value, not inverted
  EXPECT_EQ(Crc32_Buffer("a\0b", 3), Crc32_Buffer("a\0b", 3));
  EXPECT_NE(Crc32_Buffer("a\0b", 3), Crc32_String("a"));
  // Every length and every tail against the plain bit-by-bit definition.
  uint8_t bytes[41];
  for (size_t i = 0; i < sizeof bytes; i++) bytes[i] = static_cast<uint8_t>(i * 151 + 7);
  for (size_t length = 0; length <= sizeof bytes; length++) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < length; i++) {
      crc ^= bytes[i];
      for (int k = 0; k < 8; k++) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    EXPECT_EQ(Crc32_Buffer(bytes, length), crc) << length;
  }
}

TEST(MD5, MatchesTheReferenceVectors) {
  EXPECT_EQ(Md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(Md5Hex("a"), "0cc175b9c0f1b6a831c399e269772661");
  EXPECT_EQ(Md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(Md5Hex("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
  EXPECT_EQ(Md5Hex("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
  EXPECT_EQ(Md5Hex("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
            "d174ab98d277d9f5a5611c2c9f419d9f");
  std::string digits;
  for (int i = 0; i < 8; ++i) digits += "1234567890";
  EXPECT_EQ(Md5Hex(digits), "57edf4a22be3c955ac49da2e2107b67a");
  EXPECT_EQ(Md5Hex(digits, 7), "57edf4a22be3c955ac49da2e2107b67a");  // fed in odd pieces
}

TEST(SHA1, MatchesTheReferenceVectors) {
  EXPECT_EQ(Sha1Hex("abc"), "a9993e364706816aba3e25717850c26c9cd0d89d");
  EXPECT_EQ(Sha1Hex(""), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
  const std::string two = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";  // 56 bytes: padding spills
  EXPECT_EQ(Sha1Hex(two), "84983e441c3bd26ebaae4aa1f95129e5e54670f1");
  EXPECT_EQ(Sha1Hex(two, 5), "84983e441c3bd26ebaae4aa1f95129e5e54670f1");
  EXPECT_EQ(Sha1Hex(std::string(1000000, 'a'), 4096), "34aa973cd4c4daa4f61eeb2bdbad27316534016f");
  std::string rep;
  for (int i = 0; i < 10; ++i) rep += "0123456701234567012345670123456701234567012345670123456701234567";
  EXPECT_EQ(Sha1Hex(rep), "dea356a2cddd90c7a7ecedc5ebb563934f460452");
}
