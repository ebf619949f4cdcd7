// The game window over SDL2 and its event pump.
#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "Base/Console.h"
#include "Base/UTF8_Main.h"
#include "Graphics_API/Window_Main.h"
#include "Graphics_API/Graphics_Device.h"
#include "Graphics_API/Linux/Window_FocusM.h"
#include "IO/IO_Feed.h"
#include "IO/IO_Main.h"

namespace {
void (*g_OnPauseEvent)() = nullptr;
}  // namespace

void Window_SetOnPauseEvent(void (*onPause)()) { g_OnPauseEvent = onPause; }

namespace {

struct WindowState {
  SDL_Window* window = nullptr;
  std::string caption;
  int cursor = 0;
  SDL_Cursor* sdlCursor = nullptr;
  uint32_t colour = 0xFF000000;
  bool visible = false;
  bool quit = false;
  bool active = true;
  bool focusNearby = false;  // lost to a window of the game's own, or to nobody
  bool fullScreen = false;
  int mouseX = 0, mouseY = 0;
  bool shiftDown[2] = {}, ctrlDown[2] = {}, altDown[2] = {};
};

WindowState g_Window;

// Virtual-key numbers used below.
enum {
  VK_BACK = 8, VK_TAB = 9, VK_CLEAR = 12, VK_RETURN = 13, VK_SHIFT = 16, VK_CONTROL = 17,
  VK_MENU = 18, VK_PAUSE = 19, VK_CAPITAL = 20, VK_ESCAPE = 27, VK_SPACE = 32, VK_PRIOR = 33,
  VK_NEXT = 34, VK_END = 35, VK_HOME = 36, VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39,
  VK_DOWN = 40, VK_SNAPSHOT = 44, VK_INSERT = 45, VK_DELETE = 46, VK_LWIN = 91, VK_RWIN = 92,
  VK_APPS = 93, VK_NUMPAD0 = 96, VK_MULTIPLY = 106, VK_ADD = 107, VK_SUBTRACT = 109,
  VK_DECIMAL = 110, VK_DIVIDE = 111, VK_F1 = 112, VK_NUMLOCK = 144, VK_SCROLL = 145,
  VK_LSHIFT = 160, VK_RSHIFT = 161, VK_LCONTROL = 162, VK_RCONTROL = 163, VK_LMENU = 164,
  VK_RMENU = 165, VK_OEM_1 = 186, VK_OEM_PLUS = 187, VK_OEM_COMMA = 188, VK_OEM_MINUS = 189,
  VK_OEM_PERIOD = 190, VK_OEM_2 = 191, VK_OEM_3 = 192, VK_OEM_4 = 219, VK_OEM_5 = 220,
  VK_OEM_6 = 221, VK_OEM_7 = 222,
};

// Sided modifiers also hold the plain Shift, Ctrl or Alt key while either
// side is down.
void FeedModifier(int sided, int plain, bool* sides, int side, bool down) {
  bool wasDown = sides[0] || sides[1];
  sides[side] = down;
  bool isDown = sides[0] || sides[1];
  if (down) {
    IO_Feed_KeyDown(sided);
    IO_Feed_KeyDown(plain);
  } else {
    IO_Feed_KeyUp(sided);
    if (wasDown && !isDown) IO_Feed_KeyUp(plain);
  }
}

void FeedKey(const SDL_KeyboardEvent& e, bool down) {
  int vk = Window_KeyToVirtual(e.keysym.sym, e.keysym.scancode);
  switch (vk) {
    case VK_LSHIFT: case VK_RSHIFT:
      FeedModifier(vk, VK_SHIFT, g_Window.shiftDown, vk == VK_RSHIFT, down);
      return;
    case VK_LCONTROL: case VK_RCONTROL:
      FeedModifier(vk, VK_CONTROL, g_Window.ctrlDown, vk == VK_RCONTROL, down);
      return;
    case VK_LMENU: case VK_RMENU:
      FeedModifier(vk, VK_MENU, g_Window.altDown, vk == VK_RMENU, down);
      return;
    case 0: return;
  }
  if (down) {
    IO_Feed_KeyDown(vk);
    // The control characters that typing produces (the others come as text).
    if (uint32_t c = IO_Key_ControlChar(vk)) IO_Feed_Char(c);
  } else {
    IO_Feed_KeyUp(vk);
  }
}

void FeedText(const char* s) {
  while (*s) IO_Feed_Char(UTF8_GetChar(s));
}

int MouseButton(int sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT: return 1;
    case SDL_BUTTON_RIGHT: return 2;
    case SDL_BUTTON_MIDDLE: return 3;
    default: return 0;
  }
}

}  // namespace

