// The sprite built-ins: queries, changes, adding from files, addresses, the
// screen and surfaces, and saving images. Packages of version 800 or more
// register some names with shorter or longer argument lists; each handler
// tells the forms apart by its argument count.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "Base/Console.h"
#include "Code/Code_Error.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Data_Structures.h"
#include "Function/Function_Resource.h"
#include "Graphics/Graphics_Image.h"
#include "Graphics/Graphics_Surface.h"
#include "Graphics_API/Graphics_Device.h"
#include "IO/HTTP_Main.h"
#include "Object/Object_Event.h"
#include "Sprite/Sprite_Main.h"

namespace {
// The largest side a texture (and so an image a sprite is saved from) may have.
constexpr int64_t MAX_IMAGE_SIDE = 8192;

CSprite* Find(const RValue& v) { return Sprite_Data(RValue_RoundInt(v)); }

// The sprite of an argument, or none after the report.
CSprite* FindOrReport(const RValue& v, const char* message) {
  CSprite* s = Find(v);
  if (!s) Error_Show_Action(message, false);
  return s;
}

// ---- Changes (silent for a missing sprite) ----

void F_SpriteSetOffset(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CSprite* s = Find(arg[0])) {
    s->xorig = RValue_RoundInt(arg[1]);
    s->yorig = RValue_RoundInt(arg[2]);
  }
}
void F_SpriteSetBboxMode(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CSprite* s = Find(arg[0])) s->SetBboxMode(RValue_RoundInt(arg[1]));
}
void F_SpriteSetBbox(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CSprite* s = Find(arg[0]))
    s->SetBbox(RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]), RValue_RoundInt(arg[3]), RValue_RoundInt(arg[4]));
}
void F_SpriteSetPrecise(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CSprite* s = Find(arg[0])) s->SetPrecise(RValue_IsTrue(arg[1]));
}
void F_SpriteSetAlphaFromSprite(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  CSprite *s = Find(arg[0]), *src = Find(arg[1]);
  if (s && src) s->SetAlphaFromSprite(*src);
}
// The eight mask settings are not used: the mask becomes precise.
void F_SpriteCollisionMask(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CSprite* s = FindOrReport(arg[0], "Trying to save non-existing sprite bitmap.")) {
    s->SetPrecise(true);
    s->CreateMask();
  }
}

// ---- Adding and replacing from files ----

void F_SpriteAdd(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) {
  const char* file = RValue_Text(arg[0]);
  int count = RValue_RoundInt(arg[1]);
  if (argc >= 8)
    Give(Result, Sprite_Add(file, count, RValue_IsTrue(arg[2]), RValue_IsTrue(arg[3]), RValue_IsTrueAbove(arg[4]),
                            RValue_IsTrueAbove(arg[5]), RValue_RoundInt(arg[6]), RValue_RoundInt(arg[7])));
  else
    Give(Result, Sprite_Add(file, count, false, RValue_IsTrue(arg[2]), RValue_IsTrueAbove(arg[3]), false,
                            RValue_RoundInt(arg[4]), RValue_RoundInt(arg[5])));
}

void F_SpriteReplace(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) {
  if (!FindOrReport(arg[0], "Trying to replace non-existing sprite.")) return;
  int index = RValue_RoundInt(arg[0]), count = RValue_RoundInt(arg[2]);
  const char* file = RValue_Text(arg[1]);
  bool ok;
  if (argc >= 9)
    ok = Sprite_Replace(index, file, count, RValue_IsTrue(arg[3]), RValue_IsTrue(arg[4]), RValue_IsTrueAbove(arg[5]),
                        RValue_IsTrueAbove(arg[6]), RValue_RoundInt(arg[7]), RValue_RoundInt(arg[8]));
  else
    ok = Sprite_Replace(index, file, count, true, RValue_IsTrueAbove(arg[3]), RValue_IsTrueAbove(arg[4]), true,
                        RValue_RoundInt(arg[5]), RValue_RoundInt(arg[6]));
  Give(Result, ok ? 1 : 0);
}

