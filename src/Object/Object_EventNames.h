// The names scripts and projects give event types and numbers: the constants
// ev_create ... ev_keyrelease and ev_step_normal ... ev_step_end, the mouse
// event numbers and the other event numbers (ev_user0 to ev_user15 among them).
#pragma once
#include <vector>

struct EventName {
  const char* name;
  int value;
};

const std::vector<EventName>& Event_TypeNames();
const std::vector<EventName>& Event_MouseNames();
const std::vector<EventName>& Event_OtherNames();
// The number of a mouse (EV_MOUSE) or other (EV_OTHER) event by name; -1
// when the name is none of that type's.
int Event_NumberFromName(int type, const char* name);
