#include "Function/Function_Interaction.h"

#include <SDL.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "Base/Console.h"
#include "Base/Convert.h"
#include "Base/Dialog_Answers.h"
#include "Base/Gtk_Start.h"
#include "Base/Linux/Gtk_BoxM.h"
#include "Base/UTF8_Main.h"
#include "Function/Function_Args.h"
#include "IO/IO_Main.h"
#include "IO/LoadSave_Main.h"

#define HANDLER(name) void name(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg)

void Interaction_GiveNullString(RValue& result) {
  RValue_Free(&result);
  result.kind = VALUE_STRING;
  result.str = nullptr;
}

namespace {
constexpr int VK_NUMLOCK = 144;

bool NumLockOn() { return (SDL_GetModState() & KMOD_NUM) != 0; }
}  // namespace

// ---------------------------------------------------------------- keyboard

HANDLER(F_KeyboardGetNumlock) { Give(Result, NumLockOn() ? 1 : 0); }

// The desktop's own Num Lock cannot be set from here: the runner's modifier
// state changes and the game sees the key go down and up.
HANDLER(F_KeyboardSetNumlock) {
  bool want = RValue_Real(arg[0]) >= 0.5;
  if (want == NumLockOn()) return;
  SDL_SetModState(static_cast<SDL_Keymod>(SDL_GetModState() ^ KMOD_NUM));
  IO_Inject_Key(VK_NUMLOCK, true);
  IO_Inject_Key(VK_NUMLOCK, false);
}

// --------------------------------------------------------------- joysticks

namespace {
// Sticks are read with or without the window's focus. Joystick number 2 is
// SDL's second stick, any other number the first.
SDL_Joystick* g_sticks[2];

SDL_Joystick* Stick(const RValue& number) {
  static bool started = false;
  if (!started) {
    started = true;
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
  }
  if (!SDL_WasInit(SDL_INIT_JOYSTICK)) return nullptr;
  int index = RValue_Real(number) == 2.0 ? 1 : 0;
  SDL_JoystickUpdate();
  SDL_Joystick*& stick = g_sticks[index];
  if (stick && !SDL_JoystickGetAttached(stick)) {
    SDL_JoystickClose(stick);
    stick = nullptr;
  }
  if (!stick && index < SDL_NumJoysticks()) stick = SDL_JoystickOpen(index);
  return stick;
}

// An SDL axis (-32768 to 32767, centred at 0) as the position 0 to 65535
// centred at 32767.
double AxisPosition(SDL_Joystick* stick, int axis) {
  if (axis >= SDL_JoystickNumAxes(stick)) return 32767;
  double v = SDL_JoystickGetAxis(stick, axis);
  return v <= 0 ? 32767 + v * 32767 / 32768 : 32767 + v * 32768 / 32767;
}

void GiveAxis(RValue& result, const RValue& number, int axis) {
  SDL_Joystick* stick = Stick(number);
  if (!stick) return;
  float position = static_cast<float>(std::round(AxisPosition(stick, axis)));
  Give(result, static_cast<float>(position / 32767.0f - 1.0f));
}
}  // namespace

HANDLER(F_JoystickExists) { Give(Result, Stick(arg[0]) ? 1 : 0); }

HANDLER(F_JoystickDirection) {
  Give(Result, 101);
  SDL_Joystick* stick = Stick(arg[0]);
  if (!stick) return;
  double x = AxisPosition(stick, 0), y = AxisPosition(stick, 1);
  int key = y < 20000 ? 6 : y > 44000 ? 0 : 3;
  key += x < 20000 ? 97 : x > 44000 ? 99 : 98;
  Give(Result, key);
}

HANDLER(F_JoystickName) {
  SDL_Joystick* stick = Stick(arg[0]);
  const char* name = stick ? SDL_JoystickName(stick) : nullptr;
  if (name) RValue_SetString(&Result, name);
  else Interaction_GiveNullString(Result);
}

HANDLER(F_JoystickAxes) {
  if (SDL_Joystick* stick = Stick(arg[0])) Give(Result, std::max(0, SDL_JoystickNumAxes(stick)));
}
HANDLER(F_JoystickButtons) {
  if (SDL_Joystick* stick = Stick(arg[0])) Give(Result, std::max(0, SDL_JoystickNumButtons(stick)));
}
HANDLER(F_JoystickHasPov) {
  SDL_Joystick* stick = Stick(arg[0]);
  Give(Result, stick && SDL_JoystickNumHats(stick) > 0 ? 1 : 0);
}

HANDLER(F_JoystickCheckButton) {
  SDL_Joystick* stick = Stick(arg[0]);
  int n = RValue_RoundInt(arg[1]);
  if (stick && n >= 1 && n <= 32 && n <= SDL_JoystickNumButtons(stick))
    Give(Result, SDL_JoystickGetButton(stick, n - 1) ? 1 : 0);
}

