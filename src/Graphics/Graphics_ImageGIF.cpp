// GIF files through giflib's record reader, with the frames put together
// here: each frame is drawn over what the one before left, after that one's
// disposal.
//
// The rules, kept as the runner has always drawn animated GIFs:
// - the picture starts transparent; pixels the first frame leaves undrawn take
//   the global palette's background colour when its index is above 0;
// - a pixel of the transparent index is not drawn, but counts as drawn by the
//   frame (for the disposal after it);
// - disposal 2 puts back, where the frame drew, what was there before it;
//   disposal 3 puts back the frame two before (2 when there is none yet);
// - a graphic control block holds until the next one: its transparent index
//   and its disposal apply to every frame after it;
// - a frame whose pixels end early (an end code) keeps the rows it holds
//   whole; a damaged frame, or one the file cuts off, ends the frames.
#include <gif_lib.h>

#include <algorithm>
#include <cstring>

#include "Graphics/Graphics_ImageDecode.h"

namespace {

int ReadFromMemory(GifFileType* gif, GifByteType* out, int length) {
  return int(static_cast<ImageReader*>(gif->UserData)->Read(out, size_t(std::max(length, 0))));
}

// An ARGB palette of 256 entries; entries past the file's table are
// transparent black.
struct Palette {
  uint32_t colour[256] = {};

  void Load(const ColorMapObject* map) {
    int count = map ? std::min(map->ColorCount, 256) : 0;
    for (int i = 0; i < count; i++) {
      const GifColorType& c = map->Colors[i];
      colour[i] = 0xFF000000u | uint32_t(c.Red) << 16 | uint32_t(c.Green) << 8 | c.Blue;
    }
  }
  void SetOpaque(int i, bool opaque) {
    if (i < 0) return;
    colour[i] = opaque ? colour[i] | 0xFF000000u : colour[i] & 0xFFFFFFu;
  }
};

// The picture as the frames so far left it.
struct Canvas {
  int w = 0, h = 0;
  std::vector<uint32_t> pixels;
  std::vector<uint32_t> before;  // before the last frame, when its disposal puts that back
  std::vector<uint8_t> drawn;            // the pixels the last frame drew
  Palette global;
  bool hasGlobal = false;
  int background = 0;
  int transparent = -1;  // of the last graphic control block, or -1
  int flags = 0;         // of the last graphic control block
  int lastFlags = 0;     // of the one that held when the last frame was drawn

  void ReadControl(const GifByteType* block) {
    if (block[0] != 4) return;
    flags = block[1];
    global.SetOpaque(transparent, true);
    transparent = (flags & 1) ? block[4] : -1;
    global.SetOpaque(transparent, false);
  }

  // Sized at the first frame: a file of a few bytes may name a large picture.
  void Start() {
    size_t count = size_t(w) * size_t(h);
    pixels.assign(count, 0);
    drawn.assign(count, 0);
  }

  // Undoes the last frame as its disposal says, before the next is drawn.
  void Dispose(const std::vector<CBitmap32>& frames) {
    int method = (lastFlags >> 2) & 7;
    if (method == 3 && frames.size() < 2) method = 2;
    const uint32_t* back = method == 3 ? frames[frames.size() - 2].pixels.data() : before.data();
    if (method == 2 || method == 3)
      for (size_t i = 0; i < pixels.size(); i++)
        if (drawn[i]) pixels[i] = back[i];
  }
};

// The row of the picture that the n-th row of a frame's data fills.
int RowOf(int n, int height, bool interlaced) {
  if (!interlaced) return n;
  static const int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; pass++) {
    int rows = (height - kStart[pass] + kStep[pass] - 1) / kStep[pass];
    if (rows < 0) rows = 0;
    if (n < rows) return kStart[pass] + n * kStep[pass];
    n -= rows;
  }
  return -1;
}

// Passes over what is left of a frame's data; false when the file ends.
bool SkipData(GifFileType* gif) {
  GifByteType* block = nullptr;
  do
    if (DGifGetCodeNext(gif, &block) == GIF_ERROR) return false;
  while (block);
  return true;
}

