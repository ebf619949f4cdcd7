#include "Debug/Debug_Main.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "Base/Console.h"
#include "Base/Convert.h"
#include "Base/IniFile.h"
#include "Code/Code_Context.h"
#include "Code/Code_Error.h"
#include "Code/Code_Main.h"
#include "Debug/Dialog_Main.h"
#include "Debug/Debug_MainM.h"
#include "Debug/Dialog_MainM.h"
#include "Graphics_API/Graphics_Device.h"
#include "IO/IO_Query.h"
#include "Object/Instance_Class.h"
#include "Object/Object_Main.h"
#include "Option/Option_CommandLine.h"
#include "Option/Option_Main.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Run/Run_Instance.h"
#include "Run/Run_Main.h"
#include "Run/Run_Mouse.h"
#include "Run/Run_Services.h"
#include "Sprite/Sprite_Main.h"
#include "Variable/Variable_BuiltIn.h"
#include "Variable/Variable_List.h"
#include "Variable/Variable_Main.h"

DebugForm* g_DebugForm = nullptr;

const char* const Debug_GlobalRows[24] = {
    "mouse_x", "mouse_y", "mouse_button", "mouse_button", "mouse_lastbutton", "keyboard_key",
    "keyboard_lastkey", "keyboard_lastchar", "keyboard_string", "score", "lives", "health",
    "room", "room_width", "room_height", "room_speed", "room_persistent", "cursor_sprite",
    "working_directory", "temp_directory", "program_directory", "secure_mode", "error_occurred",
    "error_last"};

const char* const Debug_LocalRows[49] = {
    "x", "y", "direction", "speed", "hspeed", "vspeed", "friction", "gravity", "gravity_direction",
    "id", "object_index", "sprite_index", "image_index", "image_angle", "image_speed", "image_scale",
    "image_alpha", "mask_index", "solid", "visible", "persistent", "depth", "path_index",
    "path_position", "path_orientation", "path_scale", "phy_rotation", "phy_position_x",
    "phy_position_y", "phy_angular_velocity", "phy_linear_velocity_x", "phy_linear_velocity_y",
    "phy_speed_x", "phy_speed_y", "phy_bullet", "phy_fixed_rotation", "phy_active", "phy_mass",
    "phy_inertia", "phy_com_x", "phy_com_y", "phy_dynamic", "phy_kinematic", "phy_sleeping",
    "phy_collision_points", "phy_collision_x", "phy_collision_y", "phy_col_normal_x",
    "phy_col_normal_y"};

namespace {
constexpr const char* INI_NAME = "Debug.ini";
constexpr const char* FORM_SECTION = "DebugForm";
constexpr size_t CONSOLE_LINE_MAX = 4095;
constexpr size_t WATCH_TEXT_MAX = 511;  // characters a watch row shows
constexpr size_t COPY_LINES_MAX = 512;
constexpr const char* WATCH_PROMPT = "Please type in the expression";

std::string Format(const char* fmt, double value) {
  int n = std::snprintf(nullptr, 0, fmt, value);
  std::string out(n > 0 ? n : 0, '\0');
  std::snprintf(out.data(), out.size() + 1, fmt, value);
  return out;
}

std::string Numbered(const char* prefix, long long number) { return prefix + std::to_string(number); }

// A text cut to at most max characters (UTF-8 sequences kept whole).
std::string CutChars(const std::string& text, size_t max) {
  size_t chars = 0, i = 0;
  for (; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && chars++ == max) break;
  }
  return text.substr(0, i);
}

// A number of "Debug.ini" (any text gives a defined number).
int IniNumber(const char* text) { return Convert_TruncInt(std::strtod(text, nullptr)); }

bool RectOnScreen(const DebugRect& r) {
  constexpr int kFar = 1 << 16;
  for (int v : {r.left, r.top, r.right, r.bottom})
    if (v < -kFar || v > kFar) return false;
  return r.right > r.left && r.bottom > r.top;
}

CInstance* ActiveInstance(int id) {
  CInstance* inst = CInstance_Find(id);
  return inst && !inst->marked && !inst->deactivated ? inst : nullptr;
}

