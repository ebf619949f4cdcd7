#include "Support/Support_Stream.h"

#include <zlib.h>

#include <cstdio>
#include <cstring>

#include "Platform/MemoryManager.h"
#include "Support/Support_File.h"

namespace {
constexpr int64_t kChunk = 16384;
// An inflated stream larger than this is refused (a hostile block could
// otherwise expand without limit).
constexpr int64_t kMaxInflated = int64_t(1) << 31;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}
}  // namespace

CStream::CStream(int64_t initialSize) {
  if (initialSize > 0) {
    m_Data = static_cast<uint8_t*>(MEM_ALLOC_CLEAR(static_cast<size_t>(initialSize)));
    if (m_Data) m_Capacity = m_Size = initialSize;
  }
}

CStream::~CStream() { MEM_FREE(m_Data); }

void CStream::Adopt(uint8_t* data, int64_t size, int64_t capacity) {
  MEM_FREE(m_Data);
  m_Data = data;
  m_Size = size;
  m_Capacity = capacity;
  m_Position = 0;
}

void CStream::Reserve(int64_t needed) {
  if (needed <= m_Capacity) return;
  int64_t grown = m_Capacity * 2;
  if (grown < needed) grown = needed;
  auto* fresh = static_cast<uint8_t*>(MEM_REALLOC(m_Data, static_cast<size_t>(grown)));
  if (!fresh) return;  // the memory manager logged it; the write is dropped
  m_Data = fresh;
  m_Capacity = grown;
}

void CStream::WriteBytes(const void* bytes, int64_t count) {
  if (count <= 0) return;
  Reserve(m_Position + count);
  if (m_Position + count > m_Capacity) return;
  std::memcpy(m_Data + m_Position, bytes, static_cast<size_t>(count));
  m_Position += count;
  if (m_Position > m_Size) m_Size = m_Position;
}

bool CStream::ReadBytes(void* out, int64_t count) {
  if (count < 0 || count > m_Size - m_Position) {
    m_Position = m_Size;
    return false;
  }
  if (count > 0) std::memcpy(out, m_Data + m_Position, static_cast<size_t>(count));
  m_Position += count;
  return true;
}

void CStream::WriteInteger(int32_t value) {
  uint32_t u = static_cast<uint32_t>(value);
  uint8_t b[4] = {uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16), uint8_t(u >> 24)};
  WriteBytes(b, 4);
}

void CStream::WriteReal(double value) {
  uint64_t u;
  std::memcpy(&u, &value, 8);
  uint8_t b[8];
  for (int i = 0; i < 8; ++i) b[i] = uint8_t(u >> (8 * i));
  WriteBytes(b, 8);
}

void CStream::WriteBoolean(bool value) { WriteInteger(value ? 1 : 0); }

void CStream::WriteString(const char* text) {
  size_t length = text ? std::strlen(text) : 0;
  if (length > INT32_MAX) length = INT32_MAX;  // the length field is 32 bits
  WriteInteger(static_cast<int32_t>(length));
  WriteBytes(text, static_cast<int64_t>(length));
}

