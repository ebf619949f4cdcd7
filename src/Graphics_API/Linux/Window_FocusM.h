// Where the keyboard focus went when the game window lost it: to a window
// of this process (a box, a dialog, the debugger), to nobody, or to another
// application. Only X11 tells; elsewhere every loss counts as another
// application's.
#pragma once

struct SDL_Window;

// True when a window of another process holds the focus now.
bool WindowM_FocusIsForeign(SDL_Window* game);