int Window_KeyToVirtual(int32_t key, int scancode) {
  if (key >= 'a' && key <= 'z') return key - 'a' + 'A';
  if (key >= '0' && key <= '9') return key;
  if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + (key - SDLK_F1);
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return VK_NUMPAD0 + 1 + (key - SDLK_KP_1);
  switch (key) {
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_CLEAR: return VK_CLEAR;
    case SDLK_RETURN: case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_PAUSE: return VK_PAUSE;
    case SDLK_CAPSLOCK: return VK_CAPITAL;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_END: return VK_END;
    case SDLK_HOME: return VK_HOME;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_PRINTSCREEN: return VK_SNAPSHOT;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_LGUI: return VK_LWIN;
    case SDLK_RGUI: return VK_RWIN;
    case SDLK_APPLICATION: return VK_APPS;
    case SDLK_KP_0: return VK_NUMPAD0;
    case SDLK_KP_MULTIPLY: return VK_MULTIPLY;
    case SDLK_KP_PLUS: return VK_ADD;
    case SDLK_KP_MINUS: return VK_SUBTRACT;
    case SDLK_KP_PERIOD: return VK_DECIMAL;
    case SDLK_KP_DIVIDE: return VK_DIVIDE;
    case SDLK_NUMLOCKCLEAR: return VK_NUMLOCK;
    case SDLK_SCROLLLOCK: return VK_SCROLL;
    case SDLK_LSHIFT: return VK_LSHIFT;
    case SDLK_RSHIFT: return VK_RSHIFT;
    case SDLK_LCTRL: return VK_LCONTROL;
    case SDLK_RCTRL: return VK_RCONTROL;
    case SDLK_LALT: return VK_LMENU;
    case SDLK_RALT: return VK_RMENU;
    case SDLK_SEMICOLON: return VK_OEM_1;
    case SDLK_EQUALS: return VK_OEM_PLUS;
    case SDLK_COMMA: return VK_OEM_COMMA;
    case SDLK_MINUS: return VK_OEM_MINUS;
    case SDLK_PERIOD: return VK_OEM_PERIOD;
    case SDLK_SLASH: return VK_OEM_2;
    case SDLK_BACKQUOTE: return VK_OEM_3;
    case SDLK_LEFTBRACKET: return VK_OEM_4;
    case SDLK_BACKSLASH: return VK_OEM_5;
    case SDLK_RIGHTBRACKET: return VK_OEM_6;
    case SDLK_QUOTE: return VK_OEM_7;
  }
  (void)scancode;
  return 0;
}

bool Window_Create(const char* caption, int w, int h) {
  if (g_Window.window) return true;
  if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    g_Console.Output("Could not start the video system: %s\n", SDL_GetError());
    return false;
  }
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  g_Window.caption = caption ? caption : "";
  g_Window.window = SDL_CreateWindow(g_Window.caption.c_str(), SDL_WINDOWPOS_CENTERED,
                                     SDL_WINDOWPOS_CENTERED, w > 0 ? w : 640, h > 0 ? h : 480,
                                     SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!g_Window.window) {
    g_Console.Output("Could not create the window: %s\n", SDL_GetError());
    return false;
  }
  g_Window.quit = false;
  g_Window.visible = false;
  return true;
}

