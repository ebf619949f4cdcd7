#include "Graphics_API/Clipboard_Main.h"

#include <SDL2/SDL.h>

namespace {

// Used while the video layer is not running.
std::string g_clipboard;
bool g_clipboard_set = false;
// SDL reports an empty clipboard text as no text; an empty text we put there
// still counts as text.
bool g_clipboard_empty_set = false;

}  // namespace

bool Clipboard_HasText() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return g_clipboard_set;
  return SDL_HasClipboardText() || g_clipboard_empty_set;
}

std::string Clipboard_GetText() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return g_clipboard;
  char* text = SDL_GetClipboardText();
  std::string out = text ? text : "";
  SDL_free(text);
  return out;
}

void Clipboard_SetText(const char* text) {
  const char* t = text ? text : "";
  g_clipboard = t;
  g_clipboard_set = true;
  g_clipboard_empty_set = !*t;
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_SetClipboardText(t);
}
