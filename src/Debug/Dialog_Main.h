// The boxes the engine shows the player: the script error box
// (ErrorDialog_Show, installed into the error report at start-up), the input
// box, the yes/no question and the modeless login box. Texts are UTF-8. A box that cannot be shown
// (no display, or GTK will not start) logs what it would show and takes the
// answers a test queued (Base/Dialog_Answers.h), else answers as cancelled:
// error Ignore (Abort when Ignore is not offered), input Cancel, question No,
// login Cancel.
#pragma once
#include <cstddef>
#include <string>

// The most of a default text the input box takes, and of a typed answer.
constexpr size_t INPUTQUERY_DEFAULT_MAX = 2050;
constexpr size_t INPUTQUERY_ANSWER_MAX = 1023;
constexpr size_t LOGIN_TEXT_MAX = 1024;

// Shows ErrorForm (Code/Code_Error.h) modally and returns the answer,
// ERROR_DIALOG_ABORT or ERROR_DIALOG_IGNORE.
int ErrorDialog_Show();

// Modal input box. *result receives the typed text after OK and the
// default text (as the box held it) after Cancel; true for OK.
bool InputQuery_Show(const char* caption, const char* prompt, const char* defaultText, std::string* result);
// Modal yes/no box: true for Yes.
bool Question_Show(const char* caption, const char* prompt);

// The login box: 0 none pending, 1 open, 2 confirmed, -1 cancelled.
extern int LoginAsync_State;
extern int LoginAsync_Id;
extern double LoginAsync_Counter;
// Opens the modeless login box with its own copies of the two texts;
// returns 1 at once.
int LoginAsync_Show(const char* user, const char* password);
// At the start of every step: an answered box puts its answer on the
// request list (IO/HTTP_Main.h), once.
void LoginAsync_Poll();
// The answer's delivery: its async_load map {id, username, password,
// status 1 after OK, -1 after Cancel} for other event 63; the state goes
// back to 0.
class HTTP_REQ_CONTEXT;
int LoginAsync_Complete(HTTP_REQ_CONTEXT* req, void* arg, int* mapIndex);

// What the boxes' buttons do; the platform half calls them.
void ErrorDialog_Copy();   // puts the error text on the clipboard (nothing after Clear)
void ErrorDialog_Clear();  // forgets the text; the box then shows one blank
void LoginAsync_Closed(bool ok, const char* user, const char* password);
