// The debugger's test hook: a file of commands, named by the environment
// variable RUNNER_DEBUG_COMMANDS, acted on at the start of given frames
// (counted from 1, paused frames included). See docs/debugger-commands.md.
// With the debugger's windows open each command goes through the widgets'
// own signals and a dump reads what the widgets show; without them the
// commands act on the form's data.

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "Base/Console.h"
#include "Debug/Debug_Main.h"
#include "Debug/Debug_MainM.h"
#include "Graphics_API/Clipboard_Main.h"

namespace {
struct HookCommand {
  long frame;
  std::string verb, rest;
};

std::vector<HookCommand> g_commands;
size_t g_next = 0;
long g_frame = 0;
bool g_loaded = false;

const std::map<std::string, int>& CommandIds() {
  static const std::map<std::string, int> ids = {
      {"run", DEBUG_CMD_RUN},          {"pause", DEBUG_CMD_PAUSE},
      {"step", DEBUG_CMD_STEP},        {"restart", DEBUG_CMD_RESTART},
      {"stop", DEBUG_CMD_STOP},        {"addwatch", DEBUG_CMD_ADD_WATCH},
      {"changewatch", DEBUG_CMD_CHANGE_WATCH}, {"deletewatch", DEBUG_CMD_DELETE_WATCH},
      {"clearwatches", DEBUG_CMD_CLEAR_WATCHES}, {"globals", DEBUG_CMD_SHOW_GLOBALS},
      {"locals", DEBUG_CMD_SHOW_LOCALS}, {"instances", DEBUG_CMD_SHOW_INSTANCES},
      {"messages", DEBUG_CMD_SHOW_MESSAGES}};
  return ids;
}

void Load() {
  g_loaded = true;
  const char* file = std::getenv("RUNNER_DEBUG_COMMANDS");
  if (!file || !*file) return;
  std::ifstream in(file);
  if (!in) {
    Console_Printf("Cannot read the debugger commands in %s\n", file);
    return;
  }
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream words(line);
    HookCommand c{};
    if (!(words >> c.frame) || !(words >> c.verb) || c.verb[0] == '#') continue;
    std::getline(words >> std::ws, c.rest);
    g_commands.push_back(c);
  }
}

void Say(const std::string& text) { g_Console.Print(("debugger: " + text + "\n").c_str()); }

std::string Joined(const std::vector<std::string>& columns) {
  std::string out;
  for (size_t i = 0; i < columns.size(); ++i) out += (i ? " | " : "") + columns[i];
  return out;
}

// Prints rows first to first + count - 1 of a window (all by default).
void Dump(DebugForm* f, const std::string& name, int first, int count) {
  std::vector<std::vector<std::string>> rows;
  int selection = 0;
  if (name == "labels") {
    std::vector<std::string> labels;
    if (!DebugM_ReadLabels(&labels)) {
      labels.assign(f->labels, f->labels + DEBUG_LABEL_COUNT);
      labels.push_back(std::string(f->fpsChecked ? "[x]" : "[ ]") + " Display FPS");
    }
    for (const std::string& l : labels) rows.push_back({l});
    selection = -1;
    Say("labels");
  } else {
    int window = Debug_WindowByName(name);
    if (window == -2) {
      Say("no window " + name);
      return;
    }
    if (!DebugM_ReadRows(window, &rows, &selection)) {
      const auto& data = window < 0 ? f->watchRows : f->children[window].rows;
      rows = data;
      selection = window < 0 ? f->watchSelection : f->children[window].selection;
    }
    std::string caption = window < 0 ? "Calderwyn Debugger" : f->children[window].caption;
    bool visible = window < 0 ? f->shown : f->children[window].visible;
    DebugM_ReadCaption(window, &caption, &visible);
    Say(name + " \"" + caption + "\" " + (visible ? "shown" : "hidden") + ", " + std::to_string(rows.size()) + " rows");
  }
  first = std::max(first, 0);
  long long end = count < 0 ? static_cast<long long>(rows.size()) : std::min<long long>(1LL * first + count, rows.size());
  for (long long i = first; i < end; ++i) Say((i == selection ? "* " : "  ") + Joined(rows[i]));
}

int Number(std::istringstream& in, int fallback) {
  int n;
  return in >> n ? n : fallback;
}

void Act(const HookCommand& c) {
  DebugForm* f = g_DebugForm;
  if (!f) {
    Say("no form for " + c.verb);
    return;
  }
  std::istringstream args(c.rest);
  auto id = CommandIds().find(c.verb);
  if (id != CommandIds().end()) {
    if (!DebugM_Command(id->second, false)) Debug_Command(f, id->second);
  } else if (c.verb == "fps") {
    bool on = c.rest == "on";
    if (!DebugM_Command(DEBUG_ID_DISPLAY_FPS, on)) Debug_Command(f, DEBUG_ID_DISPLAY_FPS, on);
  } else if (c.verb == "add") {
    Debug_AddWatch(f, c.rest.c_str());
    Debug_Update();
  } else if (c.verb == "change") {
    int row = Number(args, -1);
    std::string text;
    std::getline(args >> std::ws, text);
    Debug_ChangeWatch(f, row, text.c_str());
    Debug_Update();
  } else if (c.verb == "select" || c.verb == "activate") {
    std::string name;
    args >> name;
    int window = Debug_WindowByName(name), row = Number(args, 0);
    if (window == -2) return Say("no window " + name);
    bool select = c.verb == "select";
    if (!(select ? DebugM_Select(window, row) : DebugM_Activate(window, row))) {
      if (select) Debug_Select(f, window, row);
      else Debug_Activate(f, window, row);
    }
  } else if (c.verb == "key") {
    std::string name, key;
    args >> name >> key;
    int window = Debug_WindowByName(name);
    int number = key == "escape" ? DEBUG_KEY_ESCAPE : key == "delete" ? DEBUG_KEY_DELETE : DEBUG_KEY_C;
    bool ctrl = key == "ctrl+c";
    if (window == -2) return Say("no window " + name);
    if (!DebugM_Key(window, number, ctrl)) Debug_Key(f, window, number, ctrl);
  } else if (c.verb == "clipboard") {
    std::istringstream lines(Clipboard_GetText());
    for (std::string line; std::getline(lines, line);) Say("clipboard " + line);
  } else if (c.verb == "open") {
    Debug_OpenLocalsWindow(f, c.rest.c_str());
  } else if (c.verb == "close") {
    Debug_Close();
  } else if (c.verb == "dump") {
    std::string name;
    args >> name;
    int first = Number(args, 0), count = Number(args, -1);
    Dump(f, name, first, count);
  } else {
    Say("unknown command " + c.verb);
  }
  if (g_DebugForm) DebugM_Sync(g_DebugForm);
}
}  // namespace

void Debug_Frame() {
  if (!g_loaded) Load();
  ++g_frame;
  while (g_next < g_commands.size() && g_commands[g_next].frame <= g_frame) Act(g_commands[g_next++]);
}
