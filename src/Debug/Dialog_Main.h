// The boxes the engine shows the player: the script error box
// (ErrorDialog_Show, Code/Code_Error.h), the input box, the yes/no question
// and the modeless login box. Texts are UTF-8. A box that cannot be shown
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
// At the start of every step: an answered box queues its answer.
void LoginAsync_Poll();
// Where the step delivers finished asynchronous work: sends other event 63
// with the answer's async_load map {id, username, password, status}, frees
// the map afterwards and sets the state back to 0.
void LoginAsync_Deliver();

// What the boxes' buttons do; the platform half calls them.
void ErrorDialog_Copy();   // puts the error text on the clipboard (nothing after Clear)
void ErrorDialog_Clear();  // forgets the text; the box then shows one blank
void LoginAsync_Closed(bool ok, const char* user, const char* password);
