#include "Debug/Dialog_MainM.h"

#include <SDL.h>

#include "Base/Gtk_Start.h"
#include "Base/Linux/Gtk_BoxM.h"
#include "Debug/Dialog_Main.h"

namespace {
enum { ABORT = 1, IGNORE = 0, COPY = 2, CLEAR = 3 };
GtkTextBuffer* g_errorText = nullptr;  // the open error box's text
}  // namespace

int DialogM_Error(const char* text, bool showIgnore) {
  if (!Gtk_Start()) return -1;
  // The game's window settles before the box takes the screen.
  for (int i = 0; i < 2; i++) {
    SDL_Delay(100);
    Gtk_PumpModal();
  }
  CGtkBox box("Code Error...", true);
  GtkWidget* view = gtk_text_view_new();
  gtk_text_view_set_editable(GTK_TEXT_VIEW(view), FALSE);
  gtk_text_view_set_monospace(GTK_TEXT_VIEW(view), TRUE);
  gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(view), GTK_WRAP_WORD_CHAR);
  g_errorText = gtk_text_view_get_buffer(GTK_TEXT_VIEW(view));
  gtk_text_buffer_set_text(g_errorText, text, -1);
  GtkWidget* scroll = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroll), GTK_POLICY_AUTOMATIC, GTK_POLICY_ALWAYS);
  gtk_widget_set_size_request(scroll, 600, 420);
  gtk_container_add(GTK_CONTAINER(scroll), view);
  box.Add(scroll, true);
  box.AddButton("Abort", ABORT, false);
  if (showIgnore) box.AddButton("Ignore", IGNORE, false);
  box.AddButton("Copy", COPY, false);
  box.AddButton("Clear", CLEAR, false);
  box.onButton = [](int result) {
    if (result == COPY) ErrorDialog_Copy();
    if (result == CLEAR) ErrorDialog_Clear();
    return result == ABORT || result == IGNORE;
  };
  int r = box.RunModal();
  g_errorText = nullptr;
  return r;
}

void DialogM_ErrorSetText(const char* text) {
  if (g_errorText) gtk_text_buffer_set_text(g_errorText, text, -1);
}

int DialogM_Input(const char* caption, const char* prompt, std::string* text) {
  if (!Gtk_Start()) return -1;
  CGtkBox box(caption, true);
  box.AddLabel(prompt, false);
  GtkWidget* entry = box.AddEntry(text->c_str(), false, static_cast<int>(INPUTQUERY_ANSWER_MAX));
  box.AddButton("OK", 1, true);
  box.AddButton("Cancel", 0, false);
  box.SetEscape(0);  // Escape cancels; there is no close button
  gtk_widget_grab_focus(entry);
  int r = box.RunModal();
  if (r == 1) *text = CGtkBox::EntryText(entry);
  return r;
}

int DialogM_Question(const char* caption, const char* prompt) {
  if (!Gtk_Start()) return -1;
  CGtkBox box(caption, true);
  box.AddLabel(prompt, true);
  box.AddButton("Yes", 1, true);
  box.AddButton("No", 0, false);
  return box.RunModal();
}

bool DialogM_LoginOpen(const char* user, const char* password) {
  if (!Gtk_Start()) return false;
  // Close button and Escape cancel.
  auto* box = new CGtkBox("Login", true, 0);
  box->AddLabel("Username", false);
  box->AddEntry(user, false, static_cast<int>(INPUTQUERY_ANSWER_MAX));
  box->AddLabel("Password", false);
  box->AddEntry(password, true, static_cast<int>(INPUTQUERY_ANSWER_MAX));
  box->AddButton("OK", 1, true);
  box->AddButton("Cancel", 0, false);
  box->onEnd = [box](int result) {
    std::string typedUser = CGtkBox::EntryText(box->Entries()[0]);
    std::string typedPassword = CGtkBox::EntryText(box->Entries()[1]);
    LoginAsync_Closed(result == 1, typedUser.c_str(), typedPassword.c_str());
    // Destroyed once GTK has finished with the event that closed it.
    g_idle_add(
        [](gpointer b) {
          delete static_cast<CGtkBox*>(b);
          return G_SOURCE_REMOVE;
        },
        box);
  };
  box->ShowModeless();
  return true;
}

void DialogM_CopyText(const char* text) { SDL_SetClipboardText(text); }
