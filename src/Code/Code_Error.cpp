#include "Code/Code_Error.h"

#include <cstdio>
#include <string>

#include "Base/Console.h"
#include "Code/Code_Context.h"
#include "IO/IO_Main.h"
#include "Option/Option_Main.h"

TErrorForm ErrorForm;

namespace {
int AnswerWithoutDisplay() { return ErrorForm.showIgnore ? ERROR_DIALOG_IGNORE : ERROR_DIALOG_ABORT; }

int (*g_ShowDialog)() = AnswerWithoutDisplay;
void (*g_DebugRefresh)() = nullptr;
std::string g_last;
bool g_occurred = false;
bool g_aborted = false;

const char* EventName(int type) {
  static const char* const names[] = {"Create", "Destroy", "Alarm", "Step", "Collision", "Keyboard",
                                      "Mouse", "Other", "Draw", "Key Press", "Key Release"};
  return type >= 0 && type < 11 ? names[type] : "Unknown";
}
}  // namespace

bool g_DebugWatchError = false;

void Error_SetDialog(int (*show)()) { g_ShowDialog = show ? show : AnswerWithoutDisplay; }
void Error_SetDebugRefresh(void (*refresh)()) { g_DebugRefresh = refresh; }

void Error_Show_Action(const char* text, bool fatal) {
  if (g_aborted) return;
  if (g_DebugEvaluatingWatches) {  // a watch's error: the game sees nothing of it
    g_DebugWatchError = true;
    return;
  }
  fatal = fatal || g_GameOptions.errors_fatal;
  const CodeEventContext& e = g_CodeEventContext;
  std::string framed = fatal ? "FATAL " : "";
  if (e.event_type >= 0) {
    char head[512];
    std::snprintf(head, sizeof head, "ERROR in\naction number %d\nof %s Event %d\nfor object %s:\n\n",
                  e.action_index + 1, EventName(e.event_type), e.event_number,
                  e.object_name ? e.object_name : "<undefined>");
    framed += head;
  }
  framed += text ? text : "";
  Error_Show(framed.c_str(), fatal);
}

void Error_Show(const char* text, bool fatal) {
  if (g_aborted) return;
  if (g_DebugEvaluatingWatches) {
    g_DebugWatchError = true;
    return;
  }
  if (!text) text = "";
  if (g_DebugRefresh) g_DebugRefresh();
  if (g_GameOptions.show_errors && Error_FormatDialogText(text, !fatal)) fatal = true;
  IO_Clear();  // the key or click that closed the dialog stays out of the game
  g_last = text;
  g_Console.Output("ERROR!!! :: %s\n", text);
  g_occurred = true;
  if (fatal) {
    g_aborted = true;
    g_PendingTransition = TRANSITION_FATAL;
  }
}

bool Error_FormatDialogText(const char* text, bool showIgnore) {
  std::string framed = "\r\n" + std::string(43, '_') + "\r\n";
  for (const char* p = text ? text : ""; *p; ++p) {
    if (*p == '\r' || *p == '\n') {
      if (*p == '\r' && p[1] == '\n') ++p;  // one break, not two
      framed += "\r\n";
    } else if (*p == '\t') {
      framed += "       ";
    } else {
      framed += *p;
    }
  }
  ErrorForm.text = framed;
  ErrorForm.showIgnore = showIgnore;
  return g_ShowDialog() == ERROR_DIALOG_ABORT;
}

const char* Error_Last() { return g_last.c_str(); }
bool Error_Occurred() { return g_occurred; }
void Error_SetOccurred(bool occurred) { g_occurred = occurred; }
bool Error_Aborted() { return g_aborted; }
void Error_Reset() { g_aborted = false; }