void F_SpriteAddAlpha(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  Give(Result, Sprite_AddAlpha(RValue_Text(arg[0]), RValue_RoundInt(arg[1]), RValue_IsTrue(arg[2]), RValue_IsTrueAbove(arg[3]),
                               RValue_RoundInt(arg[4]), RValue_RoundInt(arg[5])));
}

void F_SpriteReplaceAlpha(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (!FindOrReport(arg[0], "Trying to replace non-existing sprite.")) return;
  Give(Result, Sprite_ReplaceAlpha(RValue_RoundInt(arg[0]), RValue_Text(arg[1]), RValue_RoundInt(arg[2]), RValue_IsTrue(arg[3]),
                                   RValue_IsTrueAbove(arg[4]), RValue_RoundInt(arg[5]), RValue_RoundInt(arg[6]))
                   ? 1
                   : 0);
}

// ---- Grabbing the screen or a surface ----

// A rectangle of the back buffer (surface < 0) or of a surface; null when
// nothing of it lies inside.
std::unique_ptr<CBitmap32> Grab(int surface, const RValue* rect) {
  int x = RValue_RoundInt(rect[0]), y = RValue_RoundInt(rect[1]), w = RValue_RoundInt(rect[2]), h = RValue_RoundInt(rect[3]);
  Batch_Flush();
  if (surface < 0) return std::unique_ptr<CBitmap32>(Graphics_GrabScreenRect(GR_Window_GetWidth(), GR_Window_GetHeight(), x, y, w, h));
  if (!Surface_Exists(surface)) return nullptr;
  return std::unique_ptr<CBitmap32>(Graphics_GrabSurfaceRect(Surface_GetTexture(surface), x, y, w, h));
}

// A new sprite of one grabbed image. The flags follow the rectangle: the
// long form gives precise, transparent, smooth, preload and the origin; the
// short one transparent, smooth and the origin, with precise on and preload
// as given. The index is the result also when nothing could be grabbed.
void CreateFrom(RValue& Result, int surface, const RValue* rect, bool longForm, bool shortPreload) {
  int index = Sprite_Create();
  Give(Result, index);
  std::unique_ptr<CBitmap32> image = Grab(surface, rect);
  if (!image) return;
  const RValue* f = rect + 4;
  if (longForm)
    Sprite_Data(index)->CreateFromBitmap(std::move(*image), RValue_IsTrueAbove(f[0]), RValue_IsTrueAbove(f[1]),
                                         RValue_IsTrueAbove(f[2]), RValue_IsTrueAbove(f[3]), RValue_RoundInt(f[4]), RValue_RoundInt(f[5]));
  else
    Sprite_Data(index)->CreateFromBitmap(std::move(*image), true, RValue_IsTrueAbove(f[0]), RValue_IsTrueAbove(f[1]),
                                         shortPreload, RValue_RoundInt(f[2]), RValue_RoundInt(f[3]));
}

void F_SpriteCreateFromScreen(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) {
  CreateFrom(Result, -1, arg, argc >= 10, true);
}
void F_SpriteCreateFromSurface(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) {
  CreateFrom(Result, RValue_RoundInt(arg[0]), arg + 1, argc >= 11, false);
}

void AddFrom(int surface, const RValue& sprite, const RValue* rect) {
  CSprite* s = FindOrReport(sprite, "Trying to add to non-existing sprite.");
  if (!s) return;
  if (std::unique_ptr<CBitmap32> image = Grab(surface, rect)) s->AddBitmap(*image);
}
void F_SpriteAddFromScreen(RValue&, CInstance*, CInstance*, int, const RValue* arg) { AddFrom(-1, arg[0], arg + 1); }
void F_SpriteAddFromSurface(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  AddFrom(RValue_RoundInt(arg[1]), arg[0], arg + 2);
}

// ---- Copies ----

