#include "Base/UTF8_Main.h"

#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
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
#if defined(__SSE2__)
// How many of the first n bytes come before the terminator or the first byte
// of 128 or more. Looks at aligned blocks of 16 bytes: an aligned load never
// crosses into another page, so reading past the terminator is harmless,
// though the sanitizer would flag the bytes behind the text's block.

// A set bit for every byte of the block at `at` that ends an ASCII run: a
// zero or a byte of 128 or more, both at most 0 as signed bytes.
__attribute__((no_sanitize("address"))) inline unsigned AsciiStops(const __m128i* at) {
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpgt_epi8(_mm_set1_epi8(1), _mm_load_si128(at))));
}

// True when none of the eight blocks from `at` (aligned on 128, so on the
// page of the first) holds a stop: the high bits are or-ed together, a zero
// survives the unsigned minimum.
__attribute__((no_sanitize("address"))) inline bool NoStopIn128(const __m128i* at) {
  __m128i x[8];
  for (int i = 0; i < 8; ++i) x[i] = _mm_load_si128(at + i);
  __m128i high = x[0], low = x[0];
  for (int i = 1; i < 8; ++i) {
    high = _mm_or_si128(high, x[i]);
    low = _mm_min_epu8(low, x[i]);
  }
  return _mm_movemask_epi8(_mm_or_si128(high, _mm_cmpeq_epi8(low, _mm_setzero_si128()))) == 0;
}

size_t AsciiPrefix(const char* text, size_t n) {
  const uintptr_t misalign = reinterpret_cast<uintptr_t>(text) & 15;
  const auto* block = reinterpret_cast<const __m128i*>(text - misalign);
  unsigned stop = AsciiStops(block) >> misalign;
  size_t done = stop ? 0 : 16 - misalign;
  while (!stop && done < n) {
    ++block;
    if ((reinterpret_cast<uintptr_t>(block) & 127) == 0) {
      while (done < n && NoStopIn128(block)) {
        done += 128;
        block += 8;
      }
      if (done >= n) break;
    }
    stop = AsciiStops(block);
    if (!stop) done += 16;
  }
  if (stop) done += static_cast<size_t>(__builtin_ctz(stop));
  return done < n ? done : n;
}
#else
// How many of the first n bytes come before the terminator or the first byte
// of 128 or more; looked at 32 bytes at a time as four 64-bit words whose
// high bits are tested together.
size_t AsciiPrefix(const char* text, size_t n) {
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
#endif
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