void Window_Destroy() {
  // The device's context lives on the window: it goes first.
  GR_D3D_Shutdown();
  if (g_Window.sdlCursor) SDL_FreeCursor(g_Window.sdlCursor);
  if (g_Window.window) SDL_DestroyWindow(g_Window.window);
  g_Window = WindowState();
  // The display goes too, and with it the graphics driver's threads, which
  // would otherwise still run while the process ends.
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

SDL_Window* Window_Handle() { return g_Window.window; }

namespace {
// The game's own boxes, dialogs and debugger do not make the game inactive:
// only another application's window does, when it takes the focus from the
// game or from one of those windows.
void FollowFocus() {
  if (!g_Window.focusNearby || !WindowM_FocusIsForeign(g_Window.window)) return;
  g_Window.focusNearby = false;
  g_Window.active = false;
  if (g_OnPauseEvent) g_OnPauseEvent();
}
}  // namespace

void Window_ProcessMessages() {
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    switch (e.type) {
      case SDL_QUIT: g_Window.quit = true; break;
      case SDL_KEYDOWN: FeedKey(e.key, true); break;
      case SDL_KEYUP: FeedKey(e.key, false); break;
      case SDL_TEXTINPUT: FeedText(e.text.text); break;
      case SDL_MOUSEMOTION:
        g_Window.mouseX = e.motion.x;
        g_Window.mouseY = e.motion.y;
        IO_Feed_MouseMove(e.motion.x, e.motion.y);
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP:
        if (int b = MouseButton(e.button.button)) IO_Feed_MouseButton(b, e.type == SDL_MOUSEBUTTONDOWN);
        break;
      case SDL_MOUSEWHEEL:
        if (e.wheel.y) IO_Feed_MouseWheel(e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y);
        break;
      case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
          g_Window.focusNearby = true;
        } else if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
          g_Window.focusNearby = false;
          g_Window.active = true;
        } else if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
          g_Window.quit = true;
        }
        break;
    }
  }
  FollowFocus();
}

bool Window_QuitRequested() { return g_Window.quit; }
void Window_ClearQuit() { g_Window.quit = false; }
bool Window_IsActive() { return g_Window.active; }

void Window_SetCaption(const char* text) {
  g_Window.caption = text ? text : "";
  if (g_Window.window) SDL_SetWindowTitle(g_Window.window, g_Window.caption.c_str());
}

const char* Window_GetCaption() { return g_Window.caption.c_str(); }

void Window_SetCursor(int cursor) {
  g_Window.cursor = cursor;
  if (cursor == -1) {
    SDL_ShowCursor(SDL_DISABLE);
    return;
  }
  SDL_ShowCursor(SDL_ENABLE);
  SDL_SystemCursor kind = SDL_SYSTEM_CURSOR_ARROW;
  switch (cursor) {
    case -3: kind = SDL_SYSTEM_CURSOR_CROSSHAIR; break;
    case -4: kind = SDL_SYSTEM_CURSOR_IBEAM; break;
    case -6: kind = SDL_SYSTEM_CURSOR_SIZENESW; break;
    case -7: case -15: kind = SDL_SYSTEM_CURSOR_SIZENS; break;
    case -8: kind = SDL_SYSTEM_CURSOR_SIZENWSE; break;
    case -9: case -14: kind = SDL_SYSTEM_CURSOR_SIZEWE; break;
    case -11: case -17: kind = SDL_SYSTEM_CURSOR_WAIT; break;
    case -13: case -18: kind = SDL_SYSTEM_CURSOR_NO; break;
    case -19: kind = SDL_SYSTEM_CURSOR_WAITARROW; break;
    case -21: kind = SDL_SYSTEM_CURSOR_HAND; break;
    case -22: kind = SDL_SYSTEM_CURSOR_SIZEALL; break;
  }
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  SDL_Cursor* c = SDL_CreateSystemCursor(kind);
  if (!c) return;
  SDL_SetCursor(c);
  if (g_Window.sdlCursor) SDL_FreeCursor(g_Window.sdlCursor);
  g_Window.sdlCursor = c;
}

