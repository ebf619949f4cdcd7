// The debugger of a game in debug mode, held as data: the form with its
// counters, watch expressions and commands, and ten child window records
// (globals, instances, messages, six locals windows, one unused). The
// platform half (Debug/Debug_MainM.h) shows it; without a display the
// form works the same without windows.
#pragma once
#include <string>
#include <vector>

#include "Base/RValue.h"
#include "Debug/Debug_Hooks.h"

class CInstance;
class IniFile;

// Commands of the toolbar, the menu and the "Display FPS" check box.
enum : int {
  DEBUG_CMD_RUN = 32771,
  DEBUG_CMD_PAUSE = 32772,
  DEBUG_CMD_STEP = 32773,
  DEBUG_CMD_RESTART = 32774,
  DEBUG_CMD_STOP = 32775,
  DEBUG_CMD_ADD_WATCH = 32776,
  DEBUG_CMD_DELETE_WATCH = 32777,
  DEBUG_CMD_CLEAR_WATCHES = 32778,
  DEBUG_CMD_CHANGE_WATCH = 32779,
  DEBUG_CMD_SHOW_GLOBALS = 32786,
  DEBUG_CMD_SHOW_LOCALS = 32787,
  DEBUG_CMD_SHOW_INSTANCES = 32788,
  DEBUG_CMD_SHOW_MESSAGES = 32789,
  DEBUG_ID_DISPLAY_FPS = 1081,
};

// The child window records.
constexpr int DEBUG_CHILD_COUNT = 10;
constexpr int DEBUG_GLOBALS = 0, DEBUG_INSTANCES = 1, DEBUG_MESSAGES = 2;
constexpr int DEBUG_LOCALS_FIRST = 3, DEBUG_LOCALS_LAST = 8;
// The form's counters in the order shown: room speed, FPS, instance under
// the mouse, instance count, texture swaps, vertex batches.
constexpr int DEBUG_LABEL_COUNT = 6;
constexpr int DEBUG_FLAG_FPS = 2;  // of Debug_Flags
constexpr const char* DEBUG_UNABLE = "Unable to evaluate";

struct DebugRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool HasWidth() const { return right > left; }
};

struct DebugWatch {
  std::string expression;
  std::string value;
};

struct DebugChildWindow {
  DebugRect remembered;        // from "Debug.ini"; all 0 when none
  DebugRect rect;              // where the window is (kept by the platform half)
  int listCount = 0;           // columns of its list
  std::string section;         // its "Debug.ini" section
  std::string caption;
  int instanceId = 0;          // locals windows: the instance shown (none at first)
  int selection = 0;           // the selected row (the first one in the messages window)
  bool visible = false;
  bool multiSelect = false;    // the messages window
  std::vector<std::vector<std::string>> rows;  // listCount texts per row
  std::vector<bool> selected;  // the messages window's selected rows
};

struct DebugForm {
  std::vector<DebugWatch> watches;
  DebugChildWindow children[DEBUG_CHILD_COUNT];
  bool settingsLoaded = false;
  bool refreshEnabled = false;
  bool shown = true;
  CInstance* watchInstance = nullptr;  // self and other of the watches and built-in reads
  IniFile* settings = nullptr;         // "Debug.ini" while open
  // The watch list's rows (expression, value) and its selection; the
  // header row "Expressions" until the first watch replaces it.
  std::vector<std::vector<std::string>> watchRows;
  int watchSelection = 0;
  std::string labels[DEBUG_LABEL_COUNT];
  bool fpsChecked = false;
};

// The form; null while there is no debugger.
extern DebugForm* g_DebugForm;

// The built-in rows of the globals window (24) and of a locals window (49).
extern const char* const Debug_GlobalRows[24];
extern const char* const Debug_LocalRows[49];

// Debug_Create (Debug_Hooks.h) makes the form (or, after a restart, shows
// the existing one again with its settings file reopened) and hooks the
// console's lines. Debug_Update is the per-step refresh: counters, watches
// and the open child windows. Debug_SaveSettings writes "Debug.ini" and
// closes the child windows; refreshing stops.
void Debug_LoadSettings(DebugForm* form);
// The form's close: settings saved, form deleted; the game runs on.
void Debug_Close();

// A toolbar, menu or check box command (the check box's new state in
// checked); prompts use the input box (without clearing the game's input).
void Debug_Command(DebugForm* form, int id, bool checked = false);
void Debug_CommandRun();
void Debug_CommandPause();
void Debug_CommandStep();
// Hides the form and restarts the game at the next frame (a paused game
// resumes for it).
void Debug_CommandRestart();
void Debug_CommandAddWatch(DebugForm* form);
void Debug_CommandChangeWatch(DebugForm* form);
void Debug_CommandShowLocals(DebugForm* form);
// Fills and shows the globals, instances or messages window.
void Debug_ShowChildWindow(DebugForm* form, int index);
void Debug_AddWatch(DebugForm* form, const char* expression);
void Debug_ChangeWatch(DebugForm* form, int row, const char* expression);
void Debug_DeleteWatch(DebugForm* form, int row);
void Debug_ClearWatches(DebugForm* form);
void Debug_EvaluateWatches(DebugForm* form);
void Debug_RefreshWatchList(DebugForm* form);
// A real as the debugger writes it; a string as it stands.
std::string Debug_ValueToString(const RValue& value);
// The value of an expression as a watch shows it; the game sees nothing of
// its errors.
std::string Debug_EvaluateExpression(const char* expression, CInstance* self);

// Child windows.
void DebugChildWindow_Show(DebugForm* form, int index);
void DebugChildWindow_Hide(DebugForm* form, int index);
void DebugChildWindow_Fill(DebugForm* form, int index);
// Opens a locals window for an instance id or object name (into the record
// given, else a free one, else window 8); the record index, -1 when no
// instance matches.
int Debug_OpenLocalsWindow(DebugForm* form, const char* text, int record = -1);
// A row of a list chosen: the selection moves in every column.
void Debug_Select(DebugForm* form, int window, int row, bool add = false);
// A double-click on a row.
void Debug_Activate(DebugForm* form, int window, int row);
// The wheel over a list: +1 or -1 notches.
void Debug_Wheel(DebugForm* form, int window, int delta);
// The console's hook: each line (at most 4,095 bytes) to the messages.
void Debug_ConsoleOutput(const char* line);
// A key pressed in a window (Windows key numbers): Delete (46) on the watch
// list deletes the selected watch, Ctrl+C (67) in the messages window copies
// its lines, Escape (27) closes a child window. False when not handled.
constexpr int DEBUG_KEY_ESCAPE = 27, DEBUG_KEY_DELETE = 46, DEBUG_KEY_C = 67;
bool Debug_Key(DebugForm* form, int window, int key, bool ctrl);
// Every console line while the form exists.
void DebugMessages_Add(DebugForm* form, const char* text);
// The selected lines of the messages window (all without a selection),
// each with a line feed, as UTF-8.
std::string DebugMessages_CopyText(const DebugForm* form);
void Debug_ShowInstanceUnderMouse(DebugForm* form);
// A window by its name: "form", "globals", "instances", "messages",
// "locals3" to "locals8"; -1 for the form, -2 when unknown.
int Debug_WindowByName(const std::string& name);
