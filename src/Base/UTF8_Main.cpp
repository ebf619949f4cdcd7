#include "Base/UTF8_Main.h"

#include <cstdint>
#include <cstring>
#if defined(__x86_64__)
#include <immintrin.h>
#endif

uint16_t UTF8_GetChar(const char*& p) {
  const auto* s = reinterpret_cast<const unsigned char*>(p);
  unsigned b0 = s[0];
  if (b0 < 0x80) {
    if (b0 != 0) ++p;  // never step over the terminator
    return static_cast<uint16_t>(b0);
  }
  if ((b0 & 0x20) == 0) {
    unsigned code = (b0 & 0x1F) << 6;
    if (s[1] == 0) {
      p += 1;
      return static_cast<uint16_t>(code);
    }
    p += 2;
    return static_cast<uint16_t>(code + (s[1] & 0x3F));
  }
  unsigned code = (b0 & 0x0F) << 12;
  if (s[1] == 0) {
    p += 1;
    return static_cast<uint16_t>(code);
  }
  code += (s[1] & 0x3F) << 6;
  if (s[2] == 0) {
    p += 2;
    return static_cast<uint16_t>(code);
  }
  p += 3;
  return static_cast<uint16_t>(code + (s[2] & 0x3F));
}

int UTF8_CharSize(uint16_t c) { return c < 0x80 ? 1 : c < 0x800 ? 2 : 3; }

void UTF8_AddChar(char*& p, uint16_t c) {
  auto* s = reinterpret_cast<unsigned char*>(p);
  if (c < 0x80) {
    s[0] = static_cast<unsigned char>(c);
  } else if (c < 0x800) {
    s[0] = static_cast<unsigned char>(0xC0 + (c >> 6));
    s[1] = static_cast<unsigned char>(0x80 + (c & 0x3F));
  } else {
    s[0] = static_cast<unsigned char>(0xE0 + (c >> 12));
    s[1] = static_cast<unsigned char>(0x80 + ((c >> 6) & 0x3F));
    s[2] = static_cast<unsigned char>(0x80 + (c & 0x3F));
  }
  p += UTF8_CharSize(c);
}

int64_t UTF8_Length(const char* text) {
  if (!text) return 0;
  int64_t count = 0;
  while (*text) {
    UTF8_GetChar(text);
    ++count;
  }
  return count;
}

namespace {
// How many of the first n bytes come before the terminator or the first byte
// of 128 or more; looked at 32 bytes at a time as four 64-bit words whose
// high bits are tested together.
size_t AsciiPrefixWords(const char* text, size_t n) {
  n = strnlen(text, n);
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  constexpr size_t BLOCK = 32;
  constexpr uint64_t HIGH = 0x8080808080808080ull;
  size_t done = 0;
  for (; done + BLOCK <= n; done += BLOCK) {
    uint64_t w[4];
    std::memcpy(w, s + done, sizeof w);
    if ((w[0] | w[1] | w[2] | w[3]) & HIGH) break;
  }
  while (done < n && s[done] < 0x80) done++;
  return done;
}

#if defined(__x86_64__)
// The same with AVX2, in aligned blocks of 32 bytes: an aligned load never
// crosses into another page, so reading past the terminator is harmless,
// though the sanitizer would flag the bytes behind the text's block.

// A set bit for every byte of the block at `at` that ends an ASCII run: a
// zero or a byte of 128 or more, both at most 0 as signed bytes.
__attribute__((target("avx2"), no_sanitize("address"))) inline unsigned AsciiStops(const __m256i* at) {
  return static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpgt_epi8(_mm256_set1_epi8(1), _mm256_load_si256(at))));
}

