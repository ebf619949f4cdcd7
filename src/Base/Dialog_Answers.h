// Answers queued for the runner's boxes and dialogs, so that tests can run
// games that ask the player something. The queue is read once from the
// environment variable RUNNER_DIALOG_ANSWERS: answers separated by ";", each
// a button name with up to two texts behind colons, e.g.
//   "OK:Alice;No;Ignore;OK:alice:secret;Cancel"
// Without a display each box takes the next answers in order; with one a
// timer types and clicks them into the box that is open.
#pragma once
#include <string>

struct DialogAnswer {
  // "OK", "Cancel", "Yes", "No", "Abort", "Ignore", "Copy", "Clear" (the
  // buttons), "Close" (the window's close button) or "Escape" (the key)
  std::string button;
  bool hasText = false, hasText2 = false;
  std::string text, text2;
};

// Takes the next queued answer; false when none is left.
bool DialogAnswers_Next(DialogAnswer* out);
bool DialogAnswers_Pending();
// Replaces the queue (the environment is then no longer read).
void DialogAnswers_Set(const char* list);