HANDLER(F_JoystickXPos) { GiveAxis(Result, arg[0], 0); }
HANDLER(F_JoystickYPos) { GiveAxis(Result, arg[0], 1); }
HANDLER(F_JoystickZPos) { GiveAxis(Result, arg[0], 2); }
HANDLER(F_JoystickRPos) { GiveAxis(Result, arg[0], 3); }
HANDLER(F_JoystickUPos) { GiveAxis(Result, arg[0], 4); }
HANDLER(F_JoystickVPos) { GiveAxis(Result, arg[0], 5); }

// The first hat in degrees clockwise from up; -1 when centred or missing.
HANDLER(F_JoystickPov) {
  Give(Result, -1);
  SDL_Joystick* stick = Stick(arg[0]);
  if (!stick || SDL_JoystickNumHats(stick) < 1) return;
  switch (SDL_JoystickGetHat(stick, 0)) {
    case SDL_HAT_UP: Give(Result, 0); break;
    case SDL_HAT_RIGHTUP: Give(Result, 45); break;
    case SDL_HAT_RIGHT: Give(Result, 90); break;
    case SDL_HAT_RIGHTDOWN: Give(Result, 135); break;
    case SDL_HAT_DOWN: Give(Result, 180); break;
    case SDL_HAT_LEFTDOWN: Give(Result, 225); break;
    case SDL_HAT_LEFT: Give(Result, 270); break;
    case SDL_HAT_LEFTUP: Give(Result, 315); break;
    default: break;
  }
}

// ------------------------------------------------------------ file dialogs

std::string File_DefaultExtension(const char* filter) {
  std::string f = filter ? filter : "";
  size_t bar = f.find('|');
  if (bar == std::string::npos) return "";
  size_t dot = f.find('.', bar + 1);
  if (dot == std::string::npos) return "";
  size_t end = f.find_first_of("|;", dot + 1);
  return f.substr(dot + 1, end == std::string::npos ? std::string::npos : end - dot - 1);
}

namespace {
struct FileDialogRun {
  GtkWidget* dialog;
  int response = GTK_RESPONSE_NONE;
  std::string wanted;  // a queued answer's path, chosen and waited for
  int waited = 0;
  bool save;
  guint timer = 0;  // the answer timer while it runs
};

// Adds the description and pattern pairs of a "|" list; a pattern may hold
// several patterns separated by ";".
void AddFilters(GtkFileChooser* chooser, const std::string& filter) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= filter.size() && !filter.empty()) {
    size_t bar = filter.find('|', start);
    parts.push_back(filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    GtkFileFilter* f = gtk_file_filter_new();
    gtk_file_filter_set_name(f, UTF8_MakeValid(parts[i].c_str()).c_str());
    std::string patterns = parts[i + 1];
    size_t from = 0;
    while (from <= patterns.size()) {
      size_t semi = patterns.find(';', from);
      std::string one = patterns.substr(from, semi == std::string::npos ? std::string::npos : semi - from);
      if (!one.empty()) gtk_file_filter_add_pattern(f, one.c_str());
      if (semi == std::string::npos) break;
      from = semi + 1;
    }
    gtk_file_chooser_add_filter(chooser, f);
  }
}

// One tick of the answer timer: chooses a queued answer's file, then accepts
// once the chooser holds it (or after about 6 s). False when it is done.
gboolean FileAnswerStep(FileDialogRun* run) {
  GtkFileChooser* chooser = GTK_FILE_CHOOSER(run->dialog);
  if (run->wanted.empty()) {
    DialogAnswer a;
    if (!DialogAnswers_Next(&a)) return G_SOURCE_REMOVE;
    if (a.button != "OK" || !a.hasText) {
      gtk_dialog_response(GTK_DIALOG(run->dialog), GTK_RESPONSE_CANCEL);
      return G_SOURCE_REMOVE;
    }
    run->wanted = a.text;
    if (run->save) {
      gchar* folder = g_path_get_dirname(a.text.c_str());
      gchar* base = g_path_get_basename(a.text.c_str());
      gtk_file_chooser_set_current_folder(chooser, folder);
      gtk_file_chooser_set_current_name(chooser, base);
      g_free(folder);
      g_free(base);
    } else {
      gtk_file_chooser_set_filename(chooser, a.text.c_str());
    }
    return G_SOURCE_CONTINUE;
  }
  gchar* now = gtk_file_chooser_get_filename(chooser);
  bool there = now && run->wanted == now;
  g_free(now);
  if (!there && ++run->waited < 40) return G_SOURCE_CONTINUE;
  gtk_dialog_response(GTK_DIALOG(run->dialog), GTK_RESPONSE_ACCEPT);
  return G_SOURCE_REMOVE;
}

gboolean FileAnswerTimer(gpointer data) {
  auto* run = static_cast<FileDialogRun*>(data);
  gboolean again = FileAnswerStep(run);
  if (!again) run->timer = 0;
  return again;
}

