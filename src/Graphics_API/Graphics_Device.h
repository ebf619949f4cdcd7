// The render device: what the drawing core needs of the graphics card. Over
// OpenGL 3.3 core it keeps the conventions of the Direct3D 9 device the
// drawing code was written against: ARGB vertex colours, primitive kinds,
// blend factors and render states by their Direct3D numbers, left-handed
// matrices with depth 0..1, and an offscreen back buffer flipped at present.
#pragma once
#include <cstdint>

#include "Base/Maths_Matrix.h"

// The 2D textured vertex, 24 bytes.
struct SVertex {
  float x, y, z;
  uint32_t colour;  // ARGB
  float u, v;
};
constexpr int VERTEX_SIZE_2D = 24;

// The 3D vertex with a normal, 36 bytes. A 2D vertex counts as having the
// normal (0, 0, 0): lighting leaves it the ambient part alone.
struct SVertex3D {
  float x, y, z;
  float nx, ny, nz;
  uint32_t colour;  // ARGB
  float u, v;
};
constexpr int VERTEX_SIZE_3D = 36;

// Primitive kinds.
enum {
  PR_POINTLIST = 1,
  PR_LINELIST = 2,
  PR_LINESTRIP = 3,
  PR_TRIANGLELIST = 4,
  PR_TRIANGLESTRIP = 5,
  PR_TRIANGLEFAN = 6,
};

constexpr int BATCH_MAX_VERTS = 32768;
// Texture pages one batch may draw from: each vertex keeps its page's place.
constexpr int BATCH_MAX_PAGES = 8;

// Reserves count vertices in the open batch and returns them for the caller
// to fill. The batch is drawn first when the kind or the vertex size differ,
// when the texture (a texture id, or -1 for none) cannot join it (textured
// and untextured vertices never share a batch; a textured one holds up to
// BATCH_MAX_PAGES textures), when it cannot hold the request, or when it is
// a strip or fan. A request larger than a batch gets a batch of its own.
// Null when the device is not ready or the request is bad.
SVertex* Batch_AllocVerts(int primType, int texture, int vertexSize, int count);
// The same for 3D vertices (vertex size 36).
SVertex3D* Batch_AllocVerts3D(int primType, int texture, int count);
// Draws the open batch and closes it.
void Batch_Flush();
// Gives back the last count reserved vertices.
void Batch_Unreserve(int count);

// Blend factors.
enum {
  BLEND_ZERO = 1, BLEND_ONE, BLEND_SRCCOLOR, BLEND_INVSRCCOLOR, BLEND_SRCALPHA,
  BLEND_INVSRCALPHA, BLEND_DESTALPHA, BLEND_INVDESTALPHA, BLEND_DESTCOLOR,
  BLEND_INVDESTCOLOR, BLEND_SRCALPHASAT,
};
// Compare functions (alpha test, depth test).
enum {
  CMP_NEVER = 1, CMP_LESS, CMP_EQUAL, CMP_LESSEQUAL, CMP_GREATER, CMP_NOTEQUAL,
  CMP_GREATEREQUAL, CMP_ALWAYS,
};
// The cached render states, by their index in the cache.
enum {
  RS_ZENABLE = 0,
  RS_ZWRITEENABLE,
  RS_ALPHATESTENABLE,
  RS_SRCBLEND,
  RS_DESTBLEND,
  RS_CULLMODE,       // 1 none, 2 clockwise, 3 counter-clockwise
  RS_ZFUNC,
  RS_ALPHAREF,       // 0..255
  RS_ALPHAFUNC,
  RS_COLORWRITE,     // bits 1 red, 2 green, 4 blue, 8 alpha
  RS_BLENDOP,        // 1 add, 2 subtract, 3 reverse subtract, 4 min, 5 max
  RS_SCISSORTEST,
  RS_ALPHABLENDENABLE = 12,
  RS_SHADEMODE,      // 1 flat (the first vertex's colour), 2 Gouraud
  RS_LIGHTING,       // per-vertex lighting by the ambient colour and the lights
  RS_FOGENABLE,      // linear fog (Graphics_SetFog)
  RS_COUNT
};
void Graphics_SetRenderState(int index, uint32_t value);
uint32_t Graphics_GetRenderState(int index);

