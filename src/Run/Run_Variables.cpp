// The built-in variables of the game world: instance fields, the room, the
// game globals, input, backgrounds and views.
#include <cmath>
#include <cstring>
#include <type_traits>

#include "Base/Convert.h"
#include "Base/File_Folders.h"
#include "Base/RValue.h"
#include "Code/Code_Error.h"
#include "Graphics_API/Window_Main.h"
#include "IO/IO_Main.h"
#include "Object/Instance_Class.h"
#include "Object/Object_Event.h"
#include "Background/Background_Main.h"
#include "Sprite/Sprite_Main.h"
#include "Platform/MemoryManager.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Run/Run_Main.h"
#include "Run/Run_Mouse.h"
#include "Run/Run_Names.h"
#include "Support/Support_File.h"
#include "Variable/Variable_BuiltIn.h"

namespace {
// Instance fields read and written as they stand.
template <float CInstance::*F>
bool GV_Float(CInstance* i, int, RValue* v) {
  RValue_SetReal(v, i ? i->*F : 0.0);
  return true;
}
template <float CInstance::*F>
bool SV_Float(CInstance* i, int, RValue* v) {
  if (i) i->*F = RValue_Single(*v);
  return true;
}
template <int CInstance::*F>
bool GV_Int(CInstance* i, int, RValue* v) {
  RValue_SetReal(v, i ? i->*F : 0);
  return true;
}
template <int CInstance::*F>
bool SV_Int(CInstance* i, int, RValue* v) {
  if (i) i->*F = RValue_RoundInt(*v);
  return true;
}
template <bool CInstance::*F>
bool GV_Bool(CInstance* i, int, RValue* v) {
  RValue_SetReal(v, i && i->*F ? 1 : 0);
  return true;
}
template <bool CInstance::*F>
bool SV_Bool(CInstance* i, int, RValue* v) {
  if (i) i->*F = RValue_IsTrue(*v);
  return true;
}

// Instance fields whose change moves something else along.
template <void (CInstance::*Set)(float)>
bool SV_Call(CInstance* i, int, RValue* v) {
  if (i) (i->*Set)(RValue_Single(*v));
  return true;
}
bool SV_X(CInstance* i, int, RValue* v) {
  if (i) i->SetPosition(RValue_Single(*v), i->y);
  return true;
}
bool SV_Y(CInstance* i, int, RValue* v) {
  if (i) i->SetPosition(i->x, RValue_Single(*v));
  return true;
}
bool SV_SpriteIndex(CInstance* i, int, RValue* v) {
  if (i) i->SetSpriteIndex(RValue_RoundInt(*v));
  return true;
}
bool SV_MaskIndex(CInstance* i, int, RValue* v) {
  if (i) i->SetMaskIndex(RValue_RoundInt(*v));
  return true;
}
bool GV_ImageBlend(CInstance* i, int, RValue* v) {
  RValue_SetReal(v, i ? i->image_blend : 0xFFFFFF);
  return true;
}
bool SV_ImageBlend(CInstance* i, int, RValue* v) {
  if (i) i->image_blend = static_cast<uint32_t>(Convert_RoundInt64(RValue_Real(*v)));
  return true;
}

bool GV_Alarm(CInstance* i, int index, RValue* v) {
  RValue_SetReal(v, i ? i->GetAlarm(index) : -1);
  return true;
}
bool SV_Alarm(CInstance* i, int index, RValue* v) {
  if (i) i->SetAlarm(index, RValue_RoundInt(*v));
  return true;
}

// Sprite measures of the instance's own sprite, scaled.
bool GV_SpriteMeasure(CInstance* i, RValue* v, int which) {
  const CSprite* s = i ? Sprite_Data(i->sprite_index) : nullptr;
  double r = 0;
  if (s) {
    const double measures[5] = {s->width * static_cast<double>(i->image_xscale),
                                s->height * static_cast<double>(i->image_yscale), static_cast<double>(s->xorig),
                                static_cast<double>(s->yorig), static_cast<double>(s->numb)};
    r = measures[which];
  }
  RValue_SetReal(v, r);
  return true;
}
bool GV_SpriteWidth(CInstance* i, int, RValue* v) { return GV_SpriteMeasure(i, v, 0); }
bool GV_SpriteHeight(CInstance* i, int, RValue* v) { return GV_SpriteMeasure(i, v, 1); }
bool GV_SpriteXOffset(CInstance* i, int, RValue* v) { return GV_SpriteMeasure(i, v, 2); }
bool GV_SpriteYOffset(CInstance* i, int, RValue* v) { return GV_SpriteMeasure(i, v, 3); }
bool GV_ImageNumber(CInstance* i, int, RValue* v) { return GV_SpriteMeasure(i, v, 4); }

bool GV_BBox(CInstance* i, RValue* v, int which) {
  int box[4] = {0, 0, 0, 0};
  if (i) i->GetBoundingBox(&box[0], &box[1], &box[2], &box[3]);
  RValue_SetReal(v, box[which]);
  return true;
}
bool GV_BBoxLeft(CInstance* i, int, RValue* v) { return GV_BBox(i, v, 0); }
bool GV_BBoxTop(CInstance* i, int, RValue* v) { return GV_BBox(i, v, 1); }
bool GV_BBoxRight(CInstance* i, int, RValue* v) { return GV_BBox(i, v, 2); }
bool GV_BBoxBottom(CInstance* i, int, RValue* v) { return GV_BBox(i, v, 3); }

bool SV_PathPosition(CInstance* i, int, RValue* v) {
  if (i) i->path_position = std::fmin(1.0f, std::fmax(0.0f, RValue_Single(*v)));
  return true;
}

// The room.
bool GV_Room(CInstance*, int, RValue* v) {
  RValue_SetReal(v, g_RoomIndex);
  return true;
}
bool SV_Room(CInstance*, int, RValue* v) {
  Run_GotoRoom(RValue_RoundInt(*v));
  return true;
}
bool GV_RoomFirst(CInstance*, int, RValue* v) {
  RValue_SetReal(v, Room_First());
  return true;
}
bool GV_RoomLast(CInstance*, int, RValue* v) {
  RValue_SetReal(v, Room_Last());
  return true;
}
template <int CRoom::*F>
bool GV_RoomInt(CInstance*, int, RValue* v) {
  RValue_SetReal(v, g_RunRoom ? g_RunRoom->*F : 0);
  return true;
}
template <int CRoom::*F>
bool SV_RoomInt(CInstance*, int, RValue* v) {
  if (g_RunRoom) g_RunRoom->*F = RValue_RoundInt(*v);
  return true;
}
template <bool CRoom::*F>
bool GV_RoomBool(CInstance*, int, RValue* v) {
  RValue_SetReal(v, g_RunRoom && g_RunRoom->*F ? 1 : 0);
  return true;
}
template <bool CRoom::*F>
bool SV_RoomBool(CInstance*, int, RValue* v) {
  if (g_RunRoom) g_RunRoom->*F = RValue_IsTrue(*v);
  return true;
}
bool GV_RoomCaption(CInstance*, int, RValue* v) {
  RValue_SetString(v, g_RunRoom && g_RunRoom->caption ? g_RunRoom->caption : "");
  return true;
}
bool SV_RoomCaption(CInstance*, int, RValue* v) {
  if (!g_RunRoom) return true;
  g_RunRoom->SetCaption(RValue_Text(*v));
  Window_SetCaption(RValue_Text(*v));
  return true;
}
bool GV_BackgroundColor(CInstance*, int, RValue* v) {
  RValue_SetReal(v, g_RunRoom ? g_RunRoom->colour : 0);
  return true;
}
bool SV_BackgroundColor(CInstance*, int, RValue* v) {
  if (g_RunRoom) g_RunRoom->colour = static_cast<uint32_t>(Convert_RoundInt64(RValue_Real(*v)));
  return true;
}

// Game globals. Lives and health that drop to 0 or below send the "no more"
// events.
bool GV_Score(CInstance*, int, RValue* v) {
  RValue_SetReal(v, g_Score);
  return true;
}
bool SV_Score(CInstance*, int, RValue* v) {
  g_Score = RValue_RoundInt(*v);
  return true;
}
bool GV_Lives(CInstance*, int, RValue* v) {
  RValue_SetReal(v, g_Lives);
  return true;
}
bool SV_Lives(CInstance*, int, RValue* v) {
  int old = g_Lives;
  g_Lives = RValue_RoundInt(*v);
  if (old > 0 && g_Lives <= 0) Run_OtherEvent(EV_OTHER_NO_MORE_LIVES);
  return true;
}
bool GV_Health(CInstance*, int, RValue* v) {
  RValue_SetReal(v, g_Health);
  return true;
}
bool SV_Health(CInstance*, int, RValue* v) {
  double old = g_Health;
  g_Health = RValue_Real(*v);
  if (old > 0 && g_Health <= 0) Run_OtherEvent(EV_OTHER_NO_MORE_HEALTH);
  return true;
}
template <bool* G>
bool GV_GlobalBool(CInstance*, int, RValue* v) {
  RValue_SetReal(v, *G ? 1 : 0);
  return true;
}
template <bool* G>
bool SV_GlobalBool(CInstance*, int, RValue* v) {
  *G = RValue_IsTrue(*v);
  return true;
}
template <char** G>
bool GV_GlobalText(CInstance*, int, RValue* v) {
  RValue_SetString(v, *G ? *G : "");
  return true;
}
template <char** G>
bool SV_GlobalText(CInstance*, int, RValue* v) {
  MEM_FREE(*G);
  *G = String_Duplicate(RValue_Text(*v));
  return true;
}
bool GV_CursorSprite(CInstance*, int, RValue* v) {
  RValue_SetReal(v, g_CursorSprite);
  return true;
}
bool SV_CursorSprite(CInstance*, int, RValue* v) {
  g_CursorSprite = RValue_RoundInt(*v);
  return true;
}
bool GV_TransitionKind(CInstance*, int, RValue* v) {
  RValue_SetReal(v, Run_TransitionKind);
  return true;
}
bool SV_TransitionKind(CInstance*, int, RValue* v) {
  Run_TransitionKind = RValue_RoundInt(*v);
  return true;
}
bool GV_ErrorLast(CInstance*, int, RValue* v) {
  RValue_SetString(v, Error_Last());
  return true;
}
bool SV_ErrorLast(CInstance*, int, RValue*) { return true; }
bool GV_ErrorOccurred(CInstance*, int, RValue* v) {
  RValue_SetReal(v, Error_Occurred() ? 1 : 0);
  return true;
}
bool SV_ErrorOccurred(CInstance*, int, RValue* v) {
  Error_SetOccurred(RValue_IsTrue(*v));
  return true;
}
bool GV_AsyncLoad(CInstance*, int, RValue* v) {
  RValue_SetReal(v, g_AsyncLoad);
  return true;
}
bool GV_Fps(CInstance*, int, RValue* v) {
  RValue_SetReal(v, Run_Fps);
  return true;
}
bool GV_InstanceCount(CInstance*, int, RValue* v) {
  RValue_SetReal(v, g_RunRoom ? static_cast<double>(g_RunRoom->active.size()) : 0);
  return true;
}
bool GV_WorkingDirectory(CInstance*, int, RValue* v) {
  char* dir = File_GetCurrentDirectory();
  RValue_SetString(v, dir ? dir : "");
  MEM_FREE(dir);
  return true;
}
bool GV_ProgramDirectory(CInstance*, int, RValue* v) {
  char* dir = File_GetProgramDirectory();
  RValue_SetString(v, dir ? dir : "");
  MEM_FREE(dir);
  return true;
}
bool GV_TempDirectory(CInstance*, int, RValue* v) {
  RValue_SetString(v, Run_TempDirectory());
  return true;
}

// Input.
bool GV_MouseX(CInstance*, int, RValue* v) {
  RValue_SetReal(v, Run_MouseRoomX());
  return true;
}
bool GV_MouseY(CInstance*, int, RValue* v) {
  RValue_SetReal(v, Run_MouseRoomY());
  return true;
}
bool GV_MouseButton(CInstance*, int, RValue* v) {
  RValue_SetReal(v, IO_Mouse_GetButton(0));
  return true;
}
bool SV_MouseButton(CInstance*, int, RValue* v) {
  IO_Mouse_SetButton(0, RValue_RoundInt(*v));
  return true;
}
bool GV_MouseLastButton(CInstance*, int, RValue* v) {
  RValue_SetReal(v, IO_Mouse_GetLastButton(0));
  return true;
}
bool SV_MouseLastButton(CInstance*, int, RValue* v) {
  IO_Mouse_SetLastButton(RValue_RoundInt(*v), 0);
  return true;
}
bool GV_KeyboardKey(CInstance*, int, RValue* v) {
  RValue_SetReal(v, IO_GetCurrentKey());
  return true;
}
bool SV_KeyboardKey(CInstance*, int, RValue* v) {
  IO_SetCurrentKey(RValue_RoundInt(*v));
  return true;
}
bool GV_KeyboardLastKey(CInstance*, int, RValue* v) {
  RValue_SetReal(v, IO_GetLastKey());
  return true;
}
bool SV_KeyboardLastKey(CInstance*, int, RValue* v) {
  IO_SetLastKey(RValue_RoundInt(*v));
  return true;
}
bool GV_KeyboardLastChar(CInstance*, int, RValue* v) {
  RValue_SetString(v, IO_GetLastChar());
  return true;
}
bool SV_KeyboardLastChar(CInstance*, int, RValue* v) {
  IO_SetLastChar(RValue_Text(*v));
  return true;
}
bool GV_KeyboardString(CInstance*, int, RValue* v) {
  RValue_SetString(v, IO_GetTypedText());
  return true;
}
bool SV_KeyboardString(CInstance*, int, RValue* v) {
  IO_SetTypedText(RValue_Text(*v));
  return true;
}

// Backgrounds and views of the current room, by array index 0 to 7.
template <class T, T RoomBackground::*F>
bool GV_Background(CInstance*, int index, RValue* v) {
  double r = 0;
  if (g_RunRoom && index >= 0 && index < ROOM_BACKGROUNDS) r = static_cast<double>(g_RunRoom->backgrounds[index].*F);
  RValue_SetReal(v, r);
  return true;
}
template <class T, T RoomBackground::*F>
bool SV_Background(CInstance*, int index, RValue* v) {
  if (!g_RunRoom || index < 0 || index >= ROOM_BACKGROUNDS) return true;
  T& field = g_RunRoom->backgrounds[index].*F;
  if constexpr (std::is_same_v<T, bool>) field = RValue_IsTrue(*v);
  else if constexpr (std::is_same_v<T, float>) field = RValue_Single(*v);
  else field = static_cast<T>(Convert_RoundInt64(RValue_Real(*v)));
  return true;
}
template <class T, T RoomView::*F>
bool GV_View(CInstance*, int index, RValue* v) {
  double r = 0;
  if (g_RunRoom && index >= 0 && index < ROOM_VIEWS) r = static_cast<double>(g_RunRoom->views[index].*F);
  RValue_SetReal(v, r);
  return true;
}
template <class T, T RoomView::*F>
bool SV_View(CInstance*, int index, RValue* v) {
  if (!g_RunRoom || index < 0 || index >= ROOM_VIEWS) return true;
  T& field = g_RunRoom->views[index].*F;
  if constexpr (std::is_same_v<T, bool>) field = RValue_IsTrue(*v);
  else if constexpr (std::is_same_v<T, float>) field = RValue_Single(*v);
  else field = RValue_RoundInt(*v);
  return true;
}
// The size of the background a slot shows (0 without one).
bool GV_BackgroundSize(int index, RValue* v, bool height) {
  const CBackground* b = g_RunRoom && index >= 0 && index < ROOM_BACKGROUNDS
                             ? Background_Data(g_RunRoom->backgrounds[index].index)
                             : nullptr;
  RValue_SetReal(v, b ? (height ? b->height : b->width) : 0);
  return true;
}
bool GV_BackgroundWidth(CInstance*, int index, RValue* v) { return GV_BackgroundSize(index, v, false); }
bool GV_BackgroundHeight(CInstance*, int index, RValue* v) { return GV_BackgroundSize(index, v, true); }
bool GV_ViewCurrent(CInstance*, int, RValue* v) {
  RValue_SetReal(v, g_ViewCurrent);
  return true;
}

#define RW(name, get, set) Variable_BuiltIn_Add(name, get, set, true)
#define RO(name, get) Variable_BuiltIn_Add(name, get, nullptr, false)
void (*g_PlatformVariables)() = nullptr;
}  // namespace