// Reads the frame whose descriptor giflib has just read and draws it; false
// when it does not fit the picture, has no palette, its data is damaged or
// the file ends inside it. A frame whose pixels end early (an end code)
// keeps the rows it holds whole.
bool DrawFrame(GifFileType* gif, Canvas& c, bool first, std::vector<GifPixelType>& line) {
  const GifImageDesc& d = gif->Image;
  if (d.Left < 0 || d.Top < 0 || d.Width < 0 || d.Height < 0 || d.Left + d.Width > c.w || d.Top + d.Height > c.h)
    return false;
  Palette local;
  const Palette* palette = &c.global;
  if (d.ColorMap) {
    local.Load(d.ColorMap);
    local.SetOpaque(c.flags & 1 ? c.transparent : -1, false);
    palette = &local;
  } else if (!c.hasGlobal) {
    return false;
  }
  std::fill(c.drawn.begin(), c.drawn.end(), 0);
  if (d.Width == 0 || d.Height == 0) {
    // No pixels: the data is still there to be passed over.
    int codeSize;
    GifByteType* block;
    if (DGifGetCode(gif, &codeSize, &block) == GIF_ERROR || (block && !SkipData(gif))) return false;
  }
  line.resize(size_t(d.Width));
  for (int n = 0; n < d.Height && d.Width > 0; n++) {
    if (DGifGetLine(gif, line.data(), d.Width) == GIF_ERROR) {
      if (gif->Error != D_GIF_ERR_EOF_TOO_SOON || !SkipData(gif)) return false;
      break;
    }
    size_t at = size_t(d.Top + RowOf(n, d.Height, d.Interlace)) * size_t(c.w) + size_t(d.Left);
    for (int x = 0; x < d.Width; x++, at++) {
      c.drawn[at] = 1;
      uint32_t colour = palette->colour[line[size_t(x)]];
      if (colour >> 24) c.pixels[at] = colour;
    }
  }
  if (first && c.background > 0) {
    c.global.SetOpaque(c.background, true);
    for (size_t i = 0; i < c.pixels.size(); i++)
      if (!c.drawn[i]) c.pixels[i] = c.global.colour[c.background];
  }
  c.lastFlags = c.flags;
  return true;
}

// Skips an extension, reading the graphic control block it may be.
bool ReadExtension(GifFileType* gif, Canvas& c) {
  int code;
  GifByteType* block;
  if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
  if (code == GRAPHICS_EXT_FUNC_CODE && block) c.ReadControl(block);
  while (block)
    if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
  return true;
}

void ReadFrames(GifFileType* gif, Canvas& c, std::vector<CBitmap32>& frames, int64_t max_pixels) {
  std::vector<GifPixelType> line;
  for (;;) {
    GifRecordType type;
    if (DGifGetRecordType(gif, &type) == GIF_ERROR) return;
    if (type == EXTENSION_RECORD_TYPE) {
      if (!ReadExtension(gif, c)) return;
    } else if (type == IMAGE_DESC_RECORD_TYPE) {
      if (int64_t(c.w) * c.h * int64_t(frames.size() + 1) > max_pixels) {
        frames.clear();
        return;
      }
      if (DGifGetImageDesc(gif) == GIF_ERROR) return;
      if (frames.empty()) c.Start();
      else c.Dispose(frames);
      // What this frame's own disposal may put back.
      int disposal = (c.flags >> 2) & 7;
      if (disposal == 2 || disposal == 3) c.before = c.pixels;
      if (!DrawFrame(gif, c, frames.empty(), line)) return;
      CBitmap32& frame = frames.emplace_back();
      frame.width = c.w;
      frame.height = c.h;
      frame.pixels = c.pixels;
    } else {
      return;  // the trailer, or a record giflib does not know
    }
  }
}

}  // namespace

bool Image_DecodeGIF(const uint8_t* data, size_t size, std::vector<CBitmap32>& frames, int64_t max_pixels) {
  frames.clear();
  if (size < 6 || (std::memcmp(data, "GIF87a", 6) != 0 && std::memcmp(data, "GIF89a", 6) != 0)) return false;
  ImageReader reader{data, size, 0};
  int error = 0;
  GifFileType* gif = DGifOpen(&reader, ReadFromMemory, &error);
  if (!gif) return false;
  if (Image_SizeFits(gif->SWidth, gif->SHeight)) {
    Canvas c;
    c.w = gif->SWidth;
    c.h = gif->SHeight;
    c.hasGlobal = gif->SColorMap != nullptr;
    c.global.Load(gif->SColorMap);
    c.background = gif->SBackGroundColor;
    ReadFrames(gif, c, frames, max_pixels);
  }
  DGifCloseFile(gif, &error);
  return !frames.empty();
}