void F_SpriteDelete(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (FindOrReport(arg[0], "Trying to delete non-existing sprite.")) Give(Result, Sprite_Delete(RValue_RoundInt(arg[0])) ? 1 : 0);
}
void F_SpriteDuplicate(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (FindOrReport(arg[0], "Trying to duplicate non-existing sprite.")) Give(Result, Sprite_Duplicate(RValue_RoundInt(arg[0])));
}
void F_SpriteAssign(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (Sprite_Assign(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1])) <= 0) Error_Show_Action("Error assigning a sprite.", false);
}
void F_SpriteMerge(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  CSprite* dest = FindOrReport(arg[0], "Trying to merge to non-existing sprite.");
  if (!dest) return;
  if (CSprite* src = FindOrReport(arg[1], "Trying to merge from non-existing sprite.")) dest->Merge(*src);
}

// ---- Saving ----

// The sprite and file name of a save, or none after the report.
CSprite* SaveArgs(const RValue& sprite, const RValue& file) {
  CSprite* s = FindOrReport(sprite, "Trying to save non-existing sprite bitmap.");
  if (s && !*RValue_Text(file)) {
    Error_Show_Action("Trying to save sprite bitmap to empty image file name.", false);
    return nullptr;
  }
  return s;
}

// The frame is written at its bitmap's own size, which need not be the
// sprite's.
void F_SpriteSave(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  CSprite* s = SaveArgs(arg[0], arg[2]);
  if (!s) return;
  CBitmap32 image;
  if (!s->GetFrameBitmap(RValue_RoundInt(arg[1]), image) || image.pixels.empty()) {
    Console_Printf("sprite_save() failed - no bitmap data available\n");
    return;
  }
  Resource_SavePNG(RValue_Text(arg[2]), image);
}

// The images side by side on opaque black, in order.
void F_SpriteSaveStrip(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  CSprite* s = SaveArgs(arg[0], arg[1]);
  if (!s || s->numb < 1) return;
  int64_t width = int64_t(s->numb) * s->width;
  if (s->width < 1 || s->height < 1 || width > MAX_IMAGE_SIDE || s->height > MAX_IMAGE_SIDE) {
    Console_Printf("sprite_save_strip() failed - the strip would be %lld by %d pixels\n", (long long)width, s->height);
    return;
  }
  CBitmap32 strip(int(width), s->height);
  std::fill(strip.pixels.begin(), strip.pixels.end(), 0xFF000000u);
  for (int i = 0; i < s->numb; i++) {
    CBitmap32 image;
    if (!s->GetFrameBitmap(i, image)) continue;
    for (int y = 0; y < std::min(image.height, strip.height); y++)
      for (int x = 0; x < std::min(image.width, s->width); x++) strip.Row(y)[i * s->width + x] = image.Row(y)[x];
  }
  Resource_SavePNG(RValue_Text(arg[1]), strip);
}

// ---- Downloads ----

int SpriteLoaded(HTTP_REQ_CONTEXT* req, void* arg, int* mapIndex) {
  int index = int(reinterpret_cast<intptr_t>(arg));
  int status = Sprite_AsyncLoaded(index, req->body.data(), req->body.size());
  const DS_MapPair pairs[] = {
      {"filename", 0, req->url.c_str()},
      {"id", double(index), nullptr},
      {"status", double(status), nullptr},
  };
  *mapIndex = DS_Map_CreateFromPairs(3, pairs);
  return EV_OTHER_IMAGE_LOADED;
}
}  // namespace

bool Resource_StartSpriteDownload(int index, const char* url) {
  HTTP_Get(url, SpriteLoaded, nullptr, reinterpret_cast<void*>(intptr_t(index)));
  return true;
}

