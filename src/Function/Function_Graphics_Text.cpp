// Text built-ins: font and alignment, text sizes and text drawing.
#include <string>

#include "Code/Code_BuiltinTable.h"
#include "Font/Font_Main.h"
#include "Function/Function_Graphics.h"

namespace {

void F_DrawSetFont(RValue&, CInstance*, CInstance*, int, const RValue* a) { Text_SetFont(Arg_SingleRound(a[0])); }
void F_DrawSetHalign(RValue&, CInstance*, CInstance*, int, const RValue* a) { Text_SetHAlign(Arg_SingleRound(a[0])); }
void F_DrawSetValign(RValue&, CInstance*, CInstance*, int, const RValue* a) { Text_SetVAlign(Arg_SingleRound(a[0])); }

// The size queries take strings only: a real measures as the empty text.
void F_StringWidth(RValue& r, CInstance*, CInstance*, int, const RValue* a) {
  RValue_SetReal(&r, Text_Width(RValue_Text(a[0]), -1, -1));
}
void F_StringHeight(RValue& r, CInstance*, CInstance*, int, const RValue* a) {
  RValue_SetReal(&r, Text_Height(RValue_Text(a[0]), -1, -1));
}
void F_StringWidthExt(RValue& r, CInstance*, CInstance*, int, const RValue* a) {
  RValue_SetReal(&r, Text_Width(RValue_Text(a[0]), Arg_SingleRound(a[1]), Arg_SingleRound(a[2])));
}
void F_StringHeightExt(RValue& r, CInstance*, CInstance*, int, const RValue* a) {
  RValue_SetReal(&r, Text_Height(RValue_Text(a[0]), Arg_SingleRound(a[1]), Arg_SingleRound(a[2])));
}

void F_DrawText(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  Text_Draw(RValue_Single(a[0]), RValue_Single(a[1]), Graphics_ArgText(a[2]).c_str(), -1, -1);
}
void F_DrawTextExt(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  Text_Draw(RValue_Single(a[0]), RValue_Single(a[1]), Graphics_ArgText(a[2]).c_str(), Arg_SingleRound(a[3]),
            Arg_SingleRound(a[4]));
}
void F_DrawTextTransformed(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  Text_DrawTransformed(RValue_Single(a[0]), RValue_Single(a[1]), Graphics_ArgText(a[2]).c_str(), -1, -1,
                       RValue_Single(a[3]), RValue_Single(a[4]), RValue_Single(a[5]));
}
void F_DrawTextExtTransformed(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  Text_DrawTransformed(RValue_Single(a[0]), RValue_Single(a[1]), Graphics_ArgText(a[2]).c_str(), Arg_SingleRound(a[3]),
                       Arg_SingleRound(a[4]), RValue_Single(a[5]), RValue_Single(a[6]), RValue_Single(a[7]));
}
void F_DrawTextColor(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  Text_DrawColor(RValue_Single(a[0]), RValue_Single(a[1]), Graphics_ArgText(a[2]).c_str(), -1, -1, Arg_Colour(a[3]),
                 Arg_Colour(a[4]), Arg_Colour(a[5]), Arg_Colour(a[6]), RValue_Single(a[7]));
}
void F_DrawTextTransformedColor(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  Text_DrawTransformedColor(RValue_Single(a[0]), RValue_Single(a[1]), Graphics_ArgText(a[2]).c_str(), -1, -1,
                            RValue_Single(a[3]), RValue_Single(a[4]), RValue_Single(a[5]), Arg_Colour(a[6]),
                            Arg_Colour(a[7]), Arg_Colour(a[8]), Arg_Colour(a[9]), RValue_Single(a[10]));
}
void F_DrawTextExtColor(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  Text_DrawColor(RValue_Single(a[0]), RValue_Single(a[1]), Graphics_ArgText(a[2]).c_str(), Arg_SingleRound(a[3]),
                 Arg_SingleRound(a[4]), Arg_Colour(a[5]), Arg_Colour(a[6]), Arg_Colour(a[7]), Arg_Colour(a[8]),
                 RValue_Single(a[9]));
}
void F_DrawTextExtTransformedColor(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  Text_DrawTransformedColor(RValue_Single(a[0]), RValue_Single(a[1]), Graphics_ArgText(a[2]).c_str(),
                            Arg_SingleRound(a[3]), Arg_SingleRound(a[4]), RValue_Single(a[5]), RValue_Single(a[6]),
                            RValue_Single(a[7]), Arg_Colour(a[8]), Arg_Colour(a[9]), Arg_Colour(a[10]),
                            Arg_Colour(a[11]), RValue_Single(a[12]));
}
}  // namespace

void Function_Graphics_Text_Init() {
  Function_Add("draw_set_font", F_DrawSetFont, 1);
  Function_Add("draw_set_halign", F_DrawSetHalign, 1);
  Function_Add("draw_set_valign", F_DrawSetValign, 1);
  Function_Add("string_width", F_StringWidth, 1);
  Function_Add("string_height", F_StringHeight, 1);
  Function_Add("string_width_ext", F_StringWidthExt, 3);
  Function_Add("string_height_ext", F_StringHeightExt, 3);
  Function_Add("draw_text", F_DrawText, 3);
  Function_Add("draw_text_ext", F_DrawTextExt, 5);
  Function_Add("draw_text_transformed", F_DrawTextTransformed, 6);
  Function_Add("draw_text_ext_transformed", F_DrawTextExtTransformed, 8);
  Function_Add("draw_text_color", F_DrawTextColor, 8);
  Function_Add("draw_text_transformed_color", F_DrawTextTransformedColor, 11);
  Function_Add("draw_text_ext_color", F_DrawTextExtColor, 10);
  Function_Add("draw_text_ext_transformed_color", F_DrawTextExtTransformedColor, 13);
}