bool GtkFileDialog(bool save, const char* filter, const char* name, const char* folder, const char* title,
                   std::string* path) {
  std::string caption = UTF8_MakeValid(title && *title ? title : save ? "Save As" : "Open");
  GtkWidget* dialog = gtk_file_chooser_dialog_new(
      caption.c_str(), nullptr, save ? GTK_FILE_CHOOSER_ACTION_SAVE : GTK_FILE_CHOOSER_ACTION_OPEN, "_Cancel",
      GTK_RESPONSE_CANCEL, save ? "_Save" : "_Open", GTK_RESPONSE_ACCEPT, nullptr);
  GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
  gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
  gtk_file_chooser_set_local_only(chooser, TRUE);
  gtk_file_chooser_set_do_overwrite_confirmation(chooser, save);
  AddFilters(chooser, filter ? filter : "");
  if (folder && *folder) gtk_file_chooser_set_current_folder(chooser, folder);
  if (name && *name) {
    if (save) gtk_file_chooser_set_current_name(chooser, UTF8_MakeValid(name).c_str());
    else if (g_path_is_absolute(name)) gtk_file_chooser_set_filename(chooser, name);
  }
  FileDialogRun run{dialog};
  run.save = save;
  g_signal_connect(dialog, "response", G_CALLBACK(+[](GtkDialog*, int response, gpointer data) {
                     static_cast<FileDialogRun*>(data)->response = response;
                   }),
                   &run);
  if (DialogAnswers_Pending()) run.timer = g_timeout_add(GTK_ANSWER_INTERVAL_MS, FileAnswerTimer, &run);
  gtk_widget_show_all(dialog);
  Gtk_ModalLoop([&run] { return run.response != GTK_RESPONSE_NONE; });
  if (run.timer) g_source_remove(run.timer);
  bool ok = false;
  if (run.response == GTK_RESPONSE_ACCEPT) {
    gchar* chosen = gtk_file_chooser_get_filename(chooser);
    if (chosen) *path = chosen, ok = true;
    g_free(chosen);
  }
  gtk_widget_destroy(dialog);
  Gtk_Iterate();
  return ok;
}

bool FileDialog(bool save, const char* filter, const char* name, const char* folder, const char* title,
                std::string* path) {
  std::string ext;
  if (save) {
    ext = File_DefaultExtension(filter);
    g_Console.Output("pDefExt = %s\n", ext.c_str());
  }
  bool ok;
  if (Gtk_Start()) {
    ok = GtkFileDialog(save, filter, name, folder, title, path);
  } else {
    DialogAnswer a;
    ok = DialogAnswers_Next(&a) && a.button == "OK" && a.hasText && !a.text.empty();
    if (ok) *path = a.text;
    std::string line = std::string(save ? "Save" : "Open") + " dialog \"" + (title ? title : "") + "\": " +
                       (ok ? "OK \"" + *path + "\"" : std::string("Cancel")) + "\n";
    g_Console.Print(line.c_str());
  }
  if (!ok) return false;
  // A name without an extension gets the filter's default one.
  size_t slash = path->find_last_of('/');
  bool hasExtension = path->find('.', slash == std::string::npos ? 0 : slash + 1) != std::string::npos;
  if (save && !hasExtension && !ext.empty() && ext.find_first_of("*?") == std::string::npos) *path += "." + ext;
  LoadSave_AllowPath(path->c_str(), save);
  return true;
}

// Whether the arguments are the dialog's strings (exactly count of them).
bool StringArgs(int argc, const RValue* arg, int count) {
  if (argc != count) return false;
  for (int i = 0; i < count; i++)
    if (!RValue_IsString(arg[i])) return false;
  return true;
}

}  // namespace

bool File_OpenDialog(const char* filter, const char* name, const char* folder, const char* title, std::string* path) {
  return FileDialog(false, filter, name, folder, title, path);
}
bool File_SaveDialog(const char* filter, const char* name, const char* folder, const char* title, std::string* path) {
  return FileDialog(true, filter, name, folder, title, path);
}

namespace {
void RunFileDialog(RValue& result, bool save, int argc, const RValue* arg, int count) {
  std::string path;
  const char* folder = count == 4 ? RValue_Text(arg[2]) : nullptr;
  const char* title = count == 4 ? RValue_Text(arg[3]) : nullptr;
  bool ok = StringArgs(argc, arg, count) &&
            (save ? File_SaveDialog : File_OpenDialog)(RValue_Text(arg[0]), RValue_Text(arg[1]), folder, title, &path);
  if (ok) RValue_SetString(&result, path.c_str());
  else Interaction_GiveNullString(result);
  IO_Clear();
}
}  // namespace

HANDLER(F_GetOpenFilename) { RunFileDialog(Result, false, argc, arg, 2); }
HANDLER(F_GetSaveFilename) { RunFileDialog(Result, true, argc, arg, 2); }
HANDLER(F_GetOpenFilenameExt) { RunFileDialog(Result, false, argc, arg, 4); }
HANDLER(F_GetSaveFilenameExt) { RunFileDialog(Result, true, argc, arg, 4); }
