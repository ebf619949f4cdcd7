// A growable memory stream: little-endian integer, double, string and boolean
// fields, a hexadecimal text form and zlib compression of the whole contents.
#pragma once
#include <cstdint>

struct z_stream_s;

class CStream {
 public:
  // A stream holding initialSize zero bytes (0 holds no buffer), position 0.
  explicit CStream(int64_t initialSize = 0);
  ~CStream();
  CStream(const CStream&) = delete;
  CStream& operator=(const CStream&) = delete;

  // Writes at the position and advances it; the stream grows as needed.
  void WriteInteger(int32_t value);
  void WriteReal(double value);
  void WriteBoolean(bool value);  // an int32 holding 0 or 1
  // The byte length (int32) then the bytes; none is length 0.
  void WriteString(const char* text);

  // Reads at the position and advances it. A read that would pass the end
  // gives 0 (no text for a string), leaves the position at the end and
  // touches nothing outside the stream; so does a negative string length.
  int32_t ReadInteger();
  double ReadReal();
  bool ReadBoolean();
  // A new memory-manager text, or none for length 0 or a failed read.
  char* ReadString();

  // The file's bytes from offset on become the contents (position 0); false
  // when the file cannot be read or the offset lies beyond its end.
  bool LoadFromFile(const char* file, int64_t offset);

  uint8_t* GetMemory() const { return m_Data; }
  int64_t GetSize() const { return m_Size; }
  int64_t GetPosition() const { return m_Position; }
  // Clamped to 0..size.
  void SetPosition(int64_t position);

  // A new memory-manager text with bytes 0..position-1 as upper-case hex
  // digit pairs; none when the position is 0.
  char* ConvertToString() const;
  // Decodes the leading whole pairs of hex digits (either case) into the
  // contents, position 0; an empty text leaves the stream as it was.
  void ConvertFromString(const char* text);

  // Deflate or inflate the whole contents in place (position 0); false, with
  // the stream unchanged, when zlib fails or the data is not a zlib block.
  bool Compress();
  bool Decompress();

 private:
  void Reserve(int64_t needed);
  void WriteBytes(const void* bytes, int64_t count);
  bool ReadBytes(void* out, int64_t count);
  void Adopt(uint8_t* data, int64_t size, int64_t capacity);
  bool ZlibPass(z_stream_s& z, bool deflating);

  uint8_t* m_Data = nullptr;  // memory-manager block of m_Capacity bytes
  int64_t m_Capacity = 0;
  int64_t m_Size = 0;  // bytes held
  int64_t m_Position = 0;
};