// Restores what the game sees of the error state around the watches and
// the debugger's reads of variables.
class WatchScope {
 public:
  WatchScope()
      : m_showErrors(g_GameOptions.show_errors),
        m_evaluating(g_DebugEvaluatingWatches),
        m_text(Code_ErrorText),
        m_runtime(Code_RuntimeError) {
    g_GameOptions.show_errors = false;
    g_DebugEvaluatingWatches = true;
  }
  ~WatchScope() {
    g_GameOptions.show_errors = m_showErrors;
    g_DebugEvaluatingWatches = m_evaluating;
    Code_ErrorText = m_text;
    Code_RuntimeError = m_runtime;
  }

 private:
  bool m_showErrors, m_evaluating;
  std::string m_text;
  bool m_runtime;
};

// A built-in variable read through its getter; empty when the registry
// lacks the name. A getter's error report reaches the game no more than a
// watch's does.
std::string BuiltInText(const char* name, CInstance* inst) {
  const RVariableRoutine* r = Variable_BuiltIn_Get(Variable_BuiltIn_Find(name));
  if (!r || !r->get) return "";
  WatchScope scope;
  RValue v{};
  std::string text = r->get(inst, 0, &v) ? Debug_ValueToString(v) : "";
  RValue_Free(&v);
  return text;
}

// The variables of a list as (name, value) rows.
void AddVariableRows(const CVariableList* list, std::vector<std::vector<std::string>>* rows) {
  if (!list) return;
  list->ForEach([&](int id, CVariable* var) { rows->push_back({Code_Variable_Name(id), Debug_ValueToString(var->value)}); });
}

void SetRows(DebugChildWindow& w, std::vector<std::vector<std::string>>&& rows) {
  w.rows = std::move(rows);
  w.selected.resize(w.rows.size(), false);
  if (w.selection >= static_cast<int>(w.rows.size())) w.selection = w.rows.empty() ? 0 : static_cast<int>(w.rows.size()) - 1;
}

void FillGlobals(DebugForm* f) {
  std::vector<std::vector<std::string>> rows;
  for (const char* name : Debug_GlobalRows) rows.push_back({name, BuiltInText(name, f->watchInstance)});
  AddVariableRows(&Variable_Globals(), &rows);
  SetRows(f->children[DEBUG_GLOBALS], std::move(rows));
}

void FillInstances(DebugForm* f) {
  std::vector<std::vector<std::string>> rows;
  if (g_RunRoom) {
    for (CInstance* inst : g_RunRoom->active) {
      if (inst->marked || inst->deactivated) continue;
      rows.push_back({std::to_string(inst->id), Object_Name(inst->object_index), Sprite_Name(inst->sprite_index)});
    }
  }
  SetRows(f->children[DEBUG_INSTANCES], std::move(rows));
}

void FillLocals(DebugForm* f, int index) {
  DebugChildWindow& w = f->children[index];
  std::vector<std::vector<std::string>> rows;
  CInstance* inst = ActiveInstance(w.instanceId);
  if (inst) {
    for (const char* name : Debug_LocalRows) rows.push_back({name, BuiltInText(name, inst)});
    AddVariableRows(inst->vars, &rows);
  }
  w.caption = std::string("Instance Var: ") + (inst ? Object_Name(inst->object_index) : "Unknown") + " (" +
              std::to_string(inst ? inst->id : -1) + ")";
  SetRows(w, std::move(rows));
}

void DebugChildWindow_Init(DebugChildWindow& w, const char* section, int lists, const char* caption) {
  w = DebugChildWindow();
  w.section = section;
  w.listCount = lists;
  w.caption = caption;
}

void InitForm(DebugForm* f) {
  DebugChildWindow_Init(f->children[DEBUG_GLOBALS], "GlobalsWindow", 2, "Globals");
  DebugChildWindow_Init(f->children[DEBUG_INSTANCES], "InstancesWindow", 3, "Instances");
  DebugChildWindow_Init(f->children[DEBUG_MESSAGES], "MessagesWindow", 1, "Messages");
  f->children[DEBUG_MESSAGES].multiSelect = true;
  for (int i = DEBUG_LOCALS_FIRST; i <= DEBUG_LOCALS_LAST; ++i)
    DebugChildWindow_Init(f->children[i], ("LocalsWindow" + std::to_string(i)).c_str(), 2, "Locals");
  f->watchRows = {{"Expressions", ""}};
  f->watchSelection = 0;
  f->fpsChecked = (Debug_Flags & DEBUG_FLAG_FPS) != 0;
  f->labels[0] = "Room Speed: ###";
  f->labels[1] = "FPS:###";
  f->labels[2] = "MouseID: ###";
  f->labels[3] = "Inst: ###";
  f->labels[4] = "Num Tex Swaps:####";
  f->labels[5] = "Num Vertex Batches:####";
}

