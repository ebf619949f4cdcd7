#include "Object/Object_EventNames.h"

#include <cstring>
#include <string>

#include "Object/Object_Event.h"

const std::vector<EventName>& Event_TypeNames() {
  static const std::vector<EventName> names = {
      {"ev_create", EV_CREATE},         {"ev_destroy", EV_DESTROY},         {"ev_alarm", EV_ALARM},
      {"ev_step", EV_STEP},             {"ev_collision", EV_COLLISION},     {"ev_keyboard", EV_KEYBOARD},
      {"ev_mouse", EV_MOUSE},           {"ev_other", EV_OTHER},             {"ev_draw", EV_DRAW},
      {"ev_keypress", EV_KEYPRESS},     {"ev_keyrelease", EV_KEYRELEASE},   {"ev_step_normal", EV_STEP_NORMAL},
      {"ev_step_begin", EV_STEP_BEGIN}, {"ev_step_end", EV_STEP_END},
  };
  return names;
}

const std::vector<EventName>& Event_MouseNames() {
  static const std::vector<EventName> names = {
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
  };
  return names;
}

const std::vector<EventName>& Event_OtherNames() {
  static const std::vector<EventName> names = [] {
    std::vector<EventName> list = {
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
    };
    static const char* const users[16] = {"ev_user0",  "ev_user1",  "ev_user2",  "ev_user3", "ev_user4",  "ev_user5",
                                          "ev_user6",  "ev_user7",  "ev_user8",  "ev_user9", "ev_user10", "ev_user11",
                                          "ev_user12", "ev_user13", "ev_user14", "ev_user15"};
    for (int i = 0; i < 16; i++) list.push_back({users[i], EV_OTHER_USER0 + i});
    return list;
  }();
  return names;
}

int Event_NumberFromName(int type, const char* name) {
  const std::vector<EventName>* names = type == EV_MOUSE ? &Event_MouseNames()
                                        : type == EV_OTHER ? &Event_OtherNames()
                                                           : nullptr;
  if (!names || !name) return -1;
  for (const EventName& e : *names)
    if (std::strcmp(e.name, name) == 0) return e.value;
  return -1;
}
