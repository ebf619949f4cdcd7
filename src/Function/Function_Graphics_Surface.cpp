// Surface built-ins: making, targeting, drawing, reading, copying and saving.
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "Code/Code_Error.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Graphics.h"
#include "Graphics/Graphics_Draw.h"
#include "Graphics/Graphics_Image.h"
#include "Graphics/Graphics_Surface.h"
#include "Graphics_API/Graphics_Texture.h"
#include "Graphics_API/Graphics_Device.h"

namespace {
constexpr uint32_t WHITE = 0xFFFFFF;

// The surface id of an argument, or -1 (after the report) when it is not valid.
int SurfaceArg(const RValue& v) {
  int id = RValue_RoundInt(v);
  if (Surface_Exists(id)) return id;
  Error_Show_Action("Trying to use non-existing surface.", false);
  return -1;
}

void F_SurfaceCreate(RValue& result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&result, Surface_Create(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1])));
}

void F_SurfaceExists(RValue& result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&result, Surface_Exists(RValue_RoundInt(arg[0])) ? 1 : 0);
}

void F_SurfaceFree(RValue&, CInstance*, CInstance*, int, const RValue* arg) { Surface_Free(RValue_RoundInt(arg[0])); }

void F_SurfaceGetWidth(RValue& result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&result, Surface_GetWidth(RValue_RoundInt(arg[0])));
}

void F_SurfaceGetHeight(RValue& result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&result, Surface_GetHeight(RValue_RoundInt(arg[0])));
}

void F_SurfaceGetTexture(RValue& result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&result, Surface_GetTexture(RValue_RoundInt(arg[0])));
}

void F_SurfaceSetTarget(RValue& result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&result, Surface_SetTarget(RValue_RoundInt(arg[0])) ? 1 : 0);
}

// Without a surface as the target there is nothing to undo: popping anyway
// would drop a render target that someone else pushed.
void F_SurfaceResetTarget(RValue& result, CInstance*, CInstance*, int, const RValue*) {
  if (Surface_GetTarget() < 0) return;
  RValue_SetReal(&result, Surface_ResetTarget() ? 1 : 0);
}

void F_DrawSurface(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  int id = SurfaceArg(arg[0]);
  if (id >= 0) Surface_Draw(id, std::floor(RValue_Single(arg[1])), std::floor(RValue_Single(arg[2])));
}

void F_DrawSurfaceExt(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  int id = SurfaceArg(arg[0]);
  if (id >= 0)
    Surface_Draw_Ext(id, RValue_Single(arg[1]), RValue_Single(arg[2]), RValue_Single(arg[3]), RValue_Single(arg[4]),
                     RValue_Single(arg[5]), Arg_Colour(arg[6]), RValue_Single(arg[7]));
}

void F_DrawSurfacePart(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  int id = SurfaceArg(arg[0]);
  if (id >= 0)
    Surface_Draw_Part(id, RValue_Single(arg[1]), RValue_Single(arg[2]), RValue_Single(arg[3]), RValue_Single(arg[4]),
                      RValue_Single(arg[5]), RValue_Single(arg[6]), 1, 1, WHITE, GR_GetAlpha());
}

void F_DrawSurfacePartExt(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  int id = SurfaceArg(arg[0]);
  if (id >= 0)
    Surface_Draw_Part(id, RValue_Single(arg[1]), RValue_Single(arg[2]), RValue_Single(arg[3]), RValue_Single(arg[4]),
                      RValue_Single(arg[5]), RValue_Single(arg[6]), RValue_Single(arg[7]), RValue_Single(arg[8]),
                      Arg_Colour(arg[9]), RValue_Single(arg[10]));
}

void F_DrawSurfaceGeneral(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  int id = SurfaceArg(arg[0]);
  if (id >= 0)
    Surface_Draw_General(id, RValue_Single(arg[1]), RValue_Single(arg[2]), RValue_Single(arg[3]), RValue_Single(arg[4]),
                         RValue_Single(arg[5]), RValue_Single(arg[6]), RValue_Single(arg[7]), RValue_Single(arg[8]),
                         RValue_Single(arg[9]), Arg_Colour(arg[10]), Arg_Colour(arg[11]), Arg_Colour(arg[12]),
                         Arg_Colour(arg[13]), RValue_Single(arg[14]));
}

void F_DrawSurfaceStretched(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  int id = SurfaceArg(arg[0]);
  if (id >= 0)
    Surface_Draw_Stretched(id, RValue_Single(arg[1]), RValue_Single(arg[2]), RValue_Single(arg[3]),
                           RValue_Single(arg[4]), WHITE, GR_GetAlpha());
}

void F_DrawSurfaceStretchedExt(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  int id = SurfaceArg(arg[0]);
  if (id >= 0)
    Surface_Draw_Stretched(id, RValue_Single(arg[1]), RValue_Single(arg[2]), RValue_Single(arg[3]),
                           RValue_Single(arg[4]), Arg_Colour(arg[5]), RValue_Single(arg[6]));
}

void SurfaceTiled(const RValue* arg, float xscale, float yscale, uint32_t colour, float alpha) {
  int id = SurfaceArg(arg[0]);
  if (id < 0 || !Graphics_TiledScaleOk(xscale, yscale)) return;
  float w, h;
  Graphics_TiledArea(&w, &h);
  Surface_Draw_Tiled(id, RValue_Single(arg[1]), RValue_Single(arg[2]), xscale, yscale, true, true, 0, 0, w, h, colour,
                     alpha);
}

void F_DrawSurfaceTiled(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  SurfaceTiled(arg, 1, 1, WHITE, GR_GetAlpha());
}

