#include "Run/Run_Mouse.h"

#include <vector>

#include "IO/IO_Main.h"
#include "Object/Instance_Class.h"
#include "Object/Object_Event.h"
#include "Object/Object_Main.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Run/Run_Main.h"

namespace {
void MouseRoom(float* rx, float* ry, int device = 0) {
  *rx = *ry = 0;
  if (device < 0 || device >= IO_MOUSE_POSITIONS) return;
  float wx = static_cast<float>(IO_MousePositionX[device]), wy = static_cast<float>(IO_MousePositionY[device]);
  *rx = wx, *ry = wy;
  if (!g_RunRoom || !g_RunRoom->views_enabled) return;
  for (int i = ROOM_VIEWS - 1; i >= 0; i--) {
    const RoomView& v = g_RunRoom->views[i];
    if (!v.visible || v.wport <= 0 || v.hport <= 0) continue;
    if (wx < v.xport || wy < v.yport || wx >= v.xport + v.wport || wy >= v.yport + v.hport) continue;
    *rx = v.xview + (wx - v.xport) * v.wview / v.wport;
    *ry = v.yview + (wy - v.yport) * v.hview / v.hport;
    return;
  }
}
}  // namespace

float Run_MouseRoomX(int device) {
  float x, y;
  MouseRoom(&x, &y, device);
  return x;
}

float Run_MouseRoomY(int device) {
  float x, y;
  MouseRoom(&x, &y, device);
  return y;
}

void Run_MouseEvents() {
  // Without a mouse event anywhere there is nothing to run; whether the
  // mouse is over an instance matters only to its enter and leave events.
  if (!g_RunRoom || !Object_HasEventsOfType(EV_MOUSE)) return;
  float mx, my;
  MouseRoom(&mx, &my);
  uint64_t serial = Event_NextPass();
  std::vector<CInstance*> list = g_RunRoom->active;
  bool any_held = IO_Mouse_GetButton(0) != 0;
  for (CInstance* inst : list) {
    if (inst->marked || inst->deactivated || inst->creation_serial >= serial) continue;
    bool over = inst->Collision_Point(mx, my, true);
    std::vector<int> events;
    if (over) {
      for (int b = 1; b <= 3; b++)
        if (IO_Mouse_Check(b, 0)) events.push_back(EV_MOUSE_LEFT_BUTTON + b - 1);
      if (!any_held) events.push_back(EV_MOUSE_NO_BUTTON);
      for (int b = 1; b <= 3; b++)
        if (IO_Mouse_CheckPressed(b, 0)) events.push_back(EV_MOUSE_LEFT_PRESSED + b - 1);
      for (int b = 1; b <= 3; b++)
        if (IO_Mouse_CheckReleased(b, 0)) events.push_back(EV_MOUSE_LEFT_RELEASED + b - 1);
    }
    if (over && !inst->mouse_over) events.push_back(EV_MOUSE_ENTER);
    if (!over && inst->mouse_over) events.push_back(EV_MOUSE_LEAVE);
    inst->mouse_over = over;
    for (int b = 1; b <= 3; b++) {
      if (IO_Mouse_Check(b, 0)) events.push_back(EV_MOUSE_GLOBAL_LEFT_BUTTON + b - 1);
      if (IO_Mouse_CheckPressed(b, 0)) events.push_back(EV_MOUSE_GLOBAL_LEFT_PRESSED + b - 1);
      if (IO_Mouse_CheckReleased(b, 0)) events.push_back(EV_MOUSE_GLOBAL_LEFT_RELEASED + b - 1);
    }
    if (IO_Mouse_WheelUp(0)) events.push_back(EV_MOUSE_WHEEL_UP);
    if (IO_Mouse_WheelDown(0)) events.push_back(EV_MOUSE_WHEEL_DOWN);
    for (int number : events) {
      if (inst->marked) break;
      Event_Perform(inst, inst, EV_MOUSE, number);
      if (g_PendingTransition != TRANSITION_NONE) return;
    }
  }
}