int Window_GetCursor() { return g_Window.cursor; }
void Window_SetColour(uint32_t bgr) { g_Window.colour = 0xFF000000u | (bgr & 0xFFFFFF); }
uint32_t Window_GetColour() { return g_Window.colour & 0xFFFFFF; }

void Window_SetVisible(bool visible) {
  g_Window.visible = visible;
  if (!g_Window.window) return;
  if (visible) SDL_ShowWindow(g_Window.window);
  else SDL_HideWindow(g_Window.window);
}

bool Window_GetVisible() { return g_Window.visible; }

void Window_SetPosition(int x, int y) {
  if (g_Window.window) SDL_SetWindowPosition(g_Window.window, x, y);
}

void Window_SetSize(int w, int h) {
  if (g_Window.window && w > 0 && h > 0) SDL_SetWindowSize(g_Window.window, w, h);
}

void Window_SetRectangle(int x, int y, int w, int h) {
  Window_SetPosition(x, y);
  Window_SetSize(w, h);
}

void Window_Center() {
  if (g_Window.window) SDL_SetWindowPosition(g_Window.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

int Window_GetX() {
  int x = 0;
  if (g_Window.window) SDL_GetWindowPosition(g_Window.window, &x, nullptr);
  return x;
}

int Window_GetY() {
  int y = 0;
  if (g_Window.window) SDL_GetWindowPosition(g_Window.window, nullptr, &y);
  return y;
}

void Window_Size(int* w, int* h) {
  *w = 640;
  *h = 480;
  if (g_Window.window) SDL_GetWindowSize(g_Window.window, w, h);
}

int Window_GetClientWidth() {
  int w, h;
  Window_Size(&w, &h);
  return w;
}

int Window_GetClientHeight() {
  int w, h;
  Window_Size(&w, &h);
  return h;
}

void GR_Window_SetFullScreen(bool full) {
  g_Window.fullScreen = full;
  if (g_Window.window) SDL_SetWindowFullscreen(g_Window.window, full ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

bool GR_Window_GetFullScreen() { return g_Window.fullScreen; }

int Window_GetMouseX() { return g_Window.mouseX; }
int Window_GetMouseY() { return g_Window.mouseY; }

void Window_SetMouse(int x, int y) {
  g_Window.mouseX = x;
  g_Window.mouseY = y;
  if (g_Window.window) SDL_WarpMouseInWindow(g_Window.window, x, y);
}

int Display_GetMouseX() { return Window_GetX() + g_Window.mouseX; }
int Display_GetMouseY() { return Window_GetY() + g_Window.mouseY; }
void Display_SetMouse(int x, int y) {
  // In 64 bits, then held to the 32-bit range: scripts may pass any value.
  auto inside = [](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
  Window_SetMouse(inside(int64_t(x) - Window_GetX()), inside(int64_t(y) - Window_GetY()));
}

static bool DisplayMode(SDL_DisplayMode* mode) {
  int index = g_Window.window ? SDL_GetWindowDisplayIndex(g_Window.window) : 0;
  return SDL_WasInit(SDL_INIT_VIDEO) && SDL_GetCurrentDisplayMode(index < 0 ? 0 : index, mode) == 0;
}

int Display_GetWidth() {
  SDL_DisplayMode m;
  return DisplayMode(&m) ? m.w : 0;
}

int Display_GetHeight() {
  SDL_DisplayMode m;
  return DisplayMode(&m) ? m.h : 0;
}

int Display_GetColourDepth() {
  SDL_DisplayMode m;
  return DisplayMode(&m) ? int(SDL_BITSPERPIXEL(m.format)) : 0;
}

int Display_GetFrequency() {
  SDL_DisplayMode m;
  return DisplayMode(&m) ? m.refresh_rate : 0;
}