void Run_SetPlatformVariables(void (*add)()) { g_PlatformVariables = add; }

void Variable_Init_World() {
  using I = CInstance;
  int firstPerInstance = Variable_BuiltIn_Count();
  RW("x", GV_Float<&I::x>, SV_X);
  RW("y", GV_Float<&I::y>, SV_Y);
  RW("xprevious", GV_Float<&I::xprevious>, SV_Float<&I::xprevious>);
  RW("yprevious", GV_Float<&I::yprevious>, SV_Float<&I::yprevious>);
  RW("xstart", GV_Float<&I::xstart>, SV_Float<&I::xstart>);
  RW("ystart", GV_Float<&I::ystart>, SV_Float<&I::ystart>);
  RW("hspeed", GV_Float<&I::hspeed>, SV_Call<&I::SetHSpeed>);
  RW("vspeed", GV_Float<&I::vspeed>, SV_Call<&I::SetVSpeed>);
  RW("speed", GV_Float<&I::speed>, SV_Call<&I::SetSpeed>);
  RW("direction", GV_Float<&I::direction>, SV_Call<&I::SetDirection>);
  RW("friction", GV_Float<&I::friction>, SV_Float<&I::friction>);
  RW("gravity", GV_Float<&I::gravity>, SV_Float<&I::gravity>);
  RW("gravity_direction", GV_Float<&I::gravity_direction>, SV_Float<&I::gravity_direction>);
  RO("id", GV_Int<&I::id>);
  RO("object_index", GV_Int<&I::object_index>);
  RW("sprite_index", GV_Int<&I::sprite_index>, SV_SpriteIndex);
  RO("sprite_width", GV_SpriteWidth);
  RO("sprite_height", GV_SpriteHeight);
  RO("sprite_xoffset", GV_SpriteXOffset);
  RO("sprite_yoffset", GV_SpriteYOffset);
  RO("image_number", GV_ImageNumber);
  RW("image_index", GV_Float<&I::image_index>, SV_Float<&I::image_index>);
  RW("image_speed", GV_Float<&I::image_speed>, SV_Float<&I::image_speed>);
  RW("image_xscale", GV_Float<&I::image_xscale>, SV_Call<&I::SetImageXScale>);
  RW("image_yscale", GV_Float<&I::image_yscale>, SV_Call<&I::SetImageYScale>);
  RW("image_angle", GV_Float<&I::image_angle>, SV_Call<&I::SetImageAngle>);
  RW("image_alpha", GV_Float<&I::image_alpha>, SV_Float<&I::image_alpha>);
  RW("image_blend", GV_ImageBlend, SV_ImageBlend);
  RW("mask_index", GV_Int<&I::mask_index>, SV_MaskIndex);
  RW("solid", GV_Bool<&I::solid>, SV_Bool<&I::solid>);
  RW("visible", GV_Bool<&I::visible>, SV_Bool<&I::visible>);
  RW("persistent", GV_Bool<&I::persistent>, SV_Bool<&I::persistent>);
  RW("depth", GV_Float<&I::depth>, SV_Float<&I::depth>);
  RW("alarm", GV_Alarm, SV_Alarm);
  RO("bbox_left", GV_BBoxLeft);
  RO("bbox_right", GV_BBoxRight);
  RO("bbox_top", GV_BBoxTop);
  RO("bbox_bottom", GV_BBoxBottom);
  RO("path_index", GV_Int<&I::path_index>);
  RW("path_position", GV_Float<&I::path_position>, SV_PathPosition);
  RW("path_positionprevious", GV_Float<&I::path_positionprevious>, SV_Float<&I::path_positionprevious>);
  RW("path_speed", GV_Float<&I::path_speed>, SV_Float<&I::path_speed>);
  RW("path_scale", GV_Float<&I::path_scale>, SV_Float<&I::path_scale>);
  RW("path_orientation", GV_Float<&I::path_orientation>, SV_Float<&I::path_orientation>);
  RW("path_endaction", GV_Int<&I::path_endaction>, SV_Int<&I::path_endaction>);
  RW("timeline_index", GV_Int<&I::timeline_index>, SV_Int<&I::timeline_index>);
  RW("timeline_position", GV_Float<&I::timeline_position>, SV_Float<&I::timeline_position>);
  RW("timeline_speed", GV_Float<&I::timeline_speed>, SV_Float<&I::timeline_speed>);
  RW("timeline_running", GV_Bool<&I::timeline_running>, SV_Bool<&I::timeline_running>);
  RW("timeline_loop", GV_Bool<&I::timeline_loop>, SV_Bool<&I::timeline_loop>);
  Variable_BuiltIn_MarkPerInstance(firstPerInstance);

  RW("room", GV_Room, SV_Room);
  RO("room_first", GV_RoomFirst);
  RO("room_last", GV_RoomLast);
  RW("room_width", GV_RoomInt<&CRoom::width>, SV_RoomInt<&CRoom::width>);
  RW("room_height", GV_RoomInt<&CRoom::height>, SV_RoomInt<&CRoom::height>);
  RW("room_speed", GV_RoomInt<&CRoom::speed>, SV_RoomInt<&CRoom::speed>);
  RW("room_persistent", GV_RoomBool<&CRoom::persistent>, SV_RoomBool<&CRoom::persistent>);
  RW("room_caption", GV_RoomCaption, SV_RoomCaption);
  RW("background_color", GV_BackgroundColor, SV_BackgroundColor);
  RW("background_showcolor", GV_RoomBool<&CRoom::show_colour>, SV_RoomBool<&CRoom::show_colour>);
  RW("view_enabled", GV_RoomBool<&CRoom::views_enabled>, SV_RoomBool<&CRoom::views_enabled>);
  RO("view_current", GV_ViewCurrent);

  RW("score", GV_Score, SV_Score);
  RW("lives", GV_Lives, SV_Lives);
  RW("health", GV_Health, SV_Health);
  RW("show_score", GV_GlobalBool<&g_ShowScore>, SV_GlobalBool<&g_ShowScore>);
  RW("show_lives", GV_GlobalBool<&g_ShowLives>, SV_GlobalBool<&g_ShowLives>);
  RW("show_health", GV_GlobalBool<&g_ShowHealth>, SV_GlobalBool<&g_ShowHealth>);
  RW("caption_score", GV_GlobalText<&g_CaptionScore>, SV_GlobalText<&g_CaptionScore>);
  RW("caption_lives", GV_GlobalText<&g_CaptionLives>, SV_GlobalText<&g_CaptionLives>);
  RW("caption_health", GV_GlobalText<&g_CaptionHealth>, SV_GlobalText<&g_CaptionHealth>);
  RW("cursor_sprite", GV_CursorSprite, SV_CursorSprite);
  RW("transition_kind", GV_TransitionKind, SV_TransitionKind);
  RW("error_last", GV_ErrorLast, SV_ErrorLast);
  RW("error_occurred", GV_ErrorOccurred, SV_ErrorOccurred);
  RO("async_load", GV_AsyncLoad);
  RO("fps", GV_Fps);
  RO("instance_count", GV_InstanceCount);
  RO("working_directory", GV_WorkingDirectory);
  RO("program_directory", GV_ProgramDirectory);
  RO("temp_directory", GV_TempDirectory);

  RO("mouse_x", GV_MouseX);
  RO("mouse_y", GV_MouseY);
  RW("mouse_button", GV_MouseButton, SV_MouseButton);
  RW("mouse_lastbutton", GV_MouseLastButton, SV_MouseLastButton);
  RW("keyboard_key", GV_KeyboardKey, SV_KeyboardKey);
  RW("keyboard_lastkey", GV_KeyboardLastKey, SV_KeyboardLastKey);
  RW("keyboard_lastchar", GV_KeyboardLastChar, SV_KeyboardLastChar);
  RW("keyboard_string", GV_KeyboardString, SV_KeyboardString);

  using B = RoomBackground;
  RW("background_visible", (GV_Background<bool, &B::visible>), (SV_Background<bool, &B::visible>));
  RW("background_foreground", (GV_Background<bool, &B::foreground>), (SV_Background<bool, &B::foreground>));
  RW("background_index", (GV_Background<int, &B::index>), (SV_Background<int, &B::index>));
  RO("background_width", GV_BackgroundWidth);
  RO("background_height", GV_BackgroundHeight);
  RW("background_x", (GV_Background<float, &B::x>), (SV_Background<float, &B::x>));
  RW("background_y", (GV_Background<float, &B::y>), (SV_Background<float, &B::y>));
  RW("background_htiled", (GV_Background<bool, &B::htiled>), (SV_Background<bool, &B::htiled>));
  RW("background_vtiled", (GV_Background<bool, &B::vtiled>), (SV_Background<bool, &B::vtiled>));
  RW("background_xscale", (GV_Background<float, &B::xscale>), (SV_Background<float, &B::xscale>));
  RW("background_yscale", (GV_Background<float, &B::yscale>), (SV_Background<float, &B::yscale>));
  RW("background_hspeed", (GV_Background<float, &B::hspeed>), (SV_Background<float, &B::hspeed>));
  RW("background_vspeed", (GV_Background<float, &B::vspeed>), (SV_Background<float, &B::vspeed>));
  RW("background_blend", (GV_Background<uint32_t, &B::blend>), (SV_Background<uint32_t, &B::blend>));
  RW("background_alpha", (GV_Background<float, &B::alpha>), (SV_Background<float, &B::alpha>));

  using V = RoomView;
  RW("view_visible", (GV_View<bool, &V::visible>), (SV_View<bool, &V::visible>));
  RW("view_xview", (GV_View<float, &V::xview>), (SV_View<float, &V::xview>));
  RW("view_yview", (GV_View<float, &V::yview>), (SV_View<float, &V::yview>));
  RW("view_wview", (GV_View<float, &V::wview>), (SV_View<float, &V::wview>));
  RW("view_hview", (GV_View<float, &V::hview>), (SV_View<float, &V::hview>));
  RW("view_xport", (GV_View<int, &V::xport>), (SV_View<int, &V::xport>));
  RW("view_yport", (GV_View<int, &V::yport>), (SV_View<int, &V::yport>));
  RW("view_wport", (GV_View<int, &V::wport>), (SV_View<int, &V::wport>));
  RW("view_hport", (GV_View<int, &V::hport>), (SV_View<int, &V::hport>));
  RW("view_angle", (GV_View<float, &V::angle>), (SV_View<float, &V::angle>));
  RW("view_hborder", (GV_View<int, &V::hborder>), (SV_View<int, &V::hborder>));
  RW("view_vborder", (GV_View<int, &V::vborder>), (SV_View<int, &V::vborder>));
  RW("view_hspeed", (GV_View<int, &V::hspeed>), (SV_View<int, &V::hspeed>));
  RW("view_vspeed", (GV_View<int, &V::vspeed>), (SV_View<int, &V::vspeed>));
  RW("view_object", (GV_View<int, &V::object>), (SV_View<int, &V::object>));
  if (g_PlatformVariables) g_PlatformVariables();
}
