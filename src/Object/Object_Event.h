// Events: what an object does when something happens to one of its instances.
#pragma once
#include <cstdint>

class CInstance;
class CCode;

// Event types.
enum {
  EV_CREATE = 0,
  EV_DESTROY = 1,
  EV_ALARM = 2,
  EV_STEP = 3,
  EV_COLLISION = 4,
  EV_KEYBOARD = 5,
  EV_MOUSE = 6,
  EV_OTHER = 7,
  EV_DRAW = 8,
  EV_KEYPRESS = 9,
  EV_KEYRELEASE = 10,
  EV_TYPE_COUNT = 11,
};

// Numbers of the step event.
enum { EV_STEP_NORMAL = 0, EV_STEP_BEGIN = 1, EV_STEP_END = 2 };

// Numbers of the other event.
enum {
  EV_OTHER_OUTSIDE = 0,
  EV_OTHER_BOUNDARY = 1,
  EV_OTHER_GAME_START = 2,
  EV_OTHER_GAME_END = 3,
  EV_OTHER_ROOM_START = 4,
  EV_OTHER_ROOM_END = 5,
  EV_OTHER_NO_MORE_LIVES = 6,
  EV_OTHER_ANIMATION_END = 7,
  EV_OTHER_END_OF_PATH = 8,
  EV_OTHER_NO_MORE_HEALTH = 9,
  EV_OTHER_USER0 = 10,
  EV_OTHER_CLOSE_BUTTON = 30,
  EV_OTHER_OUTSIDE_VIEW0 = 40,
  EV_OTHER_BOUNDARY_VIEW0 = 50,
  EV_OTHER_IMAGE_LOADED = 60,
  EV_OTHER_SOUND_LOADED = 61,
  EV_OTHER_HTTP = 62,
  EV_OTHER_DIALOG = 63,
};

// Numbers of the mouse event.
enum {
  EV_MOUSE_LEFT_BUTTON = 0, EV_MOUSE_RIGHT_BUTTON = 1, EV_MOUSE_MIDDLE_BUTTON = 2,
  EV_MOUSE_NO_BUTTON = 3,
  EV_MOUSE_LEFT_PRESSED = 4, EV_MOUSE_RIGHT_PRESSED = 5, EV_MOUSE_MIDDLE_PRESSED = 6,
  EV_MOUSE_LEFT_RELEASED = 7, EV_MOUSE_RIGHT_RELEASED = 8, EV_MOUSE_MIDDLE_RELEASED = 9,
  EV_MOUSE_ENTER = 10, EV_MOUSE_LEAVE = 11,
  EV_MOUSE_GLOBAL_LEFT_BUTTON = 50, EV_MOUSE_GLOBAL_RIGHT_BUTTON = 51, EV_MOUSE_GLOBAL_MIDDLE_BUTTON = 52,
  EV_MOUSE_GLOBAL_LEFT_PRESSED = 53, EV_MOUSE_GLOBAL_RIGHT_PRESSED = 54, EV_MOUSE_GLOBAL_MIDDLE_PRESSED = 55,
  EV_MOUSE_GLOBAL_LEFT_RELEASED = 56, EV_MOUSE_GLOBAL_RIGHT_RELEASED = 57, EV_MOUSE_GLOBAL_MIDDLE_RELEASED = 58,
  EV_MOUSE_WHEEL_UP = 60, EV_MOUSE_WHEEL_DOWN = 61,
};

// Keyboard numbers with a meaning of their own.
enum { VK_NOKEY = 0, VK_ANYKEY = 1 };

// One event action of an object: its compiled code and its source text.
class CEvent {
 public:
  CCode* code = nullptr;   // owned
  char* source = nullptr;  // memory-manager text, owned

  CEvent() = default;
  ~CEvent();
  CEvent(const CEvent&) = delete;
  CEvent& operator=(const CEvent&) = delete;

  // Runs the code for (self, other). The actions' relative flag is saved,
  // cleared for the event's code and restored afterwards.
  void Execute(CInstance* self, CInstance* other);
  void Clear() {}
};

// The event being executed (object, type and number) is kept in
// g_CodeEventContext (Code/Code_Context.h) while it runs.

// The 64-bit serial advanced before every event pass: an instance created
// (or changed) during a pass carries that pass's serial and is skipped by it.
extern uint64_t g_EventSerial;
inline uint64_t Event_NextPass() { return ++g_EventSerial; }

// Performs the event of self's object (or of its nearest ancestor that has
// it) on self with that other. Nothing while a room transition is pending.
void Event_Perform(CInstance* self, CInstance* other, int type, int number);
// The same with the event looked up from the given object.
void Event_PerformObject(CInstance* self, CInstance* other, int object_index, int type, int number);
// Performs the event on every active instance (a pass of its own).
void Event_PerformAll(int type, int number);
// Performs the event on every unmarked instance of every object that has it,
// skipping instances that joined after the pass began.
void Event_PerformPass(int type, int number);