void Function_Resource_Sprite_Init(bool v800) {
  Function_Add("sprite_exists", Resource_Exists<Sprite_Exists>, 1);
  Function_Add("sprite_get_name", Resource_Name<Sprite_Name>, 1);
  Function_Add("sprite_name", Resource_Name<Sprite_Name>, 1);
  Function_Add("sprite_get_number", Resource_Field<Sprite_Data, &CSprite::numb>, 1);
  Function_Add("sprite_get_width", Resource_Field<Sprite_Data, &CSprite::width>, 1);
  Function_Add("sprite_get_height", Resource_Field<Sprite_Data, &CSprite::height>, 1);
  Function_Add("sprite_get_transparent", Resource_Field<Sprite_Data, &CSprite::transparent>, 1);
  Function_Add("sprite_get_smooth", Resource_Field<Sprite_Data, &CSprite::smooth>, 1);
  Function_Add("sprite_get_preload", Resource_Field<Sprite_Data, &CSprite::preload>, 1);
  Function_Add("sprite_get_precise", Resource_Field<Sprite_Data, &CSprite::precise>, 1);
  Function_Add("sprite_get_xoffset", Resource_Field<Sprite_Data, &CSprite::xorig>, 1);
  Function_Add("sprite_get_yoffset", Resource_Field<Sprite_Data, &CSprite::yorig>, 1);
  Function_Add("sprite_get_bbox_mode", Resource_Field<Sprite_Data, &CSprite::bboxMode>, 1);
  Function_Add("sprite_get_bbox_left", Resource_Field<Sprite_Data, &CSprite::bboxLeft>, 1);
  Function_Add("sprite_get_bbox_right", Resource_Field<Sprite_Data, &CSprite::bboxRight>, 1);
  Function_Add("sprite_get_bbox_top", Resource_Field<Sprite_Data, &CSprite::bboxTop>, 1);
  Function_Add("sprite_get_bbox_bottom", Resource_Field<Sprite_Data, &CSprite::bboxBottom>, 1);

  Function_Add("sprite_set_offset", F_SpriteSetOffset, 3);
  Function_Add("sprite_set_bbox_mode", F_SpriteSetBboxMode, 2);
  Function_Add("sprite_set_bbox", F_SpriteSetBbox, 5);
  Function_Add("sprite_set_precise", F_SpriteSetPrecise, 2);
  Function_Add("sprite_set_alpha_from_sprite", F_SpriteSetAlphaFromSprite, 2);
  Function_Add("sprite_collision_mask", F_SpriteCollisionMask, 9);

  Function_Add("sprite_add", F_SpriteAdd, v800 ? 6 : 8);
  Function_Add("sprite_create_from_screen", F_SpriteCreateFromScreen, v800 ? 8 : 10);
  Function_Add("sprite_add_from_screen", F_SpriteAddFromScreen, v800 ? 7 : 5);
  Function_Add("sprite_create_from_surface", F_SpriteCreateFromSurface, v800 ? 9 : 11);
  Function_Add("sprite_add_from_surface", F_SpriteAddFromSurface, v800 ? 8 : 6);
  Function_Add("sprite_replace", F_SpriteReplace, v800 ? 7 : 9);
  if (v800) {
    Function_Add("sprite_add_sprite", Resource_Unsupported, 1);
    Function_Add("sprite_replace_sprite", Resource_Unsupported, 2);
    Function_Add("sprite_save_strip", F_SpriteSaveStrip, 2);
  } else {
    Function_Add("sprite_add_alpha", F_SpriteAddAlpha, 6);
    Function_Add("sprite_replace_alpha", F_SpriteReplaceAlpha, 7);
  }
  Function_Add("sprite_delete", F_SpriteDelete, 1);
  Function_Add("sprite_duplicate", F_SpriteDuplicate, 1);
  Function_Add("sprite_assign", F_SpriteAssign, 2);
  Function_Add("sprite_merge", F_SpriteMerge, 2);
  Function_Add("sprite_save", F_SpriteSave, 3);

  Function_Add("sprite_set_cache_size", F_Nothing, 2);
  Function_Add("sprite_set_cache_size_ext", F_Nothing, 3);
  Function_Add("sprite_get_tpe", F_Nothing, 2);
  Function_Add("font_set_cache_size", F_Nothing, 2);
}
