#include "Graphics/Graphics_Main.h"

#include <cmath>

#include "Base/Console.h"
#include "Graphics/Graphics_D3D.h"
#include "Graphics_API/Graphics_Device.h"
#include "Graphics_API/Graphics_Texture.h"

namespace {

float g_View[5] = {0, 0, 640, 480, 0};  // x, y, w, h, angle

// What the overlay's view replaced.
struct SavedView {
  bool saved = false;
  GraphicsViewState view;
  uint32_t src, dest;
  bool linear;
};
SavedView g_Saved;

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
  // The resources holding textures go before the device, with or without one.
  GR_Texture_FreeAll();
  GR_D3D_Shutdown();
}

void Graphics_SetView(float x, float y, float w, float h, float angle) {
  g_View[0] = x;
  g_View[1] = y;
  g_View[2] = w;
  g_View[3] = h;
  g_View[4] = angle;
  Matrix view, projection;
  D3D_ViewMatrices(x, y, w, h, angle, D3D_GetPerspective(), &view, &projection);
  Graphics_SetTransform(TRANSFORM_VIEW, view);
  Graphics_SetTransform(TRANSFORM_PROJECTION, projection);
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

GraphicsViewState Graphics_SaveView() {
  GraphicsViewState s;
  Graphics_GetViewPort(&s.port[0], &s.port[1], &s.port[2], &s.port[3]);
  for (int i = 0; i < 5; i++) s.view[i] = g_View[i];
  return s;
}

void Graphics_RestoreView(const GraphicsViewState& s) {
  Graphics_SetViewPortAndView(s.port[0], s.port[1], s.port[2], s.port[3], s.view[0], s.view[1], s.view[2], s.view[3],
                              s.view[4]);
}

void Graphics_Set2DView() {
  SavedView& s = g_Saved;
  s.view = Graphics_SaveView();
  s.src = Graphics_GetRenderState(RS_SRCBLEND);
  s.dest = Graphics_GetRenderState(RS_DESTBLEND);
  s.linear = GR_GetInterpolation();
  s.saved = true;
  Graphics_SetViewPortAndView(0, 0, GR_Window_GetWidth(), GR_Window_GetHeight(), 0, 0,
                              float(Graphics_FrameCounters.overlayWidth), float(Graphics_FrameCounters.overlayHeight), 0);
  Graphics_SetRenderState(RS_SRCBLEND, BLEND_SRCALPHA);
  Graphics_SetRenderState(RS_DESTBLEND, BLEND_INVSRCALPHA);
  GR_SetInterpolation(false);  // the overlay's glyphs stay sharp
}

void Graphics_Set2DViewPort() {
  SavedView& s = g_Saved;
  if (!s.saved) return;
  s.saved = false;
  Graphics_RestoreView(s.view);
  Graphics_SetRenderState(RS_SRCBLEND, s.src);
  Graphics_SetRenderState(RS_DESTBLEND, s.dest);
  GR_SetInterpolation(s.linear);
}
