#include "Sound/Sound_Image.h"

#include <algorithm>
#include <cstring>

#include "Sound/Sound_Output.h"

namespace {
uint32_t U32LE(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint32_t U32BE(const uint8_t* p) { return uint32_t(p[3]) | uint32_t(p[2]) << 8 | uint32_t(p[1]) << 16 | uint32_t(p[0]) << 24; }
uint16_t U16LE(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

// Writes the rebuilt image into a buffer sized for it beforehand.
class CImageWriter {
 public:
  CImageWriter(std::vector<uint8_t>& out, size_t size) : m_Out(out) { m_Out.assign(size, 0); }
  void Bytes(const void* p, size_t n) {
    std::memcpy(m_Out.data() + m_At, p, n);
    m_At += n;
  }
  void LE(uint32_t v) {
    const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    Bytes(b, 4);
  }
  void BE(uint32_t v) {
    const uint8_t b[4] = {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
    Bytes(b, 4);
  }

 private:
  std::vector<uint8_t>& m_Out;
  size_t m_At = 0;
};

// Whole frames only: the loader's converters read a frame at a time.
size_t WholeFrames(size_t bytes, size_t frame) { return frame ? bytes - bytes % frame : 0; }

// RIFF WAVE: the chunks are walked up to the first data chunk, which must come
// after a format chunk of at least its 16 bytes of fields. The rebuilt image
// holds those 16 bytes and the data that is there, without padding, as the
// loader reads them.
bool CheckWav(const uint8_t* b, size_t n, std::vector<uint8_t>& out, int& error) {
  error = SOUND_LOAD_CORRUPT;
  if (n < 12 || std::memcmp(b + 8, "WAVE", 4) != 0) return false;
  const uint8_t* fmt = nullptr;
  for (size_t at = 12; n - at >= 8;) {
    size_t size = U32LE(b + at + 4), left = n - at - 8;
    if (std::memcmp(b + at, "fmt ", 4) == 0) {
      if (size < 16 || size > left) return false;
      fmt = b + at + 8;
    } else if (std::memcmp(b + at, "data", 4) == 0) {
      if (!fmt) return false;
      size_t frame = size_t(U16LE(fmt + 2)) * ((size_t(U16LE(fmt + 14)) + 7) / 8);
      size_t data = WholeFrames(std::min(size, left), frame);
      if (data == 0) return false;
      CImageWriter w(out, 44 + data);
      w.Bytes("RIFF", 4);
      w.LE(uint32_t(36 + data));
      w.Bytes("WAVEfmt ", 8);
      w.LE(16);
      w.Bytes(fmt, 16);
      w.Bytes("data", 4);
      w.LE(uint32_t(data));
      w.Bytes(b + at + 8, data);
      error = SOUND_LOAD_OK;
      return true;
    }
    if (size > left) break;  // a chunk past the end: no data chunk follows
    at += 8 + size + (size & 1);
    if (at > n) break;
  }
  return false;
}

// Bytes of one sample of an AU encoding; 1 for those the loader refuses itself.
size_t AuSampleBytes(uint32_t encoding) {
  switch (encoding) {
    case 3: return 2;
    case 4: return 3;
    case 5: case 6: return 4;
    case 7: return 8;
    default: return 1;
  }
}

// AU: a 24-byte header, the data at its offset; a size of all ones means "to
// the end". The rebuilt image has the data right after the header.
bool CheckAu(const uint8_t* b, size_t n, std::vector<uint8_t>& out, int& error) {
  error = SOUND_LOAD_CORRUPT;
  if (n < 24) return false;
  size_t offset = U32BE(b + 4), size = U32BE(b + 8);
  if (offset < 24 || offset > n) return false;
  size_t left = n - offset;
  size = size == 0xFFFFFFFFu ? left : std::min(size, left);
  size_t data = WholeFrames(size, size_t(U32BE(b + 20)) * AuSampleBytes(U32BE(b + 12)));
  if (data == 0) return false;
  CImageWriter w(out, 24 + data);
  w.Bytes(".snd", 4);
  w.BE(24);
  w.BE(uint32_t(data));
  w.Bytes(b + 12, 12);  // encoding, rate, channels
  w.Bytes(b + offset, data);
  error = SOUND_LOAD_OK;
  return true;
}
}  // namespace

bool SoundImage_Check(const uint8_t* bytes, size_t length, std::vector<uint8_t>& out, int& error) {
  if (bytes && length >= 4 && std::memcmp(bytes, "RIFF", 4) == 0) return CheckWav(bytes, length, out, error);
  if (bytes && length >= 4 && std::memcmp(bytes, ".snd", 4) == 0) return CheckAu(bytes, length, out, error);
  error = SOUND_LOAD_UNSUPPORTED;
  return false;
}
