#include "Object/Object_Shape.h"

#include "Sprite/Sprite_Main.h"

bool Shape_Get(int sprite, SpriteShape* out) {
  const CSprite* s = Sprite_Data(sprite);
  if (!s) return false;
  out->width = s->width, out->height = s->height;
  out->xorigin = s->xorig, out->yorigin = s->yorig;
  out->frames = s->numb > 0 ? s->numb : 1;
  out->left = s->bboxLeft, out->top = s->bboxTop, out->right = s->bboxRight, out->bottom = s->bboxBottom;
  out->precise = s->precise && !s->masks.empty();
  return true;
}

bool Shape_Pixel(int sprite, int frame, int px, int py) {
  const CSprite* s = Sprite_Data(sprite);
  return s && s->MaskBit(frame, px, py);
}
