// The message box: a GTK box where GTK runs, SDL's simple message box where
// it cannot start, the console where nobody can see either.
#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "Base/Console.h"
#include "Base/Dialog_Answers.h"
#include "Base/Gtk_Start.h"
#include "Base/Linux/Gtk_BoxM.h"
#include "Base/ShowMessage.h"
#include "Base/UTF8_Main.h"

namespace {
const char* (*g_ShowMessageCaption)() = nullptr;
void* (*g_ShowMessageParent)() = nullptr;
}  // namespace

void ShowMessage_SetOwner(const char* (*caption)(), void* (*parent)()) {
  g_ShowMessageCaption = caption;
  g_ShowMessageParent = parent;
}

bool ShowMessage_HasDisplay() {
  const char* driver = std::getenv("SDL_VIDEODRIVER");
  if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) return false;
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

void ShowMessage(const char* text) {
  std::string shown = UTF8_MakeValid(text);
  std::string caption = UTF8_MakeValid(g_ShowMessageCaption ? g_ShowMessageCaption() : nullptr);
  if (Gtk_Start()) {
    CGtkBox box(caption.c_str(), true, 1);  // Escape and the close button answer as OK
    box.AddLabel(shown.c_str(), false);
    box.AddButton("OK", 1, true);
    box.RunModal();
    return;
  }
  if (ShowMessage_HasDisplay()) {
    auto* parent = static_cast<SDL_Window*>(g_ShowMessageParent ? g_ShowMessageParent() : nullptr);
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption.c_str(), shown.c_str(), parent) == 0) return;
    g_Console.Output("ShowMessage: no message box (%s)\n", SDL_GetError());
  }
  // Nobody to click: log the text whole, take the answer a test queued, go on.
  DialogAnswer answer;
  DialogAnswers_Next(&answer);
  shown = (text ? text : "");
  shown += '\n';
  g_Console.Print(shown.c_str());
}
