#include "Function/Linux/Function_MiscM.h"

#include <sys/resource.h>

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>


#include "Graphics_API/Window_Main.h"

namespace {

// Used while the video layer is not running.
std::string g_clipboard;
bool g_clipboard_set = false;
// SDL reports an empty clipboard text as no text; an empty text we put there
// still counts as text.
bool g_clipboard_empty_set = false;

}  // namespace

uint64_t MiscM_WindowHandle() {
  SDL_Window* window = Window_Handle();
  if (!window) return 0;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11) return (uint64_t)info.info.x11.window;
  return SDL_GetWindowID(window);
}

void MiscM_SetCaption(const char* text) {
  if (SDL_Window* window = Window_Handle()) SDL_SetWindowTitle(window, text);
}

void MiscM_SetPriority(int priority) {
  static const int nice_by_priority[7] = {19, 10, 5, 0, -5, -10, -20};
  int nice = priority >= -3 && priority <= 3 ? nice_by_priority[priority + 3] : 0;
  setpriority(PRIO_PROCESS, 0, nice);  // raising it needs privileges; refused quietly
}

bool MiscM_ClipboardHasText() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return g_clipboard_set;
  return SDL_HasClipboardText() || g_clipboard_empty_set;
}

std::string MiscM_ClipboardGetText() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return g_clipboard;
  char* text = SDL_GetClipboardText();
  std::string out = text ? text : "";
  SDL_free(text);
  return out;
}

void MiscM_ClipboardSetText(const char* text) {
  const char* t = text ? text : "";
  g_clipboard = t;
  g_clipboard_set = true;
  g_clipboard_empty_set = !*t;
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_SetClipboardText(t);
}
