// Image files as they arrive from files or from an address (sprite_add,
// background_add): decoding every frame, then the transparency rule and the
// alpha-from-intensity step the loaders apply to the result.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Graphics/Graphics_Image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<CBitmap32> frames;
  if (!GR_Image_Decode(data, size, frames)) return 0;
  // The pixel steps are plain loops: run them on images of up to a million
  // pixels, so that a tiny file naming a huge image does not stall the run.
  int64_t pixels = 0;
  for (const CBitmap32& frame : frames) pixels += int64_t(frame.width) * frame.height;
  if (pixels > (int64_t(1) << 20)) return 0;
  for (CBitmap32& frame : frames) {
    if (frame.width < 1 || frame.height < 1) continue;
    GR_Image_MakeTransparent(frame);
    GR_Image_AlphaFromIntensity(frame, frames.front());
  }
  return 0;
}