// Lights, used while RS_LIGHTING is on. A lit vertex gets its colour times
// (ambient + the sum over enabled lights of colour * max(0, N.L) *
// attenuation), its alpha unchanged; N is the vertex normal through the
// world transform, normalised. A directional light gives the direction the
// light travels (L is its reverse); a point light shines from its position
// with an attenuation falling linearly from 1 at the light to 0 at its range.
constexpr int LIGHT_COUNT = 8;
enum { LIGHT_NONE = 0, LIGHT_DIRECTIONAL, LIGHT_POINT };
struct DeviceLight {
  int kind = LIGHT_NONE;
  float x = 0, y = 0, z = 0;  // direction, or position
  float range = 0;            // point lights
  uint32_t colour = 0;        // ARGB
  bool enabled = false;
};
void Graphics_SetLight(int index, const DeviceLight& light);  // index outside 0..7: nothing
void Graphics_SetAmbient(uint32_t argb);
// Linear fog by the eye-space depth d (the distance from the eye along its
// view direction): the fog colour's share is 0 up to start and 1 from end
// on; with end at or before start, everything from start on is fogged.
void Graphics_SetFog(uint32_t argb, float start, float end);

// Sampling and texture stage settings.
void GR_SetInterpolation(bool linear);
bool GR_GetInterpolation();
void GR_SetRepeat(bool wrap);
bool GR_GetRepeat();
void GR_SetTextureBlending(bool modulate);  // false: texture colour alone

// Transforms.
enum { TRANSFORM_WORLD = 0, TRANSFORM_VIEW, TRANSFORM_PROJECTION };
void Graphics_SetTransform(int which, const Matrix& m);
const Matrix& Graphics_GetTransform(int which);
void Graphics_SetViewPort(int x, int y, int w, int h);
// Whether triangles may be drawn through a widened viewport, the scissor
// keeping them to the real one, so the software renderer need not clip them
// on the CPU. On by default; tests compare the two.
void Graphics_SetGuardBand(bool on);
void Graphics_GetViewPort(int* x, int* y, int* w, int* h);
// Clears the current target (colour ARGB; depth to 1). A surface gets its
// depth buffer the first time it is drawn to with depth testing on.
void Graphics_Clear(uint32_t argb);

// Render targets: a texture made with GR_Texture_CreateTarget becomes the
// target; pop returns to the previous one (false when none was pushed).
bool Graphics_PushRenderTarget(int texture);
bool Graphics_PopRenderTarget();
int Graphics_RenderTargetDepth();

// Reads a rectangle of the back buffer (texture -1) or of a texture into
// ARGB words, rows top to bottom. The rectangle must lie inside it.
bool Graphics_ReadPixels(int texture, int x, int y, int w, int h, uint32_t* out);

// The device. Init makes the context on the game window and a back buffer
// of its client size.
bool GR_D3D_Init();
void GR_D3D_Shutdown();
bool GR_D3D_IsReady();
void GR_D3D_Start_Frame();
void GR_D3D_Finish_Frame();  // draws the batch and presents the back buffer
int GR_Window_GetWidth();    // back buffer size
int GR_Window_GetHeight();
// Resizes the back buffer (its contents are lost); the next present shows it.
void Graphics_ResizeBackBuffer(int w, int h);

// Per-frame counts, zeroed at the start of each frame.
struct GraphicsFrameCounters {
  int textureSwaps = 0;  // changes of the bound texture
  int batches = 0;       // draw calls handed to the device
  float fps = 0;
  int overlayWidth = 640, overlayHeight = 480;
};
extern GraphicsFrameCounters Graphics_FrameCounters;
extern int64_t Graphics_PresentTime;  // microseconds spent in the last present

// Below the texture table: device textures and drawing of a batch.
bool Device_Texture_Create(int w, int h, const uint32_t* argb, bool target, uint32_t* texture,
                           uint32_t* framebuffer);
void Device_Texture_Free(uint32_t texture, uint32_t framebuffer);
void Device_Texture_Update(uint32_t texture, int x, int y, int w, int h, const uint32_t* argb);
// Draws count vertices (of vertexSize 24 or 36 bytes) of one primitive kind,
// untextured (textureCount 0) or from up to BATCH_MAX_PAGES texture ids,
// pages[i] giving vertex i's place among them.
void Device_Draw(int primType, const int* textures, int textureCount, const uint8_t* pages, const void* verts,
                 int vertexSize, int count);
