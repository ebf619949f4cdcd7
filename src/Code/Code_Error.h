// Script error reports.
#pragma once

// Reports a run-time error of a built-in or of running code for the current
// object, event and action ("FATAL " in front when fatal), then Error_Show.
void Error_Show_Action(const char* text, bool fatal);
// Logs "ERROR!!! :: text", keeps it as error_last, sets error_occurred and,
// when the game asks for error messages, shows the error dialog.
void Error_Show(const char* text, bool fatal);

// The last error text and whether an error occurred (error_last, error_occurred).
const char* Error_Last();
bool Error_Occurred();
void Error_SetOccurred(bool occurred);