void F_DrawSurfaceTiledExt(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  SurfaceTiled(arg, RValue_Single(arg[3]), RValue_Single(arg[4]), Arg_Colour(arg[5]), RValue_Single(arg[6]));
}

// Writes a rectangle of a surface as a 24-bit BMP file, whatever the name's
// extension; the rectangle is clipped to the surface first.
void SurfaceSave(const RValue* arg, int x, int y, int w, int h) {
  int id = SurfaceArg(arg[0]);
  if (id < 0) return;
  const char* name = RValue_Text(arg[1]);
  if (!*name) {
    Error_Show_Action("Trying to save surface to empty image file name.", false);
    return;
  }
  if (!Graphics_ClipRect(Surface_GetWidth(id), Surface_GetHeight(id), &x, &y, &w, &h)) return;
  Batch_Flush();
  std::unique_ptr<CBitmap32> bitmap(Graphics_GrabSurfaceRect(Surface_GetTexture(id), x, y, w, h));
  Graphics_WriteBMP(name, bitmap.get());
}

void F_SurfaceSave(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  int id = RValue_RoundInt(arg[0]);
  SurfaceSave(arg, 0, 0, Surface_GetWidth(id), Surface_GetHeight(id));
}

void F_SurfaceSavePart(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  SurfaceSave(arg, RValue_RoundInt(arg[2]), RValue_RoundInt(arg[3]), RValue_RoundInt(arg[4]), RValue_RoundInt(arg[5]));
}

// The pixel as a script colour (red in the low byte); 0 outside the surface.
void F_SurfaceGetPixel(RValue& result, CInstance*, CInstance*, int, const RValue* arg) {
  int id = SurfaceArg(arg[0]);
  if (id < 0) return;
  int x = Arg_SingleRound(arg[1]), y = Arg_SingleRound(arg[2]);
  if (x < 0 || y < 0 || x >= Surface_GetWidth(id) || y >= Surface_GetHeight(id)) return;
  Batch_Flush();
  uint32_t argb = 0;
  if (!Graphics_ReadPixels(Surface_GetTexture(id), x, y, 1, 1, &argb)) return;
  uint32_t bgr = ((argb >> 16) & 0xFF) | (argb & 0xFF00) | ((argb & 0xFF) << 16);
  RValue_SetReal(&result, bgr);
}

// A copy of a surface onto itself goes through a temporary surface, so that
// overlapping rectangles read the pixels as they were before the copy.
void SurfaceCopy(int dest, int x, int y, int src, int xs, int ys, int ws, int hs) {
  Batch_Flush();
  if (dest != src) {
    Surface_Copy(dest, x, y, src, xs, ys, ws, hs);
    return;
  }
  if (!Graphics_ClipRect(Surface_GetWidth(src), Surface_GetHeight(src), &xs, &ys, &ws, &hs)) return;
  int temp = Surface_Create(ws, hs);
  if (temp < 0) return;
  if (Surface_Copy(temp, 0, 0, src, xs, ys, ws, hs)) Surface_Copy(dest, x, y, temp, 0, 0, ws, hs);
  Surface_Free(temp);
}

void F_SurfaceCopy(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  int dest = SurfaceArg(arg[0]);
  if (dest < 0) return;
  int src = SurfaceArg(arg[3]);
  if (src < 0) return;
  SurfaceCopy(dest, RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]), src, 0, 0, Surface_GetWidth(src),
              Surface_GetHeight(src));
}

void F_SurfaceCopyPart(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  int dest = SurfaceArg(arg[0]);
  if (dest < 0) return;
  int src = SurfaceArg(arg[3]);
  if (src < 0) return;
  SurfaceCopy(dest, RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]), src, RValue_RoundInt(arg[4]),
              RValue_RoundInt(arg[5]), RValue_RoundInt(arg[6]), RValue_RoundInt(arg[7]));
}
}  // namespace

void Function_Graphics_Surface_Init() {
  Function_Add("surface_create", F_SurfaceCreate, 2);
  Function_Add("surface_free", F_SurfaceFree, 1);
  Function_Add("surface_exists", F_SurfaceExists, 1);
  Function_Add("surface_get_width", F_SurfaceGetWidth, 1);
  Function_Add("surface_get_height", F_SurfaceGetHeight, 1);
  Function_Add("surface_get_texture", F_SurfaceGetTexture, 1);
  Function_Add("surface_set_target", F_SurfaceSetTarget, 1);
  Function_Add("surface_reset_target", F_SurfaceResetTarget, 0);
  Function_Add("draw_surface", F_DrawSurface, 3);
  Function_Add("draw_surface_ext", F_DrawSurfaceExt, 8);
  Function_Add("draw_surface_part", F_DrawSurfacePart, 7);
  Function_Add("draw_surface_part_ext", F_DrawSurfacePartExt, 11);
  Function_Add("draw_surface_general", F_DrawSurfaceGeneral, 15);
  Function_Add("draw_surface_stretched", F_DrawSurfaceStretched, 5);
  Function_Add("draw_surface_stretched_ext", F_DrawSurfaceStretchedExt, 7);
  Function_Add("draw_surface_tiled", F_DrawSurfaceTiled, 3);
  Function_Add("draw_surface_tiled_ext", F_DrawSurfaceTiledExt, 7);
  Function_Add("surface_save", F_SurfaceSave, 2);
  Function_Add("surface_save_part", F_SurfaceSavePart, 6);
  Function_Add("surface_getpixel", F_SurfaceGetPixel, 3);
  Function_Add("surface_copy", F_SurfaceCopy, 4);
  Function_Add("surface_copy_part", F_SurfaceCopyPart, 8);
}
