// The platform half of the miscellaneous built-ins: the main window, the
// process priority, over SDL2 and the C library.
#pragma once
#include <cstdint>

// The GUI size back-ends are the window's Window_GetClientWidth and
// Window_GetClientHeight (Graphics_API/Window_Main.h).

// The main window's native handle (the X11 window or the SDL window id);
// 0 while there is no window.
uint64_t MiscM_WindowHandle();
// Sets the main window's caption, if there is a window.
void MiscM_SetCaption(const char* text);
// Process priority -3 (idle) to 3 (real time); anything else is normal.
void MiscM_SetPriority(int priority);