int32_t CStream::ReadInteger() {
  uint8_t b[4];
  if (!ReadBytes(b, 4)) return 0;
  return static_cast<int32_t>(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
}

double CStream::ReadReal() {
  uint8_t b[8];
  if (!ReadBytes(b, 8)) return 0.0;
  uint64_t u = 0;
  for (int i = 0; i < 8; ++i) u |= uint64_t(b[i]) << (8 * i);
  double value;
  std::memcpy(&value, &u, 8);
  return value;
}

bool CStream::ReadBoolean() { return ReadInteger() != 0; }

char* CStream::ReadString() {
  int32_t length = ReadInteger();
  if (length < 0 || length > m_Size - m_Position) {
    m_Position = m_Size;
    return nullptr;
  }
  if (length == 0) return nullptr;
  auto* text = static_cast<char*>(MEM_ALLOC(static_cast<size_t>(length) + 1));
  if (!text) {
    m_Position = m_Size;
    return nullptr;
  }
  ReadBytes(text, length);
  text[length] = '\0';
  return text;
}

bool CStream::LoadFromFile(const char* file, int64_t offset) {
  if (!file || offset < 0) return false;
  FILE* f = std::fopen(File_NativePath(file).c_str(), "rb");
  if (!f) return false;
  bool ok = std::fseek(f, 0, SEEK_END) == 0;
  long end = ok ? std::ftell(f) : -1;
  ok = end >= 0 && offset <= end && std::fseek(f, static_cast<long>(offset), SEEK_SET) == 0;
  int64_t size = ok ? end - offset : 0;
  uint8_t* data = nullptr;
  if (ok && size > 0) {
    data = static_cast<uint8_t*>(MEM_ALLOC(static_cast<size_t>(size)));
    ok = data && std::fread(data, 1, static_cast<size_t>(size), f) == static_cast<size_t>(size);
  }
  std::fclose(f);
  if (!ok) {
    MEM_FREE(data);
    return false;
  }
  Adopt(data, size, size);
  return true;
}

void CStream::SetPosition(int64_t position) {
  if (position < 0) position = 0;
  if (position > m_Size) position = m_Size;
  m_Position = position;
}

char* CStream::ConvertToString() const {
  if (m_Position <= 0) return nullptr;
  static const char kDigits[] = "0123456789ABCDEF";
  auto* text = static_cast<char*>(MEM_ALLOC(static_cast<size_t>(m_Position) * 2 + 1));
  if (!text) return nullptr;
  for (int64_t i = 0; i < m_Position; ++i) {
    text[2 * i] = kDigits[m_Data[i] >> 4];
    text[2 * i + 1] = kDigits[m_Data[i] & 15];
  }
  text[2 * m_Position] = '\0';
  return text;
}

void CStream::ConvertFromString(const char* text) {
  if (!text || !*text) return;
  int64_t count = 0;
  while (HexValue(text[2 * count]) >= 0 && HexValue(text[2 * count + 1]) >= 0) ++count;
  uint8_t* data = nullptr;
  if (count > 0) {
    data = static_cast<uint8_t*>(MEM_ALLOC(static_cast<size_t>(count)));
    if (!data) return;
    for (int64_t i = 0; i < count; ++i)
      data[i] = uint8_t(HexValue(text[2 * i]) << 4 | HexValue(text[2 * i + 1]));
  }
  Adopt(data, count, count);
}

bool CStream::Compress() {
  z_stream z{};
  if (deflateInit(&z, Z_DEFAULT_COMPRESSION) != Z_OK) return false;
  return ZlibPass(z, true);
}

bool CStream::Decompress() {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return false;
  return ZlibPass(z, false);
}

bool CStream::ZlibPass(z_stream& z, bool deflating) {
  uint8_t* out = nullptr;
  int64_t outSize = 0, outCapacity = 0, consumed = 0;
  int status = Z_OK;
  // Feed and drain 16 KiB at a time, growing the output as it fills.
  for (;;) {
    if (z.avail_in == 0 && consumed < m_Size) {
      int64_t piece = m_Size - consumed < kChunk ? m_Size - consumed : kChunk;
      z.next_in = m_Data + consumed;
      z.avail_in = static_cast<uInt>(piece);
      consumed += piece;
    }
    if (outCapacity - outSize < kChunk) {
      if (outCapacity > kMaxInflated) break;
      int64_t grown = outCapacity * 2 + kChunk;
      auto* fresh = static_cast<uint8_t*>(MEM_REALLOC(out, static_cast<size_t>(grown)));
      if (!fresh) break;
      out = fresh;
      outCapacity = grown;
    }
    z.next_out = out + outSize;
    z.avail_out = static_cast<uInt>(kChunk);
    bool lastInput = consumed == m_Size && z.avail_in == 0;
    status = deflating ? deflate(&z, consumed == m_Size ? Z_FINISH : Z_NO_FLUSH) : inflate(&z, Z_NO_FLUSH);
    outSize += kChunk - z.avail_out;
    if (status == Z_STREAM_END) break;
    if (status != Z_OK && status != Z_BUF_ERROR) break;
    // No progress with every byte fed: a block that ends too early.
    if (status == Z_BUF_ERROR && lastInput) break;
  }
  if (deflating) deflateEnd(&z);
  else inflateEnd(&z);
  if (status != Z_STREAM_END) {
    MEM_FREE(out);
    return false;
  }
  Adopt(out, outSize, outCapacity);
  return true;
}
