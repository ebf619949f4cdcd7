// The action built-ins for score, lives and health: setting them (with the
// no-more-lives and no-more-health events), testing and drawing them, the
// highscore table and the window caption's parts.
#include <string>

#include "Code/Code_BuiltinTable.h"
#include "Font/Font_Main.h"
#include "Function/Function_Action.h"
#include "Graphics/Graphics_Draw.h"
#include "Object/Object_Event.h"
#include "Platform/MemoryManager.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Run/Highscore_Main.h"
#include "Run/Run_Main.h"
#include "Sprite/Sprite_Main.h"

using namespace action;

namespace {
// The caption, when it is a text, followed by the number.
void DrawCounter(CInstance* self, const RValue* arg, int value) {
  std::string text = RValue_IsString(arg[2]) ? RValue_Text(arg[2]) : "";
  text += std::to_string(value);
  Text_Draw(RelX(self, arg[0]), RelY(self, arg[1]), text.c_str(), -1, -1);
}

int RelativeCount(int current, const RValue& v) {
  int value = RValue_RoundInt(v);
  return g_ActionRelative ? current + value : value;
}

// ---- Score ----

void F_SetScore(ACTION_ARGS) { g_Score = RelativeCount(g_Score, arg[0]); }
void F_IfScore(ACTION_ARGS) { SetBool(result, Compare(g_Score, RValue_Real(arg[0]), arg[1])); }
void F_DrawScore(ACTION_ARGS) { DrawCounter(self, arg, g_Score); }

// The highscore table in a 200 x 200 box in the middle of the room.
constexpr int HIGHSCORE_BOX = 200;

void F_HighscoreShow(ACTION_ARGS) {
  static const int handler = Function_FindBuiltIn("draw_highscore");
  const RFunction* draw = Function_Get(handler);
  if (!draw) return;
  int w = g_RunRoom ? g_RunRoom->width : 0, h = g_RunRoom ? g_RunRoom->height : 0;
  double left = w / 2 - HIGHSCORE_BOX / 2, top = h / 2 - HIGHSCORE_BOX / 2;
  RValue corners[4] = {{VALUE_REAL, nullptr, left},
                       {VALUE_REAL, nullptr, top},
                       {VALUE_REAL, nullptr, left + HIGHSCORE_BOX},
                       {VALUE_REAL, nullptr, top + HIGHSCORE_BOX}};
  draw->routine(result, self, other, 4, corners);
}

void F_HighscoreClear(ACTION_ARGS) { Highscore_Clear(); }

// ---- Lives ----

// The no-more-lives event fires only when lives fall from 1 or more to
// below 1, not again while they stay there.
void F_SetLife(ACTION_ARGS) {
  int before = g_Lives;
  g_Lives = RelativeCount(g_Lives, arg[0]);
  if (before >= 1 && g_Lives < 1) Run_OtherEvent(EV_OTHER_NO_MORE_LIVES);
}

void F_IfLife(ACTION_ARGS) { SetBool(result, Compare(g_Lives, RValue_Real(arg[0]), arg[1])); }
void F_DrawLife(ACTION_ARGS) { DrawCounter(self, arg, g_Lives); }

void F_DrawLifeImages(ACTION_ARGS) {
  const CSprite* s = Sprite_Data(RValue_RoundInt(arg[2]));
  if (!s) return;
  float x = RelX(self, arg[0]), y = RelY(self, arg[1]);
  for (int i = 0; i < g_Lives; i++) s->Draw(0, x + float(i) * float(s->width), y, 1, 1, 0, 0xFFFFFF, 1);
}

// ---- Health ----

void F_SetHealth(ACTION_ARGS) {
  double before = g_Health;
  g_Health = Relative(g_Health, arg[0]);
  if (before > 0 && g_Health <= 0) Run_OtherEvent(EV_OTHER_NO_MORE_HEALTH);
}

void F_IfHealth(ACTION_ARGS) { SetBool(result, Compare(g_Health, RValue_Real(arg[0]), arg[1])); }

// The colour menus of the health bar, as script colours. The back colour of
// entry i is MENU[i]; the single bar colour of entries 2 to 17 is MENU[i - 1].
constexpr uint32_t HEALTH_MENU[18] = {0x000000, 0x000000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000080,
                                      0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x0000FF,
                                      0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0x000000};
constexpr int HEALTH_MENU_LAST = 17;

struct BarColours {
  uint32_t min, mid, max;
};

BarColours HealthBarColours(int menu) {
  if (menu == 0) return {0x0000FF, 0x00FFFF, 0x00FF00};
  if (menu == 1) return {0x000000, 0x808080, 0xFFFFFF};
  uint32_t c = menu >= 2 && menu <= HEALTH_MENU_LAST ? HEALTH_MENU[menu - 1] : 0x000000;
  return {c, c, c};
}

void F_DrawHealth(ACTION_ARGS) {
  int back = RValue_RoundInt(arg[4]);
  uint32_t backColour = back >= 0 && back <= HEALTH_MENU_LAST ? HEALTH_MENU[back] : 0x000000;
  BarColours bar = HealthBarColours(RValue_RoundInt(arg[5]));
  GR_Draw_HealthBar(RelX(self, arg[0]), RelY(self, arg[1]), RelX(self, arg[2]), RelY(self, arg[3]),
                    static_cast<float>(g_Health), backColour, bar.min, bar.mid, bar.max, 0, RValue_IsTrue(arg[4]),
                    true);
}

// ---- Caption ----

void SetCaption(char*& caption, const RValue& v) {
  MEM_FREE(caption);
  caption = RValue_IsString(v) ? String_Duplicate(RValue_Text(v)) : nullptr;
}

void F_SetCaption(ACTION_ARGS) {
  g_ShowScore = RValue_RoundInt(arg[0]) == 1;
  SetCaption(g_CaptionScore, arg[1]);
  g_ShowLives = RValue_RoundInt(arg[2]) == 1;
  SetCaption(g_CaptionLives, arg[3]);
  g_ShowHealth = RValue_RoundInt(arg[4]) == 1;
  SetCaption(g_CaptionHealth, arg[5]);
}
}  // namespace

void Function_Action_Score_Init() {
  Function_Add("action_set_score", F_SetScore, 1);
  Function_Add("action_if_score", F_IfScore, 2);
  Function_Add("action_draw_score", F_DrawScore, 3);
  Function_Add("action_highscore_show", F_HighscoreShow, 11);
  Function_Add("action_highscore_clear", F_HighscoreClear, 0);
  Function_Add("action_set_life", F_SetLife, 1);
  Function_Add("action_if_life", F_IfLife, 2);
  Function_Add("action_draw_life", F_DrawLife, 3);
  Function_Add("action_draw_life_images", F_DrawLifeImages, 3);
  Function_Add("action_set_health", F_SetHealth, 1);
  Function_Add("action_if_health", F_IfHealth, 2);
  Function_Add("action_draw_health", F_DrawHealth, 6);
  Function_Add("action_set_caption", F_SetCaption, 6);
}
