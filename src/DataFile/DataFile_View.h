// Bounds-checked reads of little-endian fields from a package image. Offsets
// are file offsets (from the start of the package); every read says whether
// the field lay wholly inside the image.
#pragma once
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

class CPackageView {
 public:
  CPackageView() = default;
  explicit CPackageView(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

  uint32_t Size() const { return (uint32_t)m_bytes.size(); }

  // True when [offset, offset + length) lies inside the image.
  bool Contains(uint64_t offset, uint64_t length) const {
    return offset <= m_bytes.size() && length <= m_bytes.size() - offset;
  }

  bool U8(uint32_t offset, uint8_t& out) const { return Raw(offset, &out, 1); }
  bool U32(uint32_t offset, uint32_t& out) const { return Raw(offset, &out, 4); }
  bool I32(uint32_t offset, int32_t& out) const { return Raw(offset, &out, 4); }
  bool I16(uint32_t offset, int16_t& out) const { return Raw(offset, &out, 2); }
  bool F32(uint32_t offset, float& out) const { return Raw(offset, &out, 4); }

  // The zero-terminated text at offset; false when no terminator follows it
  // inside the image.
  bool Text(uint32_t offset, std::string& out) const {
    if (offset >= m_bytes.size()) return false;
    const void* end = std::memchr(m_bytes.data() + offset, 0, m_bytes.size() - offset);
    if (!end) return false;
    out.assign((const char*)m_bytes.data() + offset, (const char*)end);
    return true;
  }

  // length bytes at offset, as a span into the image.
  bool Bytes(uint32_t offset, uint32_t length, std::span<const uint8_t>& out) const {
    if (!Contains(offset, length)) return false;
    out = m_bytes.subspan(offset, length);
    return true;
  }

 private:
  // The image is little-endian, as is every machine this runs on.
  bool Raw(uint32_t offset, void* out, uint32_t length) const {
    if (!Contains(offset, length)) return false;
    std::memcpy(out, m_bytes.data() + offset, length);
    return true;
  }

  std::span<const uint8_t> m_bytes;
};
