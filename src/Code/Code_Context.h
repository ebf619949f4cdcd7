// Where running code stands. The game world sets the event part around each
// event and action it runs; the engine keeps the running unit and line. The
// error report frames its messages with both; the debugger reads them.
#pragma once
#include <cstdint>

struct CodeEventContext {
  int object_index = -1;              // object whose event runs; -1 outside events
  const char* object_name = nullptr;  // its name (owned by the object table)
  int event_type = -1;                // event type (0 create ... 10 key release); -1 none
  int event_number = 0;
  int action_index = -1;              // 0-based action within the event; -1 none
};

// Set by the world before it runs an event's actions. Events performed from
// code nest: save the whole record before and put it back afterwards.
extern CodeEventContext g_CodeEventContext;

// The actions' relative flag (1 or 0): set by action_set_relative, saved,
// cleared and restored around every event's code by the world; read by
// argument_relative and by the action built-ins. Defined by the engine.
extern uint8_t g_ActionRelative;

// The pending transition word that the frame loop acts on (a room index
// requests that room). The run loop sets and reads it; a fatal script error
// sets it to TRANSITION_FATAL.
extern int g_PendingTransition;
constexpr int TRANSITION_NONE = -1;
constexpr int TRANSITION_END = -100;
constexpr int TRANSITION_RESTART = -200;
constexpr int TRANSITION_LOAD = -300;
constexpr int TRANSITION_FATAL = -400;

// Set by the debugger while it evaluates watches: error reports leave the
// game's error state alone, log nothing and show nothing (Code_Error.h).
extern bool g_DebugEvaluatingWatches;

// The innermost running code unit's name ("Script.%s", "Object.%s.%s.%d",
// "Execute.%d" ...) and the line it is at; null and -1 when no code runs.
const char* Code_CurrentUnitName();
int Code_CurrentLine();