void SetFpsFlag(DebugForm* f, bool on) {
  if (on) Debug_Flags |= DEBUG_FLAG_FPS;
  else Debug_Flags &= ~static_cast<unsigned>(DEBUG_FLAG_FPS);
  f->fpsChecked = on;
}


int ClampRow(int row, size_t count) {
  if (count == 0) return 0;
  return row < 0 ? 0 : row >= static_cast<int>(count) ? static_cast<int>(count) - 1 : row;
}
}  // namespace

void Debug_ConsoleOutput(const char* line) {
  if (!g_DebugForm) return;
  std::string text(line, strnlen(line, CONSOLE_LINE_MAX));
  DebugMessages_Add(g_DebugForm, text.c_str());
}

std::string Debug_ValueToString(const RValue& value) {
  if (RValue_IsString(value)) return RValue_Text(value);
  double v = value.val;
  auto whole = [](double x) { return std::fabs(x - std::nearbyint(x)) < 1e-12; };
  if (whole(v)) {
    double r = std::nearbyint(v);
    // Whole numbers show in full, also beyond the 32-bit range.
    if (std::fabs(r) < 9.0e18) return std::to_string(static_cast<long long>(r));
    return Format("%.0f", r);
  }
  static const struct {
    double scale;
    const char* format;
  } kForms[] = {{100, "%.2f"}, {10000, "%.4f"}, {1000000, "%.6f"}, {100000000, "%.8f"}};
  for (const auto& form : kForms)
    if (whole(v * form.scale)) return Format(form.format, v);
  return Format("%10.10f", v);
}

std::string Debug_EvaluateExpression(const char* expression, CInstance* self) {
  WatchScope scope;
  g_DebugWatchError = false;
  std::string text = DEBUG_UNABLE;
  CCode code(expression ? expression : "", true);
  if (code.Compile("watch")) {
    RValue result{};
    if (Code_Evaluate(self, self, &code, &result) && !g_DebugWatchError) text = Debug_ValueToString(result);
    RValue_Free(&result);
  }
  g_DebugWatchError = false;
  return text;
}

void Debug_EvaluateWatches(DebugForm* f) {
  for (DebugWatch& w : f->watches) w.value = Debug_EvaluateExpression(w.expression.c_str(), f->watchInstance);
  if (!f->watches.empty()) Debug_RefreshWatchList(f);
}

void Debug_RefreshWatchList(DebugForm* f) {
  f->watchRows.resize(f->watches.size());
  for (size_t i = 0; i < f->watches.size(); ++i)
    f->watchRows[i] = {CutChars(f->watches[i].expression, WATCH_TEXT_MAX), CutChars(f->watches[i].value, WATCH_TEXT_MAX)};
}

void Debug_AddWatch(DebugForm* f, const char* expression) {
  f->watches.push_back({expression ? expression : "", ""});
}

void Debug_ChangeWatch(DebugForm* f, int row, const char* expression) {
  if (row >= 0 && row < static_cast<int>(f->watches.size())) f->watches[row].expression = expression ? expression : "";
}

void Debug_DeleteWatch(DebugForm* f, int row) {
  if (row < 0 || row >= static_cast<int>(f->watches.size())) return;
  f->watches.erase(f->watches.begin() + row);
  // The list follows at once, also when the last watch went.
  Debug_RefreshWatchList(f);
  f->watchSelection = ClampRow(f->watchSelection, f->watchRows.size());
}

void Debug_ClearWatches(DebugForm* f) {
  f->watches.clear();
  f->watchSelection = 0;
  Debug_RefreshWatchList(f);
}

void DebugChildWindow_Fill(DebugForm* f, int index) {
  if (index == DEBUG_GLOBALS) FillGlobals(f);
  else if (index == DEBUG_INSTANCES) FillInstances(f);
  else if (index >= DEBUG_LOCALS_FIRST && index <= DEBUG_LOCALS_LAST) FillLocals(f, index);
}

void DebugChildWindow_Show(DebugForm* f, int index) {
  DebugChildWindow& w = f->children[index];
  if (w.visible || w.section.empty()) return;
  int open = 1;  // the form counts as one
  for (const DebugChildWindow& c : f->children) open += c.visible;
  if (w.remembered.HasWidth()) {
    w.rect = w.remembered;
  } else {
    w.rect = DebugRect();
  }
  DebugM_ShowChild(index, w.rect, 8 * open, 32 * open);
  w.visible = true;
}

