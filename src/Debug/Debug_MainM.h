// The debugger's windows over GTK3, in the game's thread, served by the
// message pump. Every function does nothing (or answers false) when the
// windows could not be made (no display, or GTK will not start).
#pragma once
#include <string>
#include <vector>

struct DebugForm;
struct DebugRect;

// Makes the form's window and the nine child windows (hidden); false when
// there is no display.
bool DebugM_Create(DebugForm* form);
bool DebugM_Exists();
void DebugM_Destroy();
void DebugM_SetFormVisible(bool visible);
// Shows a child window at that rectangle (with a width), else at the
// form's position offset by (dx, dy).
void DebugM_ShowChild(int index, const DebugRect& at, int dx, int dy);
void DebugM_HideChild(int index);
// The child window's place and size on the screen; false when unknown
// (hidden, no window, or a display that cannot tell).
bool DebugM_ChildRect(int index, DebugRect* rect);
// Brings every widget in line with the form's data (labels, check box,
// rows, captions, selections), writing only what changed.
void DebugM_Sync(DebugForm* form);

// Test hook: acts through the widgets' own signals, as a click would.
// window: -1 the form, else a child record. False without windows.
bool DebugM_Command(int id, bool checked);
bool DebugM_Select(int window, int row);
bool DebugM_Activate(int window, int row);
// A key event sent to the window's widget (Debug_Key's numbers).
bool DebugM_Key(int window, int key, bool ctrl);
// Test hook: what the widgets show.
bool DebugM_ReadLabels(std::vector<std::string>* labels);
bool DebugM_ReadRows(int window, std::vector<std::vector<std::string>>* rows, int* selection);
bool DebugM_ReadCaption(int window, std::string* caption, bool* visible);
