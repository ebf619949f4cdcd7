// The message box over SDL's simple message box.
#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "Base/Console.h"
#include "Base/ShowMessage.h"

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
  if (!text) text = "";
  if (ShowMessage_HasDisplay()) {
    const char* caption = g_ShowMessageCaption ? g_ShowMessageCaption() : nullptr;
    auto* parent = static_cast<SDL_Window*>(g_ShowMessageParent ? g_ShowMessageParent() : nullptr);
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption ? caption : "", text, parent) == 0) return;
    g_Console.Output("ShowMessage: no message box (%s)\n", SDL_GetError());
  }
  // Nobody to click: log the text whole and go on.
  std::string line = text;
  line += '\n';
  g_Console.Print(line.c_str());
}