void DebugChildWindow_Hide(DebugForm* f, int index) {
  DebugChildWindow& w = f->children[index];
  if (!w.visible) return;
  DebugRect r;
  if (DebugM_ChildRect(index, &r)) w.rect = r;
  DebugM_HideChild(index);
  w.visible = false;
}

int Debug_OpenLocalsWindow(DebugForm* f, const char* text, int record) {
  const char* t = text ? text : "";
  long long number = std::strtoll(t, nullptr, 10);
  CInstance* inst = nullptr;
  if (t[0] != '0' && number == 0) {
    int object = Object_FindByName(t);
    if (object >= 0 && g_RunRoom) {
      for (CInstance* i : g_RunRoom->active)
        if (i->object_index == object && !i->marked && !i->deactivated) {
          inst = i;
          break;
        }
    }
  } else if (number >= INT32_MIN && number <= INT32_MAX) {
    inst = ActiveInstance(static_cast<int>(number));
  }
  if (!inst) return -1;
  int index = record;
  if (index < DEBUG_LOCALS_FIRST || index > DEBUG_LOCALS_LAST) {
    index = -1;
    for (int i = DEBUG_LOCALS_FIRST; i <= DEBUG_LOCALS_LAST && index < 0; ++i)
      if (f->children[i].visible && f->children[i].instanceId == inst->id) index = i;
    for (int i = DEBUG_LOCALS_FIRST; i <= DEBUG_LOCALS_LAST && index < 0; ++i)
      if (!f->children[i].visible) index = i;
    if (index < 0) index = DEBUG_LOCALS_LAST;
  }
  f->children[index].instanceId = inst->id;
  FillLocals(f, index);
  DebugChildWindow_Show(f, index);
  return index;
}

void Debug_ShowInstanceUnderMouse(DebugForm* f) {
  if (!Run_Running) return;
  CInstance* inst = Run_InstancePosition(Run_MouseRoomX(), Run_MouseRoomY(), -3);
  f->labels[2] = inst ? Numbered("mouse id: ", inst->id) : "mouse id: ";
  if (!inst) return;
  std::string button = BuiltInText("mouse_button", f->watchInstance);
  if (std::atof(button.c_str()) > 0 && Keyboard_CheckState(17, IO_HELD))  // Ctrl+click
    Debug_OpenLocalsWindow(f, std::to_string(inst->id).c_str());
}

void Debug_Update() {
  static bool s_updating = false;
  DebugForm* f = g_DebugForm;
  if (!f || s_updating) return;
  if (Run_Running && g_RunRoom && Debug_Mode) {
    s_updating = true;
    if (!f->settingsLoaded) Debug_LoadSettings(f);
    if (f->refreshEnabled) {
      f->labels[0] = Numbered("Room Speed: ", g_RunRoom->speed);
      f->labels[1] = Numbered("FPS: ", static_cast<long long>(Graphics_FrameCounters.fps));
      f->labels[4] = Numbered("Num Tex Swaps: ", Graphics_FrameCounters.textureSwaps);
      f->labels[5] = Numbered("Num Vertex Batches: ", Graphics_FrameCounters.batches);
      f->labels[3] = Numbered("inst: ", static_cast<long long>(g_RunRoom->active.size()));
      f->fpsChecked = (Debug_Flags & DEBUG_FLAG_FPS) != 0;  // the overlay's switch may have changed it
      Debug_ShowInstanceUnderMouse(f);
      Debug_EvaluateWatches(f);
      for (int i = 0; i < DEBUG_CHILD_COUNT; ++i)
        if (f->children[i].visible && i != DEBUG_MESSAGES) DebugChildWindow_Fill(f, i);
    }
    s_updating = false;
  }
  DebugM_Sync(f);
}

