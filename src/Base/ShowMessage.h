// The modal message box of the runner.
#pragma once

// Shows a UTF-8 text in a modal box under the window's caption and returns
// when the player closes it. Without a display (no X11 or Wayland display,
// or SDL_VIDEODRIVER set to "offscreen" or "dummy") the text is logged and
// the call returns at once.
void ShowMessage(const char* text);

// True when a message box can be shown to someone.
bool ShowMessage_HasDisplay();

// The caption for the box and the window it belongs to (an SDL_Window*),
// installed at start-up. Both null by default: no caption, no owner.
void ShowMessage_SetOwner(const char* (*caption)(), void* (*parent)());
