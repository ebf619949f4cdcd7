#include "Function/Function_MiscM.h"

#include <sys/resource.h>

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>

#include "Graphics_API/Window_Main.h"

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