void Debug_LoadSettings(DebugForm* f) {
  f->settingsLoaded = true;
  f->refreshEnabled = true;
  if (!f->watchInstance) f->watchInstance = new CInstance(0, 0, 0, -1, false);
  IniFile* ini = f->settings;
  if (!ini) return;
  auto value = [&](const char* section, const char* key) -> const char* {
    IniKey* k = ini->GetKey(section, key);
    return k ? k->value : nullptr;
  };
  const char* fps = value(FORM_SECTION, "FPSVisible");
  if (fps && std::strcmp(fps, "false") == 0) SetFpsFlag(f, false);
  bool wanted[DEBUG_CHILD_COUNT] = {};
  for (int i = 0; i < DEBUG_CHILD_COUNT; ++i) {
    DebugChildWindow& w = f->children[i];
    const char* s = w.section.c_str();
    const char* visible = value(s, "Visible");
    wanted[i] = visible && std::strcmp(visible, "true") == 0;
    const char *b = value(s, "bottom"), *t = value(s, "top"), *l = value(s, "left"), *r = value(s, "right");
    DebugRect rect;
    if (b && t && l && r) rect = {IniNumber(l), IniNumber(t), IniNumber(r), IniNumber(b)};
    // A rectangle off any screen, or without a size, places nothing.
    if (RectOnScreen(rect)) w.remembered = rect;
  }
  for (int i : {DEBUG_GLOBALS, DEBUG_INSTANCES, DEBUG_MESSAGES}) {
    if (!wanted[i]) continue;
    DebugChildWindow_Fill(f, i);
    DebugChildWindow_Show(f, i);
  }
  for (int i = DEBUG_LOCALS_FIRST; i <= DEBUG_LOCALS_LAST; ++i) {
    const char* id = value(f->children[i].section.c_str(), "InstanceID");
    if (wanted[i] && id) Debug_OpenLocalsWindow(f, id, i);
  }
  // The watches "Watch0" up to the count less one that exist, in number
  // order: found among the section's keys, so that a huge count costs nothing.
  const char* count = value(FORM_SECTION, "NumWatches");
  long long n = count ? Convert_TruncInt64(std::strtod(count, nullptr)) : 0;
  std::map<long long, const char*> watches;
  if (IniSection* form = ini->GetSection(FORM_SECTION)) {
    for (IniKey* k = form->keys; k; k = k->next) {
      char* end = nullptr;
      if (std::strncmp(k->name, "Watch", 5) != 0 || !std::isdigit(static_cast<unsigned char>(k->name[5]))) continue;
      long long i = std::strtoll(k->name + 5, &end, 10);
      // "Watch%d" writes no leading zeros: "Watch01" is not watch 1.
      if (*end == '\0' && i < n && (k->name[5] != '0' || k->name[6] == '\0')) watches.emplace(i, k->value);
    }
  }
  for (const auto& [i, expression] : watches) Debug_AddWatch(f, expression);
}

void Debug_SaveSettings() {
  DebugForm* f = g_DebugForm;
  if (!f) return;
  f->refreshEnabled = false;
  Run_Paused = false;  // a paused game goes on
  for (int i = 0; i < DEBUG_CHILD_COUNT; ++i) {
    DebugRect r;
    if (f->children[i].visible && DebugM_ChildRect(i, &r)) f->children[i].rect = r;
  }
  if (IniFile* ini = f->settings) {
    ini->SetKey(FORM_SECTION, "FPSVisible", (Debug_Flags & DEBUG_FLAG_FPS) ? "true" : "false");
    int n = 0;
    for (const DebugWatch& w : f->watches)
      if (!w.expression.empty()) ini->SetKey(FORM_SECTION, ("Watch" + std::to_string(n++)).c_str(), w.expression.c_str());
    ini->SetKey(FORM_SECTION, "NumWatches", std::to_string(n).c_str());
    for (const DebugChildWindow& w : f->children) {
      const char* s = w.section.c_str();
      if (!w.visible) {
        ini->SetKey(s, "Visible", "false");
        continue;
      }
      ini->SetKey(s, "Visible", "true");
      ini->SetKey(s, "bottom", std::to_string(w.rect.bottom).c_str());
      ini->SetKey(s, "top", std::to_string(w.rect.top).c_str());
      ini->SetKey(s, "left", std::to_string(w.rect.left).c_str());
      ini->SetKey(s, "right", std::to_string(w.rect.right).c_str());
      ini->SetKey(s, "InstanceID", std::to_string(w.instanceId).c_str());
    }
    if (!ini->Write()) Console_Printf("Could not write %s\n", INI_NAME);
    delete ini;
    f->settings = nullptr;
  }
  // The windows close; their records keep what a restart shows again.
  for (int i = 0; i < DEBUG_CHILD_COUNT; ++i) DebugM_HideChild(i);
}

