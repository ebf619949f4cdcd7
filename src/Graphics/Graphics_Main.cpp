#include "Graphics/Graphics_Main.h"

#include <cmath>

#include "Background/Background_Main.h"
#include "Base/Console.h"
#include "Font/Font_Main.h"
#include "Sprite/Sprite_Main.h"
#include "Graphics_API/Graphics_Device.h"

namespace {

float g_View[5] = {0, 0, 640, 480, 0};  // x, y, w, h, angle

}  // namespace

bool Graphics_Init() {
  if (!GR_D3D_Init()) {
    g_Console.Output("Failed to initialise the graphics device\n");
    return false;
  }
  int w = GR_Window_GetWidth(), h = GR_Window_GetHeight();
  Graphics_SetViewPortAndView(0, 0, w, h, 0, 0, float(w), float(h), 0);
  return true;
}

void Graphics_Shutdown() {
  // Resources own textures: they go before the device.
  Sprite_FreeAll();
  Background_FreeAll();
  Font_FreeAll();
  Font_FreeDefault();
  GR_D3D_Shutdown();
}

void Graphics_SetView(float x, float y, float w, float h, float angle) {
  g_View[0] = x;
  g_View[1] = y;
  g_View[2] = w;
  g_View[3] = h;
  g_View[4] = angle;
  if (w == 0) w = 1;
  if (h == 0) h = 1;
  // Room y grows downward: the projection's negative height turns it over.
  float cx = x + w / 2, cy = y + h / 2;
  Matrix view = Matrix_Multiply(Matrix_Translation(-cx, -cy, 0), Matrix_RotationZ(-angle * float(M_PI) / 180.0f));
  Graphics_SetTransform(TRANSFORM_VIEW, view);
  Graphics_SetTransform(TRANSFORM_PROJECTION, Matrix_OrthoLH(w, -h, -16000, 16000));
}

void Graphics_GetView(float* x, float* y, float* w, float* h, float* angle) {
  *x = g_View[0];
  *y = g_View[1];
  *w = g_View[2];
  *h = g_View[3];
  *angle = g_View[4];
}

void Graphics_SetViewPortAndView(int px, int py, int pw, int ph, float x, float y, float w, float h, float angle) {
  Graphics_SetViewPort(px, py, pw, ph);
  Graphics_SetView(x, y, w, h, angle);
}
