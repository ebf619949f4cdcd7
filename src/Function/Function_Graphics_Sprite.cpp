// Drawing built-ins for sprites and backgrounds.
#include <cmath>

#include "Background/Background_Main.h"
#include "Code/Code_Error.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Graphics.h"
#include "Graphics/Graphics_Draw.h"
#include "Object/Instance_Class.h"
#include "Sprite/Sprite_Main.h"

namespace {
constexpr uint32_t WHITE = 0xFFFFFF;

// The sprite and sub-image of the first two arguments; null (after the
// report) when the sprite does not exist. A negative sub-image means the
// calling instance's own frame.
const CSprite* SpriteArgs(CInstance* self, const RValue* arg, int* subimg) {
  float sub = std::floor(RValue_Single(arg[1]));
  *subimg = sub < 0 ? Graphics_SelfImage(self) : Convert_TruncInt(sub);
  const CSprite* s = Sprite_Data(RValue_TruncInt(arg[0]));
  if (!s) Error_Show_Action("Trying to draw non-existing sprite.", false);
  return s;
}

void F_DrawSelf(RValue&, CInstance* self, CInstance*, int, const RValue*) {
  const CSprite* s = self ? Sprite_Data(self->sprite_index) : nullptr;
  if (!s) {
    Error_Show_Action("Trying to draw non-existing sprite.", false);
    return;
  }
  s->Draw(Graphics_SelfImage(self), self->x, self->y, self->image_xscale, self->image_yscale, self->image_angle,
          self->image_blend, self->image_alpha);
}

void F_DrawSprite(RValue&, CInstance* self, CInstance*, int, const RValue* arg) {
  int sub;
  if (const CSprite* s = SpriteArgs(self, arg, &sub)) s->DrawSimple(sub, RValue_Single(arg[2]), RValue_Single(arg[3]));
}

void F_DrawSpriteExt(RValue&, CInstance* self, CInstance*, int, const RValue* arg) {
  int sub;
  if (const CSprite* s = SpriteArgs(self, arg, &sub))
    s->Draw(sub, RValue_Single(arg[2]), RValue_Single(arg[3]), RValue_Single(arg[4]), RValue_Single(arg[5]),
            RValue_Single(arg[6]), Arg_Colour(arg[7]), RValue_Single(arg[8]));
}

void F_DrawSpritePos(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  const CSprite* s = Sprite_Data(RValue_TruncInt(arg[0]));
  if (!s) {
    Error_Show_Action("Trying to draw non-existing sprite.", false);
    return;
  }
  s->DrawPos(RValue_TruncInt(arg[1]), RValue_Single(arg[2]), RValue_Single(arg[3]), RValue_Single(arg[4]),
             RValue_Single(arg[5]), RValue_Single(arg[6]), RValue_Single(arg[7]), RValue_Single(arg[8]),
             RValue_Single(arg[9]), WHITE, RValue_Single(arg[10]));
}

void F_DrawSpritePart(RValue&, CInstance* self, CInstance*, int, const RValue* arg) {
  int sub;
  if (const CSprite* s = SpriteArgs(self, arg, &sub))
    s->DrawPart(sub, RValue_Single(arg[2]), RValue_Single(arg[3]), RValue_Single(arg[4]), RValue_Single(arg[5]),
                RValue_Single(arg[6]), RValue_Single(arg[7]), 1, 1, WHITE, GR_GetAlpha());
}

void F_DrawSpritePartExt(RValue&, CInstance* self, CInstance*, int, const RValue* arg) {
  int sub;
  if (const CSprite* s = SpriteArgs(self, arg, &sub))
    s->DrawPart(sub, RValue_Single(arg[2]), RValue_Single(arg[3]), RValue_Single(arg[4]), RValue_Single(arg[5]),
                RValue_Single(arg[6]), RValue_Single(arg[7]), RValue_Single(arg[8]), RValue_Single(arg[9]),
                Arg_Colour(arg[10]), RValue_Single(arg[11]));
}

void F_DrawSpriteGeneral(RValue&, CInstance* self, CInstance*, int, const RValue* arg) {
  int sub;
  if (const CSprite* s = SpriteArgs(self, arg, &sub))
    s->DrawGeneral(sub, RValue_Single(arg[2]), RValue_Single(arg[3]), RValue_Single(arg[4]), RValue_Single(arg[5]),
                   RValue_Single(arg[6]), RValue_Single(arg[7]), RValue_Single(arg[8]), RValue_Single(arg[9]),
                   RValue_Single(arg[10]), Arg_Colour(arg[11]), Arg_Colour(arg[12]), Arg_Colour(arg[13]),
                   Arg_Colour(arg[14]), RValue_Single(arg[15]));
}

void F_DrawSpriteStretched(RValue&, CInstance* self, CInstance*, int, const RValue* arg) {
  int sub;
  if (const CSprite* s = SpriteArgs(self, arg, &sub))
    s->DrawStretched(sub, RValue_Single(arg[2]), RValue_Single(arg[3]), RValue_Single(arg[4]), RValue_Single(arg[5]),
                     WHITE, GR_GetAlpha());
}

void F_DrawSpriteStretchedExt(RValue&, CInstance* self, CInstance*, int, const RValue* arg) {
  int sub;
  if (const CSprite* s = SpriteArgs(self, arg, &sub))
    s->DrawStretched(sub, RValue_Single(arg[2]), RValue_Single(arg[3]), RValue_Single(arg[4]), RValue_Single(arg[5]),
                     Arg_Colour(arg[6]), RValue_Single(arg[7]));
}

void SpriteTiled(CInstance* self, const RValue* arg, float xscale, float yscale, uint32_t colour, float alpha) {
  int sub;
  const CSprite* s = SpriteArgs(self, arg, &sub);
  if (!s || !Graphics_TiledScaleOk(xscale, yscale)) return;
  float w, h;
  Graphics_TiledArea(&w, &h);
  s->DrawTiled(sub, RValue_Single(arg[2]), RValue_Single(arg[3]), xscale, yscale, true, true, 0, 0, w, h, colour,
               alpha);
}

void F_DrawSpriteTiled(RValue&, CInstance* self, CInstance*, int, const RValue* arg) {
  SpriteTiled(self, arg, 1, 1, WHITE, GR_GetAlpha());
}

void F_DrawSpriteTiledExt(RValue&, CInstance* self, CInstance*, int, const RValue* arg) {
  SpriteTiled(self, arg, RValue_Single(arg[4]), RValue_Single(arg[5]), Arg_Colour(arg[6]), RValue_Single(arg[7]));
}

// The background of the first argument; null (after the report) when it does not exist.
const CBackground* BackgroundArg(const RValue& v) {
  const CBackground* b = Background_Data(RValue_RoundInt(v));
  if (!b) Error_Show_Action("Trying to draw non-existing background.", false);
  return b;
}

void F_DrawBackground(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (const CBackground* b = BackgroundArg(arg[0])) b->Draw(RValue_Single(arg[1]), RValue_Single(arg[2]));
}

void F_DrawBackgroundExt(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (const CBackground* b = BackgroundArg(arg[0]))
    b->DrawExt(RValue_Single(arg[1]), RValue_Single(arg[2]), RValue_Single(arg[3]), RValue_Single(arg[4]),
               RValue_Single(arg[5]), Arg_Colour(arg[6]), RValue_Single(arg[7]));
}

void F_DrawBackgroundPart(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (const CBackground* b = BackgroundArg(arg[0]))
    b->DrawPart(RValue_Single(arg[1]), RValue_Single(arg[2]), RValue_Single(arg[3]), RValue_Single(arg[4]),
                RValue_Single(arg[5]), RValue_Single(arg[6]), 1, 1, WHITE, GR_GetAlpha());
}

void F_DrawBackgroundPartExt(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (const CBackground* b = BackgroundArg(arg[0]))
    b->DrawPart(RValue_Single(arg[1]), RValue_Single(arg[2]), RValue_Single(arg[3]), RValue_Single(arg[4]),
                RValue_Single(arg[5]), RValue_Single(arg[6]), RValue_Single(arg[7]), RValue_Single(arg[8]),
                Arg_Colour(arg[9]), RValue_Single(arg[10]));
}

void F_DrawBackgroundGeneral(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (const CBackground* b = BackgroundArg(arg[0]))
    b->DrawGeneral(RValue_Single(arg[1]), RValue_Single(arg[2]), RValue_Single(arg[3]), RValue_Single(arg[4]),
                   RValue_Single(arg[5]), RValue_Single(arg[6]), RValue_Single(arg[7]), RValue_Single(arg[8]),
                   RValue_Single(arg[9]), Arg_Colour(arg[10]), Arg_Colour(arg[11]), Arg_Colour(arg[12]),
                   Arg_Colour(arg[13]), RValue_Single(arg[14]));
}

void F_DrawBackgroundStretched(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (const CBackground* b = BackgroundArg(arg[0]))
    b->DrawStretched(RValue_Single(arg[1]), RValue_Single(arg[2]), RValue_Single(arg[3]), RValue_Single(arg[4]), WHITE,
                     GR_GetAlpha());
}

void F_DrawBackgroundStretchedExt(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (const CBackground* b = BackgroundArg(arg[0]))
    b->DrawStretched(RValue_Single(arg[1]), RValue_Single(arg[2]), RValue_Single(arg[3]), RValue_Single(arg[4]),
                     Arg_Colour(arg[5]), RValue_Single(arg[6]));
}

void BackgroundTiled(const RValue* arg, float xscale, float yscale, uint32_t colour, float alpha) {
  const CBackground* b = BackgroundArg(arg[0]);
  if (!b || !Graphics_TiledScaleOk(xscale, yscale)) return;
  float w, h;
  Graphics_TiledArea(&w, &h);
  b->DrawTiled(RValue_Single(arg[1]), RValue_Single(arg[2]), xscale, yscale, true, true, 0, 0, w, h, colour, alpha);
}

void F_DrawBackgroundTiled(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  BackgroundTiled(arg, 1, 1, WHITE, GR_GetAlpha());
}

void F_DrawBackgroundTiledExt(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  BackgroundTiled(arg, RValue_Single(arg[3]), RValue_Single(arg[4]), Arg_Colour(arg[5]), RValue_Single(arg[6]));
}
}  // namespace