// True when none of the four blocks from `at` (aligned on 128, so on the
// page of the first) holds a stop: the high bits are or-ed together, a zero
// survives the unsigned minimum.
__attribute__((target("avx2"), no_sanitize("address"))) inline bool NoStopIn128(const __m256i* at) {
  __m256i a = _mm256_load_si256(at), b = _mm256_load_si256(at + 1);
  __m256i c = _mm256_load_si256(at + 2), d = _mm256_load_si256(at + 3);
  __m256i high = _mm256_or_si256(_mm256_or_si256(a, b), _mm256_or_si256(c, d));
  __m256i low = _mm256_min_epu8(_mm256_min_epu8(a, b), _mm256_min_epu8(c, d));
  return _mm256_movemask_epi8(_mm256_or_si256(high, _mm256_cmpeq_epi8(low, _mm256_setzero_si256()))) == 0;
}

__attribute__((target("avx2"))) size_t AsciiPrefixWide(const char* text, size_t n) {
  const uintptr_t misalign = reinterpret_cast<uintptr_t>(text) & 31;
  const auto* block = reinterpret_cast<const __m256i*>(text - misalign);
  unsigned stop = AsciiStops(block) >> misalign;
  size_t done = stop ? 0 : 32 - misalign;
  while (!stop && done < n) {
    ++block;
    if ((reinterpret_cast<uintptr_t>(block) & 127) == 0) {
      while (done < n && NoStopIn128(block)) {
        done += 128;
        block += 4;
      }
      if (done >= n) break;
    }
    stop = AsciiStops(block);
    if (!stop) done += 32;
  }
  if (stop) done += static_cast<size_t>(__builtin_ctz(stop));
  return done < n ? done : n;
}
#endif

size_t AsciiPrefix(const char* text, size_t n) {
#if defined(__x86_64__)
  // Initialised first, so that a text looked at by a constructor of a global
  // before the runtime's own set-up still finds the processor's features.
  static const bool wide = (__builtin_cpu_init(), __builtin_cpu_supports("avx2"));
  if (wide) return AsciiPrefixWide(text, n);
#endif
  return AsciiPrefixWords(text, n);
}
}  // namespace

int64_t UTF8_Offset(const char* text, int64_t index) {
  if (!text || index <= 0) return 0;
  // Plain ASCII is one byte a character.
  size_t ascii = AsciiPrefix(text, static_cast<size_t>(index));
  const char* p = text + ascii;
  for (int64_t i = static_cast<int64_t>(ascii); i < index && *p; ++i) UTF8_GetChar(p);
  return p - text;
}

namespace {
// The length of the well-formed character at s (1 to 4), or 0.
size_t WellFormedLength(const unsigned char* s) {
  unsigned b0 = s[0];
  if (b0 < 0x80) return 1;
  size_t n;
  unsigned lo = 0x80, hi = 0xBF;  // the allowed range of the second byte
  if (b0 >= 0xC2 && b0 <= 0xDF) n = 2;
  else if (b0 >= 0xE0 && b0 <= 0xEF) n = 3, lo = b0 == 0xE0 ? 0xA0 : 0x80, hi = b0 == 0xED ? 0x9F : 0xBF;
  else if (b0 >= 0xF0 && b0 <= 0xF4) n = 4, lo = b0 == 0xF0 ? 0x90 : 0x80, hi = b0 == 0xF4 ? 0x8F : 0xBF;
  else return 0;
  if (s[1] < lo || s[1] > hi) return 0;
  for (size_t i = 2; i < n; i++)
    if ((s[i] & 0xC0) != 0x80) return 0;
  return n;
}
}  // namespace

std::string UTF8_MakeValid(const char* text) {
  std::string out;
  if (!text) return out;
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  while (*s) {
    size_t n = WellFormedLength(s);
    if (n == 0) {
      out += "\xEF\xBF\xBD";
      s++;
    } else {
      out.append(reinterpret_cast<const char*>(s), n);
      s += n;
    }
  }
  return out;
}

size_t UTF8_CutLength(const char* text, size_t max) {
  if (!text) return 0;
  size_t len = 0;
  while (len < max && text[len]) len++;
  if (text[len] == 0) return len;
  // Step back over continuation bytes to the lead byte the limit splits.
  size_t cut = len;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) cut--;
  return cut;
}
