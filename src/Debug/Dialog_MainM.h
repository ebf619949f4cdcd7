// The boxes of Dialog_Main.h over GTK. Each returns -1 (or false) when GTK
// cannot show it; texts arrive as valid UTF-8.
#pragma once
#include <string>

// 1 Abort, 0 Ignore; Copy and Clear call ErrorDialog_Copy/ErrorDialog_Clear.
int DialogM_Error(const char* text, bool showIgnore);
// Sets the box's edit field to the shown text (ErrorDialog_Clear's blank).
void DialogM_ErrorSetText(const char* text);
// 1 OK (*text becomes what was typed), 0 Cancel.
int DialogM_Input(const char* caption, const char* prompt, std::string* text);
// 1 Yes, 0 No.
int DialogM_Question(const char* caption, const char* prompt);
// Opens the login box; it answers through LoginAsync_Closed and is
// destroyed once it is closed.
bool DialogM_LoginOpen(const char* user, const char* password);
// The text goes to the system clipboard.
void DialogM_CopyText(const char* text);
