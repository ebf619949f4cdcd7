// JPEG files through libjpeg-turbo.
//
// The library reports errors through its error manager, which here jumps
// back to the function that started the step (never exits); those functions
// hold only plain values, so that the jump skips no destructor.
#include <cstdio>  // jpeglib.h needs FILE and size_t first

#include <jpeglib.h>

#include <csetjmp>
#include <cstring>

#include "Graphics/Graphics_ImageDecode.h"

namespace {

// A progressive file may hold any number of scans, each a pass over the whole
// picture: a small file of many empty scans would keep the decoder busy for
// minutes. Real files have a dozen or so.
constexpr int kMaxScans = 500;

struct ErrorManager {
  jpeg_error_mgr base;
  jmp_buf jump;
};

void RaiseError(j_common_ptr cinfo) { longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1); }
// Warnings (data that ends early, say) leave the rest of the picture grey:
// the picture is still shown, as other viewers show it. Nothing is printed.
void IgnoreMessage(j_common_ptr) {}

void LimitScans(j_common_ptr cinfo) {
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->input_scan_number > kMaxScans) RaiseError(cinfo);
}

// B, G, R, A from C, M, Y, K as Adobe's files store them (inverted: 255 is
// no ink), in place: each channel times K, rounded.
void CMYKToARGB(uint8_t* p, int w) {
  auto times = [](unsigned a, unsigned b) {
    unsigned t = a * b + 128;
    return uint8_t((t + (t >> 8)) >> 8);
  };
  for (int x = 0; x < w; x++, p += 4) {
    uint8_t c = p[0], m = p[1], y = p[2], k = p[3];
    p[0] = times(y, k);
    p[1] = times(m, k);
    p[2] = times(c, k);
    p[3] = 255;
  }
}

// Reads the header and starts decompressing; false on an error or a size
// past the limits.
bool Start(jpeg_decompress_struct* cinfo, ErrorManager* err, jpeg_progress_mgr* progress, const uint8_t* data,
           size_t size, int* w, int* h) {
  if (setjmp(err->jump)) return false;
  jpeg_create_decompress(cinfo);
  progress->progress_monitor = LimitScans;
  cinfo->progress = progress;
  jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
  if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) return false;
  if (!Image_SizeFits(cinfo->image_width, cinfo->image_height)) return false;
  // CMYK and YCCK come out as CMYK (turned to RGB above); the rest as B, G, R, A.
  bool ink = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
  cinfo->out_color_space = ink ? JCS_CMYK : JCS_EXT_BGRA;
  jpeg_start_decompress(cinfo);
  if (cinfo->output_width != cinfo->image_width || cinfo->output_height != cinfo->image_height ||
      cinfo->output_components != 4)
    return false;
  *w = int(cinfo->output_width);
  *h = int(cinfo->output_height);
  return true;
}

bool ReadRows(jpeg_decompress_struct* cinfo, ErrorManager* err, uint32_t* pixels, int w) {
  if (setjmp(err->jump)) return false;
  bool ink = cinfo->out_color_space == JCS_CMYK;
  while (cinfo->output_scanline < cinfo->output_height) {
    auto* row = reinterpret_cast<uint8_t*>(pixels + size_t(cinfo->output_scanline) * size_t(w));
    JSAMPROW rows[1] = {row};
    if (jpeg_read_scanlines(cinfo, rows, 1) != 1) return false;
    if (ink) CMYKToARGB(row, w);
  }
  jpeg_finish_decompress(cinfo);
  return true;
}

}  // namespace

bool Image_DecodeJPEG(const uint8_t* data, size_t size, CBitmap32& out) {
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  std::memset(&cinfo, 0, sizeof cinfo);
  cinfo.err = jpeg_std_error(&err.base);
  err.base.error_exit = RaiseError;
  err.base.output_message = IgnoreMessage;
  jpeg_progress_mgr progress;
  int w = 0, h = 0;
  bool ok = Start(&cinfo, &err, &progress, data, size, &w, &h);
  if (ok) {
    out = CBitmap32(w, h);
    ok = ReadRows(&cinfo, &err, out.pixels.data(), w);
  }
  jpeg_destroy_decompress(&cinfo);
  if (!ok) out = CBitmap32();
  return ok;
}
