// Draw state, colour arithmetic, primitives, user primitives and textures.
#include "Background/Background_Main.h"
#include "Code/Code_Error.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Args.h"
#include "Function/Function_Graphics.h"
#include "Graphics/Graphics_Colour.h"
#include "Graphics/Graphics_Draw.h"
#include "Graphics_API/Graphics_Texture.h"
#include "Graphics_API/Graphics_Device.h"
#include "Object/Instance_Class.h"
#include "Path/Path_Class.h"
#include "Path/Path_Main.h"
#include "Sprite/Sprite_Main.h"

namespace {
// Primitive colours: narrowed, then rounded.

void F_DrawSetColor(RValue&, CInstance*, CInstance*, int, const RValue* arg) { GR_SetColor(Arg_Colour(arg[0])); }
void F_DrawGetColor(RValue& r, CInstance*, CInstance*, int, const RValue*) { Give(r, GR_GetColor() & 0xFFFFFF); }
void F_DrawSetAlpha(RValue&, CInstance*, CInstance*, int, const RValue* arg) { GR_SetAlpha(RValue_Single(arg[0])); }
void F_DrawGetAlpha(RValue& r, CInstance*, CInstance*, int, const RValue*) { Give(r, GR_GetAlpha()); }

void F_MakeColorRgb(RValue& r, CInstance*, CInstance*, int, const RValue* arg) {
  Give(r, double(RValue_TruncInt(arg[0])) + double(RValue_TruncInt(arg[1])) * 256.0 +
                 double(RValue_TruncInt(arg[2])) * 65536.0);
}

void F_MakeColorHsv(RValue& r, CInstance*, CInstance*, int, const RValue* arg) {
  Give(r, Colour_FromHSV(RValue_RoundInt(arg[0]) & 0xFF, RValue_RoundInt(arg[1]) & 0xFF,
                            RValue_RoundInt(arg[2]) & 0xFF));
}

// The channels keep the sign of the colour, as integer division and
// remainder toward zero give them.
void F_ColorGetRed(RValue& r, CInstance*, CInstance*, int, const RValue* arg) { Give(r, RValue_RoundInt(arg[0]) % 256); }
void F_ColorGetGreen(RValue& r, CInstance*, CInstance*, int, const RValue* arg) {
  Give(r, RValue_RoundInt(arg[0]) / 256 % 256);
}
void F_ColorGetBlue(RValue& r, CInstance*, CInstance*, int, const RValue* arg) {
  Give(r, RValue_RoundInt(arg[0]) / 65536 % 256);
}

void F_ColorGetHue(RValue& r, CInstance*, CInstance*, int, const RValue* arg) {
  int h, s, v;
  Colour_ToHSV(Arg_Colour(arg[0]), &h, &s, &v);
  Give(r, h);
}
void F_ColorGetSaturation(RValue& r, CInstance*, CInstance*, int, const RValue* arg) {
  int h, s, v;
  Colour_ToHSV(Arg_Colour(arg[0]), &h, &s, &v);
  Give(r, s);
}
void F_ColorGetValue(RValue& r, CInstance*, CInstance*, int, const RValue* arg) {
  int h, s, v;
  Colour_ToHSV(Arg_Colour(arg[0]), &h, &s, &v);
  Give(r, v);
}

void F_MergeColor(RValue& r, CInstance*, CInstance*, int, const RValue* arg) {
  Give(r, Colour_Merge(Arg_ColourSingle(arg[0]), Arg_ColourSingle(arg[1]), RValue_Single(arg[2])));
}

// A mode or factor outside the known ones leaves the blending as it was.
void F_DrawSetBlendMode(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  int mode = Arg_SingleRound(arg[0]);
  if (mode >= 0 && mode <= 3) GR_SetBlendMode(mode);
}
void F_DrawSetBlendModeExt(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  int src = Arg_SingleRound(arg[0]), dest = Arg_SingleRound(arg[1]);
  auto known = [](int f) { return f >= BLEND_ZERO && f <= BLEND_SRCALPHASAT; };
  if (known(src) && known(dest)) GR_SetBlendModeExt(src, dest);
}

void F_DrawClear(RValue&, CInstance*, CInstance*, int, const RValue* arg) { GR_Draw_Clear(Arg_ColourSingle(arg[0])); }
void F_DrawClearAlpha(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  GR_Draw_ClearAlpha(Arg_ColourSingle(arg[0]), RValue_Single(arg[1]));
}

void F_DrawPoint(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  GR_Draw_Point(RValue_Single(a[0]), RValue_Single(a[1]));
}
void F_DrawLine(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  GR_Draw_Line(RValue_Single(a[0]), RValue_Single(a[1]), RValue_Single(a[2]), RValue_Single(a[3]));
}
void F_DrawLineWidth(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  GR_Draw_Line_Width(RValue_Single(a[0]), RValue_Single(a[1]), RValue_Single(a[2]), RValue_Single(a[3]),
                     RValue_Single(a[4]));
}
void F_DrawRectangle(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  GR_Draw_Rectangle(RValue_Single(a[0]), RValue_Single(a[1]), RValue_Single(a[2]), RValue_Single(a[3]),
                    RValue_IsTrue(a[4]));
}
void F_DrawRoundrect(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  GR_Draw_RoundRect(RValue_Single(a[0]), RValue_Single(a[1]), RValue_Single(a[2]), RValue_Single(a[3]), 10, 10,
                    RValue_IsTrue(a[4]));
}
void F_DrawTriangle(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  GR_Draw_Triangle(RValue_Single(a[0]), RValue_Single(a[1]), RValue_Single(a[2]), RValue_Single(a[3]),
                   RValue_Single(a[4]), RValue_Single(a[5]), RValue_IsTrue(a[6]));
}
void F_DrawCircle(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  GR_Draw_Circle(RValue_Single(a[0]), RValue_Single(a[1]), RValue_Single(a[2]), RValue_IsTrue(a[3]));
}
void F_DrawEllipse(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  GR_Draw_Ellipse(RValue_Single(a[0]), RValue_Single(a[1]), RValue_Single(a[2]), RValue_Single(a[3]),
                  RValue_IsTrue(a[4]));
}
void F_DrawArrow(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  GR_Draw_Arrow(RValue_Single(a[0]), RValue_Single(a[1]), RValue_Single(a[2]), RValue_Single(a[3]),
                RValue_Single(a[4]));
}
void F_DrawButton(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  GR_Draw_Button(RValue_Single(a[0]), RValue_Single(a[1]), RValue_Single(a[2]), RValue_Single(a[3]),
                 RValue_IsTrue(a[4]));
}
void F_DrawHealthbar(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  uint32_t minc = Arg_ColourSingle(a[6]), maxc = Arg_ColourSingle(a[7]);
  GR_Draw_HealthBar(RValue_Single(a[0]), RValue_Single(a[1]), RValue_Single(a[2]), RValue_Single(a[3]),
                    RValue_Single(a[4]), Arg_ColourSingle(a[5]), minc, Colour_Merge(minc, maxc, 0.5f), maxc,
                    RValue_RoundInt(a[8]), RValue_IsTrue(a[9]), RValue_IsTrue(a[10]));
}

void F_DrawPath(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  const CPath* path = Path_Data(RValue_RoundInt(a[0]));
  if (!path) {
    Error_Show_Action("Trying to drawn non-existing path.", false);
    return;
  }
  path->Draw(RValue_Single(a[1]), RValue_Single(a[2]), RValue_IsTrue(a[3]));
}

void F_DrawPointColor(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  GR_Draw_Point_Color(RValue_Single(a[0]), RValue_Single(a[1]), Arg_ColourSingle(a[2]));
}
void F_DrawLineColor(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  GR_Draw_Line_Color(RValue_Single(a[0]), RValue_Single(a[1]), RValue_Single(a[2]), RValue_Single(a[3]),
                     Arg_ColourSingle(a[4]), Arg_ColourSingle(a[5]));
}
void F_DrawLineWidthColor(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  GR_Draw_Line_Width_Color(RValue_Single(a[0]), RValue_Single(a[1]), RValue_Single(a[2]), RValue_Single(a[3]),
                           RValue_Single(a[4]), Arg_ColourSingle(a[5]), Arg_ColourSingle(a[6]));
}
void F_DrawRectangleColor(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  GR_Draw_Rectangle_Color(RValue_Single(a[0]), RValue_Single(a[1]), RValue_Single(a[2]), RValue_Single(a[3]),
                          Arg_ColourSingle(a[4]), Arg_ColourSingle(a[5]), Arg_ColourSingle(a[6]),
                          Arg_ColourSingle(a[7]), RValue_IsTrue(a[8]));
}
void F_DrawRoundrectColor(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  GR_Draw_RoundRect_Color(RValue_Single(a[0]), RValue_Single(a[1]), RValue_Single(a[2]), RValue_Single(a[3]), 10, 10,
                          Arg_ColourSingle(a[4]), Arg_ColourSingle(a[5]), RValue_IsTrue(a[6]));
}
void F_DrawTriangleColor(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  GR_Draw_Triangle_Color(RValue_Single(a[0]), RValue_Single(a[1]), RValue_Single(a[2]), RValue_Single(a[3]),
                         RValue_Single(a[4]), RValue_Single(a[5]), Arg_ColourSingle(a[6]), Arg_ColourSingle(a[7]),
                         Arg_ColourSingle(a[8]), RValue_IsTrue(a[9]));
}
void F_DrawCircleColor(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  GR_Draw_Circle_Color(RValue_Single(a[0]), RValue_Single(a[1]), RValue_Single(a[2]), Arg_ColourSingle(a[3]),
                       Arg_ColourSingle(a[4]), RValue_IsTrue(a[5]));
}
void F_DrawEllipseColor(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  GR_Draw_Ellipse_Color(RValue_Single(a[0]), RValue_Single(a[1]), RValue_Single(a[2]), RValue_Single(a[3]),
                        Arg_ColourSingle(a[4]), Arg_ColourSingle(a[5]), RValue_IsTrue(a[6]));
}
void F_DrawSetCirclePrecision(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  GR_SetCirclePrecision(Arg_SingleRound(a[0]));
}

// A kind outside point list .. triangle fan starts nothing.
bool KnownKind(int kind) { return kind >= PR_POINTLIST && kind <= PR_TRIANGLEFAN; }
void F_DrawPrimitiveBegin(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  int kind = Arg_SingleRound(a[0]);
  if (KnownKind(kind)) GR_Primitive_Begin(kind, -1);
}
void F_DrawPrimitiveBeginTexture(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  int kind = RValue_RoundInt(a[0]);
  if (KnownKind(kind)) GR_Primitive_Begin(kind, RValue_RoundInt(a[1]));
}
void F_DrawVertex(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  GR_Primitive_Vertex(RValue_Single(a[0]), RValue_Single(a[1]));
}
void F_DrawVertexColor(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  GR_Primitive_Vertex_Color(RValue_Single(a[0]), RValue_Single(a[1]), Arg_Colour(a[2]), RValue_Single(a[3]));
}
void F_DrawVertexTexture(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  GR_Primitive_Vertex_Texture(RValue_Single(a[0]), RValue_Single(a[1]), RValue_Single(a[2]), RValue_Single(a[3]));
}
void F_DrawVertexTextureColor(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  GR_Primitive_Vertex_Texture_Color(RValue_Single(a[0]), RValue_Single(a[1]), RValue_Single(a[2]), RValue_Single(a[3]),
                                    Arg_Colour(a[4]), RValue_Single(a[5]));
}
void F_DrawPrimitiveEnd(RValue&, CInstance*, CInstance*, int, const RValue*) { GR_Primitive_End(); }

void F_SpriteGetTexture(RValue& r, CInstance* self, CInstance*, int, const RValue* a) {
  const CSprite* s = Sprite_Data(RValue_RoundInt(a[0]));
  if (!s) {
    Error_Show_Action("Trying to get texture from non-existing sprite.", false);
    return;
  }
  int sub = Arg_SingleRound(a[1]);
  if (sub < 0) sub = Graphics_SelfImage(self);
  Give(r, s->GetTexture(sub));
}
void F_BackgroundGetTexture(RValue& r, CInstance*, CInstance*, int, const RValue* a) {
  const CBackground* b = Background_Data(RValue_RoundInt(a[0]));
  if (!b) {
    Error_Show_Action("Trying to get texture from non-existing background.", false);
    return;
  }
  Give(r, b->GetTexture());
}
void F_TextureExists(RValue& r, CInstance*, CInstance*, int, const RValue* a) {
  Give(r, GR_Texture_Exists(Arg_SingleRound(a[0])) ? 1 : 0);
}
void F_TextureGetWidth(RValue& r, CInstance*, CInstance*, int, const RValue* a) {
  Give(r, GR_Texture_GetWidth(Arg_SingleRound(a[0])));
}
void F_TextureGetHeight(RValue& r, CInstance*, CInstance*, int, const RValue* a) {
  Give(r, GR_Texture_GetHeight(Arg_SingleRound(a[0])));
}
void F_TextureSetInterpolation(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  GR_SetInterpolation(RValue_IsTrue(a[0]));
}
void F_TextureSetBlending(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  GR_SetTextureBlending(RValue_IsTrue(a[0]));
}
void F_TextureSetRepeat(RValue&, CInstance*, CInstance*, int, const RValue* a) { GR_SetRepeat(RValue_IsTrue(a[0])); }
void F_TexturePreload(RValue&, CInstance*, CInstance*, int, const RValue* a) { GR_Texture_Preload(Arg_SingleRound(a[0])); }
void F_TextureSetPriority(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  GR_Texture_SetPriority(Arg_SingleRound(a[0]), Arg_SingleRound(a[1]));
}
}  // namespace

