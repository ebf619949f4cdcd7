#include "Graphics/Graphics_Colour.h"

#include <algorithm>
#include <cmath>

uint32_t Colour_FromHSV(int h, int s, int v) {
  double H = (h & 255) * 360.0 / 255.0;
  if (H >= 360) H = 0;
  double S = (s & 255) / 255.0, V = (v & 255) / 255.0;
  double r = V, g = V, b = V;
  if (S != 0) {
    int i = int(H / 60);
    double f = H / 60 - i;
    double p = V * (1 - S), q = V * (1 - f * S), t = V * (1 - (1 - f) * S);
    switch (i) {
      case 0: r = V; g = t; b = p; break;
      case 1: r = q; g = V; b = p; break;
      case 2: r = p; g = V; b = t; break;
      case 3: r = p; g = q; b = V; break;
      case 4: r = t; g = p; b = V; break;
      default: r = V; g = p; b = q; break;
    }
  }
  return uint32_t(int(r * 255)) + uint32_t(int(g * 255)) * 256 + uint32_t(int(b * 255)) * 65536;
}

void Colour_ToHSV(uint32_t bgr, int* h, int* s, int* v) {
  double r = (bgr & 255) / 255.0, g = ((bgr >> 8) & 255) / 255.0, b = ((bgr >> 16) & 255) / 255.0;
  double mx = std::max({r, g, b}), mn = std::min({r, g, b});
  double S = mx == 0 ? 0 : (mx - mn) / mx, H = 0;
  if (S != 0) {
    if (r == mx) H = 60 * (g - b) / (mx - mn);
    else if (g == mx) H = 60 * (b - r) / (mx - mn) + 120;
    else H = 60 * (r - g) / (mx - mn) + 240;
    if (H < 0) H += 360;
  }
  *h = int(H * 255 / 360);
  *s = int(S * 255);
  *v = int(mx * 255);
}

uint32_t Colour_Merge(uint32_t c1, uint32_t c2, float amount) {
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    float a = float((c1 >> shift) & 255), b = float((c2 >> shift) & 255);
    long ch = std::lrint(a * (1 - amount) + b * amount);  // halves to even
    out |= uint32_t(ch & 255) << shift;
  }
  return out;
}
