// Display modes over SDL2. A mode takes effect when the window is full
// screen; in a window only the request is kept.
#include <SDL2/SDL.h>

#include "Base/Console.h"
#include "Graphics_API/Display_Main.h"
#include "Graphics_API/Graphics_Device.h"
#include "Graphics_API/Window_Main.h"

namespace {

bool g_ResetPending = false;
bool g_VSync = false;
int g_Antialias = 0;

int DisplayIndex() {
  int i = Window_Handle() ? SDL_GetWindowDisplayIndex(Window_Handle()) : 0;
  return i < 0 ? 0 : i;
}

// The display's mode that matches; w or h 0 keep the current ones.
bool FindMode(int w, int h, int frequency, int depth, SDL_DisplayMode* out) {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
  int display = DisplayIndex();
  for (int i = 0, n = SDL_GetNumDisplayModes(display); i < n; i++) {
    SDL_DisplayMode m;
    if (SDL_GetDisplayMode(display, i, &m) != 0) continue;
    if (m.w == w && m.h == h && (frequency <= 0 || m.refresh_rate == frequency) &&
        (depth <= 0 || int(SDL_BITSPERPIXEL(m.format)) == depth || (depth == 32 && SDL_BITSPERPIXEL(m.format) == 24))) {
      *out = m;
      return true;
    }
  }
  return false;
}

}  // namespace

bool Display_TestMode(int w, int h, int frequency, int depth) {
  SDL_DisplayMode m;
  return FindMode(w, h, frequency, depth, &m);
}

bool Display_SetMode(int w, int h, int frequency, int depth) {
  SDL_DisplayMode m;
  if (!Window_Handle() || !FindMode(w, h, frequency, depth, &m)) return false;
  if (SDL_SetWindowDisplayMode(Window_Handle(), &m) != 0) return false;
  Display_RequestReset();
  return true;
}

bool Display_SetSize(int w, int h) {
  return Display_SetMode(w, h, Display_GetFrequency(), Display_GetColourDepth());
}

bool Display_SetColourDepth(int depth) {
  return Display_SetMode(Display_GetWidth(), Display_GetHeight(), Display_GetFrequency(), depth);
}

bool Display_SetFrequency(int frequency) {
  return Display_SetMode(Display_GetWidth(), Display_GetHeight(), frequency, Display_GetColourDepth());
}

void Display_SetAntialias(int level) { g_Antialias = level & 255; }
void Display_SetVSync(bool on) { g_VSync = on; }
void Display_RequestReset() { g_ResetPending = true; }
bool Display_ResetPending() { return g_ResetPending; }

void GR_D3D_Reset() {
  g_ResetPending = false;
  if (!GR_D3D_IsReady()) return;
  if (SDL_GL_SetSwapInterval(g_VSync ? 1 : 0) != 0 && g_VSync)
    g_Console.Output("Vertical sync is not available: %s\n", SDL_GetError());
  // Antialiasing of the back buffer is not offered; the level is kept only.
  int w = 0, h = 0;
  SDL_GL_GetDrawableSize(Window_Handle(), &w, &h);
  Graphics_ResizeBackBuffer(w, h);
}

void Graphics_ResetIfRequested() {
  if (g_ResetPending) GR_D3D_Reset();
}
