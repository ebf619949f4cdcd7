// Display modes and the device reset they lead to.
#pragma once

// The current display mode's size, colour depth and refresh rate are read
// through Display_GetWidth and its kin (Window_Main.h).
bool Display_SetSize(int w, int h);
bool Display_SetColourDepth(int depth);
bool Display_SetFrequency(int frequency);
bool Display_SetMode(int w, int h, int frequency, int depth);
// Whether the display offers that mode (0 for frequency or depth: any).
bool Display_TestMode(int w, int h, int frequency, int depth);
void Display_SetAntialias(int level);
void Display_SetVSync(bool on);
// A reset asked for now and carried out by the frame loop before its next
// scene (GR_D3D_Reset): vertical sync and the back buffer are set again.
void Display_RequestReset();
bool Display_ResetPending();
void GR_D3D_Reset();
void Graphics_ResetIfRequested();
