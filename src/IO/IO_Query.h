// Key and button states as the built-ins ask for them. Key 0 stands for "no
// key" (1 while none of the keys 0 to 255 is in the asked state) and key 1
// for "any key"; other keys outside 0 to 255 give 0. Button -1 stands for any
// of buttons 1 to 3, button 0 for none; other buttons outside 1 to 3 give 0.
#pragma once

enum IO_KeyState { IO_HELD, IO_PRESSED, IO_RELEASED };

int Keyboard_CheckState(int key, IO_KeyState state);
int Mouse_CheckButtonState(int button, int device, IO_KeyState state);
inline int Mouse_CheckButton(int button, int device) { return Mouse_CheckButtonState(button, device, IO_HELD); }
inline int Mouse_CheckButtonPressed(int button, int device) {
  return Mouse_CheckButtonState(button, device, IO_PRESSED);
}
inline int Mouse_CheckButtonReleased(int button, int device) {
  return Mouse_CheckButtonState(button, device, IO_RELEASED);
}
