// What the window hands to the input layer as its events arrive. Keys are
// Windows virtual-key numbers (0 to 255; left and right Shift, Ctrl and Alt
// already told apart); mouse buttons are 1 left, 2 right, 3 middle.
#pragma once
#include <cstdint>

void IO_Feed_KeyDown(int vk);
void IO_Feed_KeyUp(int vk);
void IO_Feed_Char(uint32_t codepoint);
void IO_Feed_MouseButton(int button, bool down);
void IO_Feed_MouseMove(int x, int y);  // window client coordinates
void IO_Feed_MouseWheel(int delta);    // above 0: up
