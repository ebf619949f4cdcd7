// The font built-ins: queries, fonts of a typeface or of a sprite's images,
// replacing and deleting.
#include "Code/Code_Error.h"
#include "Code/Code_BuiltinTable.h"
#include "Font/Font_Main.h"
#include "Function/Function_Resource.h"
#include "Sprite/Sprite_Main.h"

namespace {
bool FontOrReport(const RValue& v) {
  if (Font_Exists(RValue_RoundInt(v))) return true;
  Error_Show_Action("Trying to replace non-existing font.", false);
  return false;
}

bool SpriteOrReport(const RValue& v, const char* message) {
  if (Sprite_Exists(RValue_RoundInt(v))) return true;
  Error_Show_Action(message, false);
  return false;
}

void F_FontGetFontname(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  const CFontCW* f = Font_Get(RValue_RoundInt(arg[0]));
  RValue_SetString(&Result, f ? f->GetName() : "");
}

void F_FontAdd(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  Give(Result, Font_Add(RValue_Text(arg[0]), RValue_RoundInt(arg[1]), RValue_IsTrue(arg[2]), RValue_IsTrue(arg[3]),
                        RValue_RoundInt(arg[4]), RValue_RoundInt(arg[5])));
}

void F_FontReplace(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (!FontOrReport(arg[0])) return;
  Give(Result, Font_Replace(RValue_RoundInt(arg[0]), RValue_Text(arg[1]), RValue_RoundInt(arg[2]), RValue_IsTrue(arg[3]),
                            RValue_IsTrue(arg[4]), RValue_RoundInt(arg[5]), RValue_RoundInt(arg[6]))
                   ? 1
                   : 0);
}

constexpr char kNoSpriteToAdd[] = "Trying to create font from non-existing sprite.";
constexpr char kNoSpriteToReplace[] = "Trying to replace font from non-existing sprite.";

void F_FontAddSprite(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (SpriteOrReport(arg[0], kNoSpriteToAdd))
    Give(Result, Font_AddSprite(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_IsTrue(arg[2]), RValue_RoundInt(arg[3])));
}
void F_FontAddSpriteExt(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (SpriteOrReport(arg[0], kNoSpriteToAdd))
    Give(Result,
         Font_AddSpriteExt(RValue_RoundInt(arg[0]), RValue_Text(arg[1]), RValue_IsTrue(arg[2]), RValue_RoundInt(arg[3])));
}
void F_FontReplaceSprite(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (FontOrReport(arg[0]) && SpriteOrReport(arg[1], kNoSpriteToReplace))
    Give(Result, Font_ReplaceSprite(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]), RValue_IsTrue(arg[3]),
                                    RValue_RoundInt(arg[4]))
                     ? 1
                     : 0);
}
void F_FontReplaceSpriteExt(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (FontOrReport(arg[0]) && SpriteOrReport(arg[1], kNoSpriteToReplace))
    Give(Result, Font_ReplaceSpriteExt(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_Text(arg[2]),
                                       RValue_IsTrue(arg[3]), RValue_RoundInt(arg[4]))
                     ? 1
                     : 0);
}

void F_FontDelete(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (!Font_Exists(RValue_RoundInt(arg[0]))) {
    Error_Show_Action("Trying to delete non-existing font.", false);
    return;
  }
  Give(Result, Font_Delete(RValue_RoundInt(arg[0])) ? 1 : 0);
}
}  // namespace

void Function_Resource_Font_Init() {
  Function_Add("font_exists", Resource_Exists<Font_Exists>, 1);
  Function_Add("font_get_name", Resource_Name<Font_GetName>, 1);
  Function_Add("font_name", Resource_Name<Font_GetName>, 1);
  Function_Add("font_get_fontname", F_FontGetFontname, 1);
  Function_Add("font_get_size", Resource_Field<Font_Get, &CFontCW::size>, 1);
  Function_Add("font_get_bold", Resource_Field<Font_Get, &CFontCW::bold>, 1);
  Function_Add("font_get_italic", Resource_Field<Font_Get, &CFontCW::italic>, 1);
  Function_Add("font_get_first", Resource_Field<Font_Get, &CFontCW::first>, 1);
  Function_Add("font_get_last", Resource_Field<Font_Get, &CFontCW::last>, 1);
  Function_Add("font_add", F_FontAdd, 6);
  Function_Add("font_add_sprite", F_FontAddSprite, 4);
  Function_Add("font_add_sprite_ext", F_FontAddSpriteExt, 4);
  Function_Add("font_replace", F_FontReplace, 7);
  Function_Add("font_replace_sprite", F_FontReplaceSprite, 5);
  Function_Add("font_replace_sprite_ext", F_FontReplaceSpriteExt, 5);
  Function_Add("font_delete", F_FontDelete, 1);
}
