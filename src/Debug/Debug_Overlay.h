// The debug overlay, drawn over the game at the end of every frame: the
// frame rate with the renderer's texture swaps and batches, the profiler
// bar, and the caption panel that a mouse gesture over the window's corners
// opens. What shows is chosen by the flags word Debug_Flags: 1 the panel,
// 2 the frame-rate line and the bar, 8 the panel's frame-rate switch.
#pragma once

// A cell of a gesture on a 10 x 10 grid over the overlay, and how far
// (in cells, each way) the mouse may miss it.
struct GestureCell {
  int column, row, tolerance;
};

// Before the scene ends, whether it is shown or not.
void DebugOverlay_Draw();
// The game the panel names.
void DebugOverlay_SetGame(const char* name, int major, int minor);

// One frame's mouse: its position in overlay coordinates and whether button
// 1 was released. Opens the panel, closes it, and works its switch.
void DebugOverlay_HandleMouse(float x, float y, bool released);
// Advances the gesture counter when the mouse lies in the pattern's next
// cell; true when that completes the pattern (the counter starts over). A
// miss starts over; a mouse off the grid changes nothing.
bool DebugOverlay_CornerGesture(int* counter, const GestureCell* pattern, int length);
