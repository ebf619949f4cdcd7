#include "IO/IO_Query.h"

#include <cstdint>

#include "IO/IO_Main.h"

int Keyboard_CheckState(int key, IO_KeyState state) {
  uint8_t (*const test[3])(int) = {IO_Key_Check, IO_Key_CheckPressed, IO_Key_CheckReleased};
  if (key == 0 || key == 1) {
    bool any = false;
    for (int k = 0; k < IO_KEY_COUNT && !any; k++) any = test[state](k) != 0;
    return key == 1 ? any : !any;
  }
  return test[state](key) ? 1 : 0;  // 0 outside 0 to 255
}

int Mouse_CheckButtonState(int button, int device, IO_KeyState state) {
  uint8_t (*const test[3])(int, int) = {IO_Mouse_Check, IO_Mouse_CheckPressed, IO_Mouse_CheckReleased};
  if (button == -1 || button == 0) {
    bool any = false;
    for (int b = 1; b <= 3 && !any; b++) any = test[state](b, device) != 0;
    return button == -1 ? any : !any;
  }
  return test[state](button, device) ? 1 : 0;
}
