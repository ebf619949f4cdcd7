// A small game world for the world's unit tests: objects whose events run
// C++ functions in place of compiled code.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "Object/Instance_Class.h"
#include "Object/Object_Class.h"
#include "Object/Object_Event.h"
#include "Object/Object_Main.h"
#include "Object/Object_Shape.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Run/Run_Main.h"
#include "TimeLine/TimeLine_Main.h"

class CCode;
extern void (*g_RunCodeHook)(CCode* code, CInstance* self, CInstance* other);

namespace testworld {
using Action = std::function<void(CInstance* self, CInstance* other)>;

inline std::vector<Action>& Actions() {
  static std::vector<Action> actions;
  return actions;
}
inline std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

inline void RunAction(CCode* code, CInstance* self, CInstance* other) {
  size_t n = reinterpret_cast<size_t>(code) - 1;
  if (n < Actions().size()) Actions()[n](self, other);
}

// A code unit that runs the action.
inline CCode* Code(Action a) {
  Actions().push_back(std::move(a));
  return reinterpret_cast<CCode*>(Actions().size());
}

inline void On(int object, int type, int number, Action a) {
  auto* ev = new CEvent;
  ev->code = Code(std::move(a));
  Object_Find(object)->SetEvent(type, number, ev);
}

// An event that logs "<object name>:<what>" (and the instance id when asked).
inline void LogOn(int object, int type, int number, const std::string& what) {
  On(object, type, number, [object, what](CInstance*, CInstance*) { Log().push_back(std::string(Object_Name(object)) + ":" + what); });
}

// Starts from an empty world each time.
inline void Reset() {
  Run_ClearInstances();
  Room_FreeAll();
  Object_FreeAll();
  TimeLine_FreeAll();
  Shape_ClearAll();
  Actions().clear();
  Log().clear();
  g_RunCodeHook = RunAction;
  g_PendingTransition = TRANSITION_NONE;
}

// A room of the order with instances of the given objects at (x, y).
inline int AddRoom(std::vector<std::pair<int, std::pair<float, float>>> placed = {}) {
  int r = Room_Add();
  for (auto& [obj, pos] : placed) Room_Data(r)->AddInstanceDef(pos.first, pos.second, obj);
  return r;
}

// A solid 16x16 box sprite with its origin at the top left.
inline void BoxSprite(int sprite, int w = 16, int h = 16) {
  SpriteShape s;
  s.width = w, s.height = h, s.left = 0, s.top = 0, s.right = w - 1, s.bottom = h - 1;
  Shape_Set(sprite, s);
}
}  // namespace testworld
