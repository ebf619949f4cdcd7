// The background built-ins: queries, creating from a colour, a gradient, the
// screen, a surface or a file, copies and saving. Every creation first
// appends an empty background and gives its index, whatever follows.
#include <memory>
#include <vector>

#include "Background/Background_Main.h"
#include "Code/Code_Error.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Resource.h"
#include "Graphics/Graphics_Image.h"
#include "Graphics/Graphics_Surface.h"
#include "Graphics_API/Graphics_Device.h"

namespace {
CBackground* Find(const RValue& v) { return Background_Data(RValue_RoundInt(v)); }

CBackground* FindOrReport(const RValue& v, const char* message) {
  CBackground* b = Find(v);
  if (!b) Error_Show_Action(message, false);
  return b;
}

// A new empty background: its index is the result.
CBackground* Create(RValue& Result) {
  int index = Background_Create();
  Give(Result, index);
  return Background_Data(index);
}

void F_BackgroundSetAlphaFromBackground(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  CBackground *b = Find(arg[0]), *src = Find(arg[1]);
  if (b && src) b->SetAlphaFromBackground(*src);
}

// The 3-argument form is preloaded.
void F_BackgroundCreateColor(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) {
  bool preload = argc >= 4 ? RValue_IsTrueAbove(arg[3]) : true;
  Create(Result)->CreateColor(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), uint32_t(RValue_RoundInt(arg[2])), preload);
}

// The 5-argument form is not preloaded.
void F_BackgroundCreateGradient(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) {
  Create(Result)->CreateGradient(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), uint32_t(RValue_RoundInt(arg[2])),
                                 uint32_t(RValue_RoundInt(arg[3])), RValue_RoundInt(arg[4]), RValue_IsTrueAbove(Arg_Or0(argc, arg, 5)));
}

// A rectangle (x, y, w, h) of the back buffer (surface < 0) or a surface,
// then transparent, smooth and preload (off when not given).
void CreateFrom(RValue& Result, int surface, const RValue* rect, int given) {
  CBackground* b = Create(Result);
  int x = RValue_RoundInt(rect[0]), y = RValue_RoundInt(rect[1]), w = RValue_RoundInt(rect[2]), h = RValue_RoundInt(rect[3]);
  Batch_Flush();
  std::unique_ptr<CBitmap32> image;
  if (surface < 0) image.reset(Graphics_GrabScreenRect(GR_Window_GetWidth(), GR_Window_GetHeight(), x, y, w, h));
  else if (Surface_Exists(surface)) image.reset(Graphics_GrabSurfaceRect(Surface_GetTexture(surface), x, y, w, h));
  if (image)
    b->CreateFromBitmap(std::move(*image), RValue_IsTrueAbove(rect[4]), RValue_IsTrueAbove(rect[5]),
                        RValue_IsTrueAbove(Arg_Or0(given, rect, 6)));
}

void F_BackgroundCreateFromScreen(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) {
  CreateFrom(Result, -1, arg, argc);
}
void F_BackgroundCreateFromSurface(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) {
  CreateFrom(Result, RValue_RoundInt(arg[0]), arg + 1, argc - 1);
}

void F_BackgroundAdd(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) {
  Give(Result, Background_Add(RValue_Text(arg[0]), RValue_IsTrue(arg[1]), RValue_IsTrue(arg[2]),
                              RValue_IsTrueAbove(Arg_Or0(argc, arg, 3))));
}
void F_BackgroundAddAlpha(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  Give(Result, Background_AddAlpha(RValue_Text(arg[0]), RValue_IsTrue(arg[1])));
}

// The 4-argument form is preloaded.
void F_BackgroundReplace(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) {
  if (!FindOrReport(arg[0], "Trying to replace non-existing background.")) return;
  bool preload = argc >= 5 ? RValue_IsTrueAbove(arg[4]) : true;
  Give(Result, Background_Replace(RValue_RoundInt(arg[0]), RValue_Text(arg[1]), RValue_IsTrue(arg[2]),
                                  RValue_IsTrue(arg[3]), preload)
                   ? 1
                   : 0);
}
void F_BackgroundReplaceAlpha(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (!FindOrReport(arg[0], "Trying to replace non-existing background.")) return;
  Give(Result, Background_ReplaceAlpha(RValue_RoundInt(arg[0]), RValue_Text(arg[1]), RValue_IsTrue(arg[2])) ? 1 : 0);
}

void F_BackgroundDelete(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (FindOrReport(arg[0], "Trying to delete non-existing background."))
    Give(Result, Background_Delete(RValue_RoundInt(arg[0])) ? 1 : 0);
}
void F_BackgroundDuplicate(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (FindOrReport(arg[0], "Trying to duplicate non-existing background."))
    Give(Result, Background_Duplicate(RValue_RoundInt(arg[0])));
}
void F_BackgroundAssign(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (Background_Assign(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1])) <= 0)
    Error_Show_Action("Error assigning a background.", false);
}

void F_BackgroundSave(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  CBackground* b = FindOrReport(arg[0], "Trying to save non-existing background bitmap.");
  if (!b) return;
  const char* file = RValue_Text(arg[1]);
  if (!*file) {
    Error_Show_Action("Trying to save background bitmap to empty image file name.", false);
    return;
  }
  CBitmap32 image;
  if (!b->GetBitmap(image) || image.pixels.empty()) return;
  Resource_SavePNG(file, image);
}
}  // namespace

void Function_Resource_Background_Init(bool v800) {
  Function_Add("background_exists", Resource_Exists<Background_Exists>, 1);
  Function_Add("background_get_name", Resource_Name<Background_Name>, 1);
  Function_Add("background_name", Resource_Name<Background_Name>, 1);
  Function_Add("background_get_width", Resource_Field<Background_Data, &CBackground::width>, 1);
  Function_Add("background_get_height", Resource_Field<Background_Data, &CBackground::height>, 1);
  Function_Add("background_get_transparent", Resource_Field<Background_Data, &CBackground::transparent>, 1);
  Function_Add("background_get_smooth", Resource_Field<Background_Data, &CBackground::smooth>, 1);
  Function_Add("background_get_preload", Resource_Field<Background_Data, &CBackground::preload>, 1);

  Function_Add("background_set_alpha_from_background", F_BackgroundSetAlphaFromBackground, 2);
  Function_Add("background_create_color", F_BackgroundCreateColor, v800 ? 3 : 4);
  Function_Add("background_replace", F_BackgroundReplace, v800 ? 4 : 5);
  Function_Add("background_create_from_screen", F_BackgroundCreateFromScreen, v800 ? 6 : 7);
  Function_Add("background_create_from_surface", F_BackgroundCreateFromSurface, v800 ? 7 : 8);
  Function_Add("background_create_gradient", F_BackgroundCreateGradient, v800 ? 5 : 6);
  Function_Add("background_add", F_BackgroundAdd, v800 ? 3 : 4);
  if (v800) {
    Function_Add("background_add_background", Resource_Unsupported, 1);
    Function_Add("background_replace_background", Resource_Unsupported, 2);
  } else {
    Function_Add("background_add_alpha", F_BackgroundAddAlpha, 2);
    Function_Add("background_replace_alpha", F_BackgroundReplaceAlpha, 3);
  }
  Function_Add("background_delete", F_BackgroundDelete, 1);
  Function_Add("background_duplicate", F_BackgroundDuplicate, 1);
  Function_Add("background_assign", F_BackgroundAssign, 2);
  Function_Add("background_save", F_BackgroundSave, 2);
}
