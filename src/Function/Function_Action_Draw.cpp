// The drawing action built-ins (every position relative to self while the
// relative flag is set), the cursor, the web page, full screen, the
// snapshot and the ready-made effects.
#include <cmath>
#include <string>

#include "Background/Background_Main.h"
#include "Base/Text_Real.h"
#include "Code/Code_Error.h"
#include "Code/Code_BuiltinTable.h"
#include "Font/Font_Main.h"
#include "Function/Function_Action.h"
#include "Function/Function_Graphics.h"
#include "Graphics/Graphics_Draw.h"
#include "Graphics_API/Window_Main.h"
#include "Particle/Particle_Effect.h"
#include "Run/Run_Main.h"
#include "Sprite/Sprite_Main.h"
#include "Support/Support_DLL.h"

using namespace action;

namespace {
constexpr uint32_t WHITE = 0xFFFFFF;

void F_DrawSprite(ACTION_ARGS) {
  const CSprite* s = Sprite_Data(RValue_RoundInt(arg[0]));
  if (!s) {
    Error_Show_Action("Trying to draw a non-existing sprite.", false);
    return;
  }
  double subimage = RValue_Real(arg[3]);
  if (subimage < 0) subimage = self ? self->image_index : 0;
  s->Draw(Convert_TruncInt(std::floor(subimage)), RelX(self, arg[1]), RelY(self, arg[2]), 1, 1, 0, WHITE, 1);
}

void F_DrawBackground(ACTION_ARGS) {
  const CBackground* b = Background_Data(RValue_RoundInt(arg[0]));
  if (!b) {
    Error_Show_Action("Trying to draw a non-existing background.", false);
    return;
  }
  float w, h;
  Graphics_TiledArea(&w, &h);
  bool tiled = RValue_IsTrue(arg[3]);
  b->DrawTiled(RelX(self, arg[1]), RelY(self, arg[2]), 1, 1, tiled, tiled, 0, 0, w, h, WHITE, 1);
}

void F_DrawText(ACTION_ARGS) {
  Text_Draw(RelX(self, arg[1]), RelY(self, arg[2]), Graphics_ArgText(arg[0]).c_str(), -1, -1);
}

void F_DrawTextTransformed(ACTION_ARGS) {
  Text_DrawTransformed(RelX(self, arg[1]), RelY(self, arg[2]), Graphics_ArgText(arg[0]).c_str(), -1, -1,
                       RValue_Single(arg[3]), RValue_Single(arg[4]), RValue_Single(arg[5]));
}

// A whole real as "%d", any other as "%10.2f"; a whole real beyond 32 bits
// is written as `string` writes it rather than cut to 32 bits.
std::string VariableText(const RValue& v) {
  if (RValue_IsString(v)) return RValue_Text(v);
  double d = RValue_Real(v);
  if (d != std::nearbyint(d)) return Text_Format("%10.2f", d);
  return Real_ToText(d);
}

void F_DrawVariable(ACTION_ARGS) {
  Text_Draw(RelX(self, arg[1]), RelY(self, arg[2]), VariableText(arg[0]).c_str(), -1, -1);
}

// The four corners of a shape, each position relative.
struct Box {
  float x1, y1, x2, y2;
};

Box RelBox(const CInstance* self, const RValue* arg) {
  return {RelX(self, arg[0]), RelY(self, arg[1]), RelX(self, arg[2]), RelY(self, arg[3])};
}

void F_DrawRectangle(ACTION_ARGS) {
  Box b = RelBox(self, arg);
  GR_Draw_Rectangle(b.x1, b.y1, b.x2, b.y2, RValue_IsTrue(arg[4]));
}

// Corner colours go top-left, top-right, bottom-right, bottom-left.
void F_DrawGradientHor(ACTION_ARGS) {
  Box b = RelBox(self, arg);
  uint32_t c1 = Arg_Colour(arg[4]), c2 = Arg_Colour(arg[5]);
  GR_Draw_Rectangle_Color(b.x1, b.y1, b.x2, b.y2, c1, c2, c2, c1, false);
}

void F_DrawGradientVert(ACTION_ARGS) {
  Box b = RelBox(self, arg);
  uint32_t c1 = Arg_Colour(arg[4]), c2 = Arg_Colour(arg[5]);
  GR_Draw_Rectangle_Color(b.x1, b.y1, b.x2, b.y2, c1, c1, c2, c2, false);
}

void F_DrawEllipse(ACTION_ARGS) {
  Box b = RelBox(self, arg);
  GR_Draw_Ellipse(b.x1, b.y1, b.x2, b.y2, RValue_IsTrue(arg[4]));
}

void F_DrawEllipseGradient(ACTION_ARGS) {
  Box b = RelBox(self, arg);
  GR_Draw_Ellipse_Color(b.x1, b.y1, b.x2, b.y2, Arg_Colour(arg[4]), Arg_Colour(arg[5]), false);
}

void F_DrawLine(ACTION_ARGS) {
  Box b = RelBox(self, arg);
  GR_Draw_Line(b.x1, b.y1, b.x2, b.y2);
}

void F_DrawArrow(ACTION_ARGS) {
  Box b = RelBox(self, arg);
  GR_Draw_Arrow(b.x1, b.y1, b.x2, b.y2, RValue_Single(arg[4]));
}

void F_Color(ACTION_ARGS) { GR_SetColor(Arg_Colour(arg[0])); }

void F_Font(ACTION_ARGS) {
  Text_SetFont(RValue_RoundInt(arg[0]));
  Text_SetHAlign(RValue_RoundInt(arg[1]));
}

// ---- Other ----

constexpr int CURSOR_DEFAULT = 0, CURSOR_NONE = -1;

void F_SetCursor(ACTION_ARGS) {
  g_CursorSprite = RValue_RoundInt(arg[0]);
  Window_SetCursor(RValue_IsTrue(arg[1]) ? CURSOR_DEFAULT : CURSOR_NONE);
}

void F_Webpage(ACTION_ARGS) {
  if (!Execute_Shell(RValue_Text(arg[0]), "", nullptr)) Error_Show_Action("Failed to open the webpage.", false);
}

// 1 windowed, 2 full screen, anything else switches.
void F_Fullscreen(ACTION_ARGS) {
  int choice = RValue_RoundInt(arg[0]);
  GR_Window_SetFullScreen(choice == 1 ? false : choice == 2 ? true : !GR_Window_GetFullScreen());
}

void F_Snapshot(ACTION_ARGS) { Graphics_ScreenSave(arg[0]); }

void F_Effect(ACTION_ARGS) {
  Effect_Create(RValue_Real(arg[5]) < 0.5, RValue_RoundInt(arg[0]), RelX(self, arg[1]), RelY(self, arg[2]),
                RValue_RoundInt(arg[3]), Arg_Colour(arg[4]));
}
}  // namespace