void Debug_Create() {
  if (DebugForm* f = g_DebugForm) {
    // After a restart: the form shows again, refreshes and keeps its settings.
    if (!f->settings) f->settings = new IniFile(INI_NAME, true);
    f->refreshEnabled = f->settingsLoaded;
    for (int i = 0; i < DEBUG_CHILD_COUNT; ++i) {
      if (!f->children[i].visible) continue;
      f->children[i].visible = false;
      DebugChildWindow_Fill(f, i);
      DebugChildWindow_Show(f, i);
    }
    DebugForm_SetVisible(true);
    return;
  }
  DebugForm* f = new DebugForm;
  g_DebugForm = f;
  if (Debug_Mode) f->settings = new IniFile(INI_NAME, true);
  InitForm(f);
  DebugM_Create(f);
  g_ConsoleListener = Debug_ConsoleOutput;
}

void Debug_Close() {
  DebugForm* f = g_DebugForm;
  if (!f) return;
  Debug_SaveSettings();
  g_ConsoleListener = nullptr;
  g_DebugForm = nullptr;
  DebugM_Destroy();
  delete f->watchInstance;
  delete f->settings;
  delete f;
}

void DebugForm_SetVisible(bool visible) {
  if (!g_DebugForm) return;
  g_DebugForm->shown = visible;
  DebugM_SetFormVisible(visible);
}

void Debug_CommandRun() {
  if (Run_Running && Run_Paused) Run_Start();
}

void Debug_CommandPause() {
  if (Run_Running && !Run_Paused) Run_Pause();
}

void Debug_CommandStep() {
  if (Run_Running && Run_Paused) Run_StepWhilePaused();
}

void Debug_CommandRestart() {
  // The next frame ends the game and starts it again; the form then shows
  // again (Debug_Create).
  if (!Run_Running) return;
  DebugForm_SetVisible(false);
  Run_RestartGame();
  if (Run_Paused) Run_Start();
}

void Debug_CommandAddWatch(DebugForm* f) {
  std::string answer;
  if (InputQuery_Show("Provide an expression", WATCH_PROMPT, nullptr, &answer)) Debug_AddWatch(f, answer.c_str());
  Debug_Update();
}

void Debug_CommandChangeWatch(DebugForm* f) {
  int row = f->watchSelection;
  if (row < 0 || row >= static_cast<int>(f->watches.size())) return;
  std::string answer;
  if (InputQuery_Show("Provide an expression.", WATCH_PROMPT, f->watches[row].expression.c_str(), &answer))
    Debug_ChangeWatch(f, row, answer.c_str());
  Debug_Update();
}

void Debug_CommandShowLocals(DebugForm* f) {
  std::string answer;
  if (InputQuery_Show("Showing Local Variables.", "Please provide the instance id or object name.", nullptr, &answer))
    Debug_OpenLocalsWindow(f, answer.c_str());
}

void Debug_ShowChildWindow(DebugForm* f, int index) {
  DebugChildWindow_Fill(f, index);
  DebugChildWindow_Show(f, index);
}

void Debug_Command(DebugForm* f, int id, bool checked) {
  switch (id) {
    case DEBUG_CMD_RUN: Debug_CommandRun(); break;
    case DEBUG_CMD_PAUSE: Debug_CommandPause(); break;
    case DEBUG_CMD_STEP: Debug_CommandStep(); break;
    case DEBUG_CMD_RESTART: Debug_CommandRestart(); break;
    case DEBUG_CMD_STOP:
      if (Run_Running) Run_Quit();
      break;
    case DEBUG_CMD_ADD_WATCH: Debug_CommandAddWatch(f); break;
    case DEBUG_CMD_CHANGE_WATCH: Debug_CommandChangeWatch(f); break;
    case DEBUG_CMD_DELETE_WATCH: Debug_DeleteWatch(f, f->watchSelection); break;
    case DEBUG_CMD_CLEAR_WATCHES: Debug_ClearWatches(f); break;
    case DEBUG_CMD_SHOW_GLOBALS: Debug_ShowChildWindow(f, DEBUG_GLOBALS); break;
    case DEBUG_CMD_SHOW_LOCALS: Debug_CommandShowLocals(f); break;
    case DEBUG_CMD_SHOW_INSTANCES: Debug_ShowChildWindow(f, DEBUG_INSTANCES); break;
    case DEBUG_CMD_SHOW_MESSAGES: Debug_ShowChildWindow(f, DEBUG_MESSAGES); break;
    case DEBUG_ID_DISPLAY_FPS: SetFpsFlag(f, checked); break;
  }
  if (g_DebugForm == f) DebugM_Sync(f);
}

