// Decoding image files held in memory (GR_Image_Decode, as sprite_add and
// the package builder do): a 1024 x 1024 picture as PNG, JPEG (quality 90,
// colour halved both ways) and 24-bit BMP, and an animated GIF of 8 frames
// of 512 x 512, each drawing a band over the last. Times are per file.
#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

#include "Graphics/Graphics_Image.h"

namespace {

// A picture with detail everywhere, so that it does not compress to nothing.
std::vector<uint32_t> Picture(int w, int h) {
  std::vector<uint32_t> pixels(size_t(w) * size_t(h));
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++) pixels[size_t(y) * size_t(w) + size_t(x)] = 0xFF000000u | (uint32_t(x * y) & 0xFFFFFFu);
  return pixels;
}

std::vector<uint8_t> EncodeJPEG(const std::vector<uint32_t>& argb, int w, int h) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &buffer, &size);
  c.image_width = JDIMENSION(w);
  c.image_height = JDIMENSION(h);
  c.input_components = 4;
  c.in_color_space = JCS_EXT_BGRX;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 90, TRUE);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = (JSAMPROW)(argb.data() + size_t(c.next_scanline) * size_t(w));
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  std::vector<uint8_t> out(buffer, buffer + size);
  jpeg_destroy_compress(&c);
  free(buffer);
  return out;
}

int WriteToVector(GifFileType* gif, const GifByteType* bytes, int length) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  out->insert(out->end(), bytes, bytes + length);
  return length;
}

// Frames of 256 colours; each frame but the first draws a band of rows.
std::vector<uint8_t> EncodeGIF(int w, int h, int frames) {
  std::vector<uint8_t> out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, WriteToVector, &error);
  GifColorType colours[256];
  for (int i = 0; i < 256; i++) colours[i] = {GifByteType(i), GifByteType(255 - i), GifByteType(i * 7)};
  ColorMapObject* map = GifMakeMapObject(256, colours);
  EGifSetGifVersion(gif, true);
  EGifPutScreenDesc(gif, w, h, 8, 0, map);
  std::vector<GifPixelType> row(static_cast<size_t>(w));
  for (int f = 0; f < frames; f++) {
    int top = f == 0 ? 0 : (f * h / frames), height = f == 0 ? h : h / frames;
    EGifPutImageDesc(gif, 0, top, w, height, false, nullptr);
    for (int y = 0; y < height; y++) {
      for (int x = 0; x < w; x++) row[size_t(x)] = GifPixelType((x * (top + y) + f) & 255);
      EGifPutLine(gif, row.data(), w);
    }
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return out;
}

void Decode(benchmark::State& state, const std::vector<uint8_t>& file) {
  if (file.empty()) {
    state.SkipWithError("the file could not be made");
    return;
  }
  for (auto _ : state) {
    std::vector<CBitmap32> frames;
    if (!GR_Image_Decode(file.data(), file.size(), frames)) state.SkipWithError("not decoded");
    benchmark::DoNotOptimize(frames.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}

void DecodePNG(benchmark::State& state) {
  static const std::vector<uint8_t> file = GR_Image_EncodePNG(Picture(1024, 1024).data(), 1024, 1024);
  Decode(state, file);
}
BENCHMARK(DecodePNG)->Unit(benchmark::kMillisecond);

void DecodeJPEG(benchmark::State& state) {
  static const std::vector<uint8_t> file = EncodeJPEG(Picture(1024, 1024), 1024, 1024);
  Decode(state, file);
}
BENCHMARK(DecodeJPEG)->Unit(benchmark::kMillisecond);

void DecodeBMP(benchmark::State& state) {
  static const std::vector<uint8_t> file = GR_Image_SaveBMP(Picture(1024, 1024).data(), 1024, 1024);
  Decode(state, file);
}
BENCHMARK(DecodeBMP)->Unit(benchmark::kMillisecond);

void DecodeGIF(benchmark::State& state) {
  static const std::vector<uint8_t> file = EncodeGIF(512, 512, 8);
  Decode(state, file);
}
BENCHMARK(DecodeGIF)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