void Function_Graphics_Draw_Init() {
  Function_Add("draw_set_color", F_DrawSetColor, 1);
  Function_Add("draw_get_color", F_DrawGetColor, 0);
  Function_Add("draw_set_alpha", F_DrawSetAlpha, 1);
  Function_Add("draw_get_alpha", F_DrawGetAlpha, 0);
  Function_Add("make_color_rgb", F_MakeColorRgb, 3);
  Function_Add("make_color", F_MakeColorRgb, 3);
  Function_Add("make_color_hsv", F_MakeColorHsv, 3);
  Function_Add("color_get_red", F_ColorGetRed, 1);
  Function_Add("color_get_green", F_ColorGetGreen, 1);
  Function_Add("color_get_blue", F_ColorGetBlue, 1);
  Function_Add("color_get_hue", F_ColorGetHue, 1);
  Function_Add("color_get_saturation", F_ColorGetSaturation, 1);
  Function_Add("color_get_value", F_ColorGetValue, 1);
  Function_Add("merge_color", F_MergeColor, 3);
  Function_Add("draw_set_blend_mode", F_DrawSetBlendMode, 1);
  Function_Add("draw_set_blend_mode_ext", F_DrawSetBlendModeExt, 2);
  Function_Add("draw_clear", F_DrawClear, 1);
  Function_Add("draw_clear_alpha", F_DrawClearAlpha, 2);

  Function_Add("draw_point", F_DrawPoint, 2);
  Function_Add("draw_line", F_DrawLine, 4);
  Function_Add("draw_line_width", F_DrawLineWidth, 5);
  Function_Add("draw_rectangle", F_DrawRectangle, 5);
  Function_Add("draw_roundrect", F_DrawRoundrect, 5);
  Function_Add("draw_triangle", F_DrawTriangle, 7);
  Function_Add("draw_circle", F_DrawCircle, 4);
  Function_Add("draw_ellipse", F_DrawEllipse, 5);
  Function_Add("draw_arrow", F_DrawArrow, 5);
  Function_Add("draw_button", F_DrawButton, 5);
  Function_Add("draw_healthbar", F_DrawHealthbar, 11);
  Function_Add("draw_path", F_DrawPath, 4);
  Function_Add("draw_point_color", F_DrawPointColor, 3);
  Function_Add("draw_line_color", F_DrawLineColor, 6);
  Function_Add("draw_line_width_color", F_DrawLineWidthColor, 7);
  Function_Add("draw_rectangle_color", F_DrawRectangleColor, 9);
  Function_Add("draw_roundrect_color", F_DrawRoundrectColor, 7);
  Function_Add("draw_triangle_color", F_DrawTriangleColor, 10);
  Function_Add("draw_circle_color", F_DrawCircleColor, 6);
  Function_Add("draw_ellipse_color", F_DrawEllipseColor, 7);
  Function_Add("draw_set_circle_precision", F_DrawSetCirclePrecision, 1);

  Function_Add("draw_primitive_begin", F_DrawPrimitiveBegin, 1);
  Function_Add("draw_primitive_begin_texture", F_DrawPrimitiveBeginTexture, 2);
  Function_Add("draw_vertex", F_DrawVertex, 2);
  Function_Add("draw_vertex_color", F_DrawVertexColor, 4);
  Function_Add("draw_vertex_texture", F_DrawVertexTexture, 4);
  Function_Add("draw_vertex_texture_color", F_DrawVertexTextureColor, 6);
  Function_Add("draw_primitive_end", F_DrawPrimitiveEnd, 0);

  Function_Add("sprite_get_texture", F_SpriteGetTexture, 2);
  Function_Add("background_get_texture", F_BackgroundGetTexture, 1);
  Function_Add("texture_exists", F_TextureExists, 1);
  Function_Add("texture_get_width", F_TextureGetWidth, 1);
  Function_Add("texture_get_height", F_TextureGetHeight, 1);
  Function_Add("texture_set_interpolation", F_TextureSetInterpolation, 1);
  Function_Add("texture_set_blending", F_TextureSetBlending, 1);
  Function_Add("texture_set_repeat", F_TextureSetRepeat, 1);
  Function_Add("texture_preload", F_TexturePreload, 1);
  Function_Add("texture_set_priority", F_TextureSetPriority, 2);
}
