// The built-in constants of the game world: colours, virtual keys and events.
#include <cstdio>

#include "Code/Code_Constant.h"
#include "Function/Kivo_Functions.h"
#include "IO/IO_KeyNames.h"
#include "Object/Object_Event.h"

namespace {
struct Named {
  const char* name;
  double value;
};

// Colours are BGR: red in the low byte.
const Named COLOURS[] = {
    {"c_aqua", 0xFFFF00},   {"c_black", 0x000000},   {"c_blue", 0xFF0000},  {"c_dkgray", 0x404040},
    {"c_fuchsia", 0xFF00FF}, {"c_gray", 0x808080},   {"c_green", 0x008000}, {"c_lime", 0x00FF00},
    {"c_ltgray", 0xC0C0C0}, {"c_maroon", 0x000080},  {"c_navy", 0x800000},  {"c_olive", 0x008080},
    {"c_purple", 0x800080}, {"c_red", 0x0000FF},     {"c_silver", 0xC0C0C0}, {"c_teal", 0x808000},
    {"c_white", 0xFFFFFF},  {"c_yellow", 0x00FFFF},  {"c_orange", 0x40A0FF},
};

const Named EVENTS[] = {
    {"ev_create", EV_CREATE},
    {"ev_destroy", EV_DESTROY},
    {"ev_alarm", EV_ALARM},
    {"ev_step", EV_STEP},
    {"ev_collision", EV_COLLISION},
    {"ev_keyboard", EV_KEYBOARD},
    {"ev_mouse", EV_MOUSE},
    {"ev_other", EV_OTHER},
    {"ev_draw", EV_DRAW},
    {"ev_keypress", EV_KEYPRESS},
    {"ev_keyrelease", EV_KEYRELEASE},
    {"ev_step_normal", EV_STEP_NORMAL},
    {"ev_step_begin", EV_STEP_BEGIN},
    {"ev_step_end", EV_STEP_END},
    {"ev_left_button", EV_MOUSE_LEFT_BUTTON},
    {"ev_right_button", EV_MOUSE_RIGHT_BUTTON},
    {"ev_middle_button", EV_MOUSE_MIDDLE_BUTTON},
    {"ev_no_button", EV_MOUSE_NO_BUTTON},
    {"ev_left_press", EV_MOUSE_LEFT_PRESSED},
    {"ev_right_press", EV_MOUSE_RIGHT_PRESSED},
    {"ev_middle_press", EV_MOUSE_MIDDLE_PRESSED},
    {"ev_left_release", EV_MOUSE_LEFT_RELEASED},
    {"ev_right_release", EV_MOUSE_RIGHT_RELEASED},
    {"ev_middle_release", EV_MOUSE_MIDDLE_RELEASED},
    {"ev_mouse_enter", EV_MOUSE_ENTER},
    {"ev_mouse_leave", EV_MOUSE_LEAVE},
    {"ev_global_left_button", EV_MOUSE_GLOBAL_LEFT_BUTTON},
    {"ev_global_right_button", EV_MOUSE_GLOBAL_RIGHT_BUTTON},
    {"ev_global_middle_button", EV_MOUSE_GLOBAL_MIDDLE_BUTTON},
    {"ev_global_left_press", EV_MOUSE_GLOBAL_LEFT_PRESSED},
    {"ev_global_right_press", EV_MOUSE_GLOBAL_RIGHT_PRESSED},
    {"ev_global_middle_press", EV_MOUSE_GLOBAL_MIDDLE_PRESSED},
    {"ev_global_left_release", EV_MOUSE_GLOBAL_LEFT_RELEASED},
    {"ev_global_right_release", EV_MOUSE_GLOBAL_RIGHT_RELEASED},
    {"ev_global_middle_release", EV_MOUSE_GLOBAL_MIDDLE_RELEASED},
    {"ev_mouse_wheel_up", EV_MOUSE_WHEEL_UP},
    {"ev_mouse_wheel_down", EV_MOUSE_WHEEL_DOWN},
    {"ev_outside", EV_OTHER_OUTSIDE},
    {"ev_boundary", EV_OTHER_BOUNDARY},
    {"ev_game_start", EV_OTHER_GAME_START},
    {"ev_game_end", EV_OTHER_GAME_END},
    {"ev_room_start", EV_OTHER_ROOM_START},
    {"ev_room_end", EV_OTHER_ROOM_END},
    {"ev_no_more_lives", EV_OTHER_NO_MORE_LIVES},
    {"ev_animation_end", EV_OTHER_ANIMATION_END},
    {"ev_end_of_path", EV_OTHER_END_OF_PATH},
    {"ev_no_more_health", EV_OTHER_NO_MORE_HEALTH},
    {"ev_close_button", EV_OTHER_CLOSE_BUTTON},
    {"ev_user0", EV_OTHER_USER0},
};
}  // namespace

void Constant_Init_World() {
  for (const Named& c : COLOURS) Constant_AddReal(c.name, c.value);
  for (const IO_KeyName& k : IO_KEY_NAMES) Constant_AddReal(k.name, k.code);
  for (const Named& e : EVENTS) Constant_AddReal(e.name, e.value);
  // User events 1 to 15 follow user event 0.
  char name[16];
  for (int i = 1; i < 16; i++) {
    snprintf(name, sizeof name, "ev_user%d", i);
    Constant_AddReal(name, EV_OTHER_USER0 + i);
  }
  Kivo_Functions_InitConstants();
}