void Function_Graphics_Sprite_Init() {
  Function_Add("draw_self", F_DrawSelf, 0);
  Function_Add("draw_sprite", F_DrawSprite, 4);
  Function_Add("draw_sprite_ext", F_DrawSpriteExt, 9);
  Function_Add("draw_sprite_pos", F_DrawSpritePos, 11);
  Function_Add("draw_sprite_part", F_DrawSpritePart, 8);
  Function_Add("draw_sprite_part_ext", F_DrawSpritePartExt, 12);
  Function_Add("draw_sprite_general", F_DrawSpriteGeneral, 16);
  Function_Add("draw_sprite_stretched", F_DrawSpriteStretched, 6);
  Function_Add("draw_sprite_stretched_ext", F_DrawSpriteStretchedExt, 8);
  Function_Add("draw_sprite_tiled", F_DrawSpriteTiled, 4);
  Function_Add("draw_sprite_tiled_ext", F_DrawSpriteTiledExt, 8);
  Function_Add("draw_background", F_DrawBackground, 3);
  Function_Add("draw_background_ext", F_DrawBackgroundExt, 8);
  Function_Add("draw_background_part", F_DrawBackgroundPart, 7);
  Function_Add("draw_background_part_ext", F_DrawBackgroundPartExt, 11);
  Function_Add("draw_background_general", F_DrawBackgroundGeneral, 15);
  Function_Add("draw_background_stretched", F_DrawBackgroundStretched, 5);
  Function_Add("draw_background_stretched_ext", F_DrawBackgroundStretchedExt, 7);
  Function_Add("draw_background_tiled", F_DrawBackgroundTiled, 3);
  Function_Add("draw_background_tiled_ext", F_DrawBackgroundTiledExt, 7);
}