void Function_Action_Draw_Init() {
  Function_Add("action_draw_sprite", F_DrawSprite, 4);
  Function_Add("action_draw_background", F_DrawBackground, 4);
  Function_Add("action_draw_text", F_DrawText, 3);
  Function_Add("action_draw_text_transformed", F_DrawTextTransformed, 6);
  Function_Add("action_draw_variable", F_DrawVariable, 3);
  Function_Add("action_draw_rectangle", F_DrawRectangle, 5);
  Function_Add("action_draw_gradient_hor", F_DrawGradientHor, 6);
  Function_Add("action_draw_gradient_vert", F_DrawGradientVert, 6);
  Function_Add("action_draw_ellipse", F_DrawEllipse, 5);
  Function_Add("action_draw_ellipse_gradient", F_DrawEllipseGradient, 6);
  Function_Add("action_draw_line", F_DrawLine, 4);
  Function_Add("action_draw_arrow", F_DrawArrow, 5);
  Function_Add("action_color", F_Color, 1);
  Function_Add("action_font", F_Font, 2);

  Function_Add("action_set_cursor", F_SetCursor, 2);
  Function_Add("action_webpage", F_Webpage, 1);
  Function_Add("action_fullscreen", F_Fullscreen, 1);
  Function_Add("action_snapshot", F_Snapshot, 1);
  Function_Add("action_effect", F_Effect, 6);
}
