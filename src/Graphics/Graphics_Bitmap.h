// A 32-bit bitmap in memory: rows top to bottom, each pixel an ARGB word.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

class CBitmap32 {
 public:
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;

  CBitmap32() = default;
  CBitmap32(int w, int h) : width(w), height(h), pixels(size_t(w) * size_t(h), 0) {}
  uint32_t* Row(int y) { return pixels.data() + size_t(y) * size_t(width); }
  const uint32_t* Row(int y) const { return pixels.data() + size_t(y) * size_t(width); }
  bool SavePNG(const char* path) const;
};
