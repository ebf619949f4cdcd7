// Script error reports.
#pragma once
#include <string>

// Reports a run-time error of a built-in or of running code for the current
// object, event and action ("FATAL " in front when fatal), then Error_Show.
// The error is fatal when the flag is set, when the game makes every error
// fatal, or when the player aborts in the error dialog.
void Error_Show_Action(const char* text, bool fatal);
// Shows the error dialog (when the game asks for error messages), keeps the
// text as error_last, logs "ERROR!!! :: text", sets error_occurred; a fatal
// error aborts the game (pending transition -400). After an abort every
// later report returns at once. While the debugger evaluates watches
// (g_DebugEvaluatingWatches) both reports only set g_DebugWatchError.
void Error_Show(const char* text, bool fatal);
extern bool g_DebugWatchError;
// Frames the text for the error dialog, stores it in ErrorForm and asks the
// dialog; true when the player chose Abort.
bool Error_FormatDialogText(const char* text, bool showIgnore);

// What the error dialog shows.
struct TErrorForm {
  std::string text;
  bool showIgnore = true;
};
extern TErrorForm ErrorForm;

// The error dialog's answers.
constexpr int ERROR_DIALOG_ABORT = 1;
constexpr int ERROR_DIALOG_IGNORE = 2;
// The dialog that shows ErrorForm modally and returns the answer, installed
// at start-up. Without one the answer comes without a display: Ignore when
// offered, else Abort.
void Error_SetDialog(int (*show)());
// The debugger's refresh, run before an error is shown; installed at start-up.
void Error_SetDebugRefresh(void (*refresh)());

// The last error text and whether an error occurred (error_last, error_occurred).
const char* Error_Last();
bool Error_Occurred();
void Error_SetOccurred(bool occurred);
// True once a fatal error has aborted the game; Error_Reset clears it for a new game.
bool Error_Aborted();
void Error_Reset();
