// Start and end of the graphics layer, and the 2D view the room draws through.
#pragma once

struct GamePackage;

// "Init Graphics": the device on the game window, then the textures of the
// resources loaded so far. False when the device cannot be made.
bool Graphics_Init();
void Graphics_Shutdown();
// Makes the texture pages of a package and appends its sprites, backgrounds
// and fonts to their tables (empty slots stay empty). Sprites keep their
// boxes and masks even when the device is not there to make textures.
void Graphics_LoadPackage(const GamePackage& pkg);

// The view: the room rectangle (x, y, w, h) rotated by angle degrees is
// mapped onto the current viewport, orthographically, or in perspective
// while perspective is on (Graphics_D3D.h).
void Graphics_SetView(float x, float y, float w, float h, float angle);
void Graphics_GetView(float* x, float* y, float* w, float* h, float* angle);
// Viewport and view in one call, as a room does for each of its views.
void Graphics_SetViewPortAndView(int px, int py, int pw, int ph, float x, float y, float w, float h, float angle);

// The viewport and view together, to put back after drawing elsewhere.
struct GraphicsViewState {
  int port[4];
  float view[5];
};
GraphicsViewState Graphics_SaveView();
void Graphics_RestoreView(const GraphicsViewState& state);

// For the debug overlay: an orthographic view over the overlay's display
// size on the whole back buffer, with normal blending and no texture
// smoothing; and back to the game's viewport, view, blending and smoothing
// afterwards.
void Graphics_Set2DView();
void Graphics_Set2DViewPort();
