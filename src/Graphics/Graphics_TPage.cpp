#include "Graphics/Graphics_TPage.h"

#include <algorithm>
#include <cstring>

void TPage_Extrude(void* page, int pageWidth, int pageHeight, int x, int y, int width, int height) {
  if (width < 1 || height < 1) return;
  auto* bytes = static_cast<uint8_t*>(page);
  auto at = [&](int px, int py) { return bytes + (size_t(py) * size_t(pageWidth) + size_t(px)) * 4; };
  // The ring, clipped to the page; each of its pixels takes the nearest
  // pixel of the image.
  int left = std::max(x - 1, 0), right = std::min(x + width, pageWidth - 1);
  int top = std::max(y - 1, 0), bottom = std::min(y + height, pageHeight - 1);
  for (int py = top; py <= bottom; py++) {
    int sy = std::clamp(py, y, y + height - 1);
    bool edgeRow = py < y || py >= y + height;
    for (int px = left; px <= right; px++) {
      if (!edgeRow && px >= x && px < x + width) {
        px = x + width - 1;  // the image itself stays as it is
        continue;
      }
      std::memcpy(at(px, py), at(std::clamp(px, x, x + width - 1), sy), 4);
    }
  }
}
