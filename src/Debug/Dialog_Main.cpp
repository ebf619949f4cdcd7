#include "Debug/Dialog_Main.h"

#include "Base/Console.h"
#include "Base/Dialog_Answers.h"
#include "Base/UTF8_Main.h"
#include "Code/Code_Error.h"
#include "Debug/Dialog_MainM.h"
#include "Support/Support_Data_Structures_Table.h"
#include "IO/HTTP_Main.h"
#include "Object/Object_Event.h"

int LoginAsync_State = 0;
int LoginAsync_Id = 0;
double LoginAsync_Counter = 0;

namespace {
// The login box's own texts: what it was opened with, or what was typed.
std::string g_loginUser, g_loginPassword;
bool g_loginQueued = false;

std::string Cut(const char* text, size_t max) {
  if (!text) return "";
  return std::string(text, UTF8_CutLength(text, max));
}

void Log(const std::string& line) { g_Console.Print((line + "\n").c_str()); }

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

int ErrorWithoutDisplay() {
  DialogAnswer a;
  while (DialogAnswers_Next(&a)) {
    Log("Error box: " + a.button);
    if (a.button == "Copy") ErrorDialog_Copy();
    else if (a.button == "Clear") ErrorDialog_Clear();
    else if (a.button == "Abort") return 1;
    else if (a.button == "Ignore" && ErrorForm.showIgnore) return 0;
  }
  return ErrorForm.showIgnore ? 0 : 1;
}
}  // namespace

int ErrorDialog_Show() {
  std::string shown = UTF8_MakeValid(ErrorForm.text.c_str());
  int r = DialogM_Error(shown.c_str(), ErrorForm.showIgnore);
  if (r < 0) r = ErrorWithoutDisplay();
  return r == 1 ? ERROR_DIALOG_ABORT : ERROR_DIALOG_IGNORE;
}

// The report's text is never empty, so an empty one is the cleared text.
void ErrorDialog_Copy() {
  if (!ErrorForm.text.empty()) DialogM_CopyText(ErrorForm.text.c_str());
}

void ErrorDialog_Clear() {
  ErrorForm.text.clear();
  DialogM_ErrorSetText(" ");
}

bool InputQuery_Show(const char* caption, const char* prompt, const char* defaultText, std::string* result) {
  std::string text = Cut(defaultText, INPUTQUERY_DEFAULT_MAX);
  std::string shownCaption = UTF8_MakeValid(caption), shownPrompt = UTF8_MakeValid(prompt);
  const std::string shownDefault = UTF8_MakeValid(text.c_str());
  std::string shown = shownDefault;
  int r = DialogM_Input(shownCaption.c_str(), shownPrompt.c_str(), &shown);
  if (r < 0) {
    DialogAnswer a;
    r = DialogAnswers_Next(&a) && a.button == "OK" ? 1 : 0;
    if (r == 1 && a.hasText) shown = a.text;
    Log("Input box " + Quoted(shownCaption) + " asks " + Quoted(shownPrompt) + " (default " + Quoted(shownDefault) +
        "): " + (r == 1 ? "OK " + Quoted(shown) : "Cancel"));
  }
  // Cancel leaves the default text as the box holds it.
  if (r == 1) text = Cut(shown.c_str(), INPUTQUERY_ANSWER_MAX);
  *result = text;
  return r == 1;
}

bool Question_Show(const char* caption, const char* prompt) {
  std::string shownCaption = UTF8_MakeValid(caption), shownPrompt = UTF8_MakeValid(prompt);
  int r = DialogM_Question(shownCaption.c_str(), shownPrompt.c_str());
  if (r < 0) {
    DialogAnswer a;
    r = DialogAnswers_Next(&a) && a.button == "Yes" ? 1 : 0;
    Log("Question box " + Quoted(shownCaption) + " asks " + Quoted(shownPrompt) + ": " + (r == 1 ? "Yes" : "No"));
  }
  return r == 1;
}

int LoginAsync_Show(const char* user, const char* password) {
  LoginAsync_State = 1;
  g_loginUser = Cut(user, LOGIN_TEXT_MAX);
  g_loginPassword = Cut(password, LOGIN_TEXT_MAX);
  std::string shownUser = UTF8_MakeValid(g_loginUser.c_str());
  std::string shownPassword = UTF8_MakeValid(g_loginPassword.c_str());
  if (DialogM_LoginOpen(shownUser.c_str(), shownPassword.c_str())) return 1;
  DialogAnswer a;
  bool ok = DialogAnswers_Next(&a) && a.button == "OK";
  Log("Login box for " + Quoted(shownUser) + ": " + (ok ? "OK" : "Cancel"));
  LoginAsync_Closed(ok, ok && a.hasText ? a.text.c_str() : shownUser.c_str(),
                    ok && a.hasText2 ? a.text2.c_str() : shownPassword.c_str());
  return 1;
}

void LoginAsync_Closed(bool ok, const char* user, const char* password) {
  if (LoginAsync_State != 1) return;
  if (ok) {
    g_loginUser = Cut(user, INPUTQUERY_ANSWER_MAX);
    g_loginPassword = Cut(password, INPUTQUERY_ANSWER_MAX);
  }
  LoginAsync_State = ok ? 2 : -1;
}

void LoginAsync_Poll() {
  if ((LoginAsync_State == 2 || LoginAsync_State == -1) && !g_loginQueued) {
    g_loginQueued = true;
    HTTP_PushFinished(LoginAsync_Complete, nullptr, nullptr);
  }
}

int LoginAsync_Complete(HTTP_REQ_CONTEXT*, void*, int* mapIndex) {
  g_loginQueued = false;
  const DS_MapPair pairs[] = {
      {"id", static_cast<double>(LoginAsync_Id), nullptr},
      {"username", 0, g_loginUser.c_str()},
      {"password", 0, g_loginPassword.c_str()},
      {"status", LoginAsync_State == 2 ? 1.0 : -1.0, nullptr},
  };
  *mapIndex = DS_Map_CreateFromPairs(4, pairs);
  LoginAsync_State = 0;
  return EV_OTHER_DIALOG;
}
