#include "IO/IO_Feed.h"

// The input layer takes these over when it is built.
void IO_Feed_KeyDown(int vk) {}
void IO_Feed_KeyUp(int vk) {}
void IO_Feed_Char(uint32_t codepoint) {}
void IO_Feed_MouseButton(int button, bool down) {}
void IO_Feed_MouseMove(int x, int y) {}
void IO_Feed_MouseWheel(int delta) {}
