// A small game world for the world's unit tests: objects whose events run
// compiled code that calls back into C++ through a test built-in.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "Object/Instance_Class.h"
#include "Object/Object_Class.h"
#include "Object/Object_Event.h"
#include "Object/Object_Main.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Run/Run_Main.h"
#include "Sprite/Sprite_Main.h"
#include "TimeLine/TimeLine_Main.h"

#include "Code/Code_Error.h"
#include "Code/Code_BuiltinTable.h"
#include "Code/Code_Units.h"

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

// "test_action(n)": runs action n.
inline void F_TestAction(RValue&, CInstance* self, CInstance* other, int, const RValue* arg) {
  size_t n = static_cast<size_t>(arg[0].val);
  if (n < Actions().size()) Actions()[n](self, other);
}

// A code unit that runs the action.
inline CCode* Code(Action a) {
  Actions().push_back(std::move(a));
  std::string text = "test_action(" + std::to_string(Actions().size() - 1) + ");";
  return Code_CompileUnit(text.c_str(), "test", false);
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
  Sprite_FreeAll();
  Code_FreeUnits();
  Actions().clear();
  Log().clear();
  if (Function_FindBuiltIn("test_action") < 0) Function_Add("test_action", F_TestAction, 1);
  g_PendingTransition = TRANSITION_NONE;
  // A fatal error of one test silences the reports of every later one.
  Error_Reset();
}

// A room of the order with instances of the given objects at (x, y).
inline int AddRoom(std::vector<std::pair<int, std::pair<float, float>>> placed = {}) {
  int r = Room_Add();
  for (auto& [obj, pos] : placed) Room_Data(r)->AddInstanceDef(pos.first, pos.second, obj);
  return r;
}

// A sprite of one frame; its index. Without a mask its box is its shape.
inline int AddSprite(int w, int h, int xorig = 0, int yorig = 0, std::vector<uint8_t> mask = {}) {
  auto* s = new CSprite;
  s->width = w, s->height = h, s->xorig = xorig, s->yorig = yorig, s->numb = 1;
  s->bboxLeft = 0, s->bboxTop = 0, s->bboxRight = w - 1, s->bboxBottom = h - 1;
  s->frames.resize(1);
  if (!mask.empty()) {
    s->precise = 1;
    s->masks.push_back(std::move(mask));
  }
  return Sprite_Append(s, "test");
}
}  // namespace testworld