void Debug_Select(DebugForm* f, int window, int row, bool add) {
  if (window < 0) {
    f->watchSelection = ClampRow(row, f->watchRows.size());
    return;
  }
  DebugChildWindow& w = f->children[window];
  if (row < 0 || row >= static_cast<int>(w.rows.size())) return;
  if (w.multiSelect) {
    if (!add) w.selected.assign(w.rows.size(), false);
    w.selected[row] = true;
  }
  w.selection = row;
}

void Debug_Activate(DebugForm* f, int window, int row) {
  if (window < 0 || window >= DEBUG_CHILD_COUNT) return;
  DebugChildWindow& w = f->children[window];
  if (row < 0 || row >= static_cast<int>(w.rows.size())) return;
  const std::string& first = w.rows[row][0];
  if (window == DEBUG_GLOBALS) {
    Debug_AddWatch(f, first.c_str());
  } else if (window == DEBUG_INSTANCES) {
    Debug_OpenLocalsWindow(f, first.c_str());
  } else if (window >= DEBUG_LOCALS_FIRST && window <= DEBUG_LOCALS_LAST) {
    Debug_AddWatch(f, ("(" + std::to_string(w.instanceId) + ")." + first).c_str());
  } else {
    return;
  }
  Debug_Update();
}

void Debug_Wheel(DebugForm* f, int window, int delta) {
  if (delta == 0) return;
  if (window < 0) {  // the watch list: down for a positive delta
    f->watchSelection = ClampRow(f->watchSelection + (delta > 0 ? 1 : -1), f->watchRows.size());
    return;
  }
  DebugChildWindow& w = f->children[window];
  int step = delta > 0 ? -1 : 1;  // child windows move the other way
  if (!w.multiSelect) {
    w.selection = ClampRow(w.selection + step, w.rows.size());
    return;
  }
  int first = -1;
  for (size_t i = 0; i < w.selected.size() && first < 0; ++i)
    if (w.selected[i]) first = static_cast<int>(i);
  if (first < 0) return;
  int next = first + step;
  if (next < 0 || next >= static_cast<int>(w.rows.size())) return;
  w.selected[first] = false;
  w.selected[next] = true;
  w.selection = next;
}

bool Debug_Key(DebugForm* f, int window, int key, bool ctrl) {
  if (window < 0 && key == DEBUG_KEY_DELETE) {
    Debug_DeleteWatch(f, f->watchSelection);
  } else if (window >= 0 && key == DEBUG_KEY_ESCAPE) {
    DebugChildWindow_Hide(f, window);
  } else if (window == DEBUG_MESSAGES && ctrl && key == DEBUG_KEY_C) {
    DialogM_CopyText(DebugMessages_CopyText(f).c_str());
  } else {
    return false;
  }
  return true;
}

void DebugMessages_Add(DebugForm* f, const char* text) {
  std::string line = text ? text : "";
  // The row shows the line without its line break.
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  DebugChildWindow& w = f->children[DEBUG_MESSAGES];
  w.rows.push_back({line});
  w.selected.push_back(false);
}

std::string DebugMessages_CopyText(const DebugForm* f) {
  const DebugChildWindow& w = f->children[DEBUG_MESSAGES];
  std::string out;
  size_t taken = 0;
  bool any = false;
  for (bool s : w.selected) any = any || s;
  for (size_t i = 0; i < w.rows.size() && taken < COPY_LINES_MAX; ++i) {
    if (any && !w.selected[i]) continue;
    out += w.rows[i][0] + "\n";
    ++taken;
  }
  return out;
}

int Debug_WindowByName(const std::string& name) {
  if (name == "form" || name == "watches") return -1;
  if (name == "globals") return DEBUG_GLOBALS;
  if (name == "instances") return DEBUG_INSTANCES;
  if (name == "messages") return DEBUG_MESSAGES;
  if (name.size() == 7 && name.compare(0, 6, "locals") == 0 && name[6] >= '3' && name[6] <= '8') return name[6] - '0';
  return -2;
}

bool Debug_FormExists() { return g_DebugForm != nullptr; }
