// The game window over SDL2: its settings, the mouse, and the event pump
// that hands keys and mouse to the input layer.
#pragma once
#include <cstdint>

struct SDL_Window;

// Opens the window (hidden until Window_SetVisible) with an OpenGL context
// request; false when no video driver can make one.
bool Window_Create(const char* caption, int w, int h);
void Window_Destroy();
SDL_Window* Window_Handle();

// Pumps every pending window event: keys and mouse go to the input layer,
// a close request sets the quit flag.
void Window_ProcessMessages();
bool Window_QuitRequested();
void Window_ClearQuit();
// Called when another application takes the focus; installed at start-up.
void Window_SetOnPauseEvent(void (*onPause)());
// False from when another application's window takes the focus (from the
// game or from one of its own boxes) until the game window has it again.
bool Window_IsActive();

void Window_SetCaption(const char* text);
const char* Window_GetCaption();  // owned by the window
void Window_SetCursor(int cursor);  // 0 default, -1 none, -2..-22 system cursors
int Window_GetCursor();
void Window_SetColour(uint32_t bgr);
uint32_t Window_GetColour();  // low 24 bits
void Window_SetVisible(bool visible);
bool Window_GetVisible();
void Window_SetPosition(int x, int y);
void Window_SetSize(int w, int h);
void Window_SetRectangle(int x, int y, int w, int h);
void Window_Center();
int Window_GetX();
int Window_GetY();
int Window_GetClientWidth();
int Window_GetClientHeight();
void Window_Size(int* w, int* h);  // 640 by 480 before the window exists
void GR_Window_SetFullScreen(bool full);
bool GR_Window_GetFullScreen();

// The mouse in window client coordinates, and on the screen.
int Window_GetMouseX();
int Window_GetMouseY();
void Window_SetMouse(int x, int y);
int Display_GetMouseX();
int Display_GetMouseY();
void Display_SetMouse(int x, int y);
int Display_GetWidth();
int Display_GetHeight();
int Display_GetColourDepth();
int Display_GetFrequency();

// Keyboard: an SDL key code and scan code as a Windows virtual-key number
// (0 when it has none).
int Window_KeyToVirtual(int32_t sdlKey, int scancode);
