// Keyboard and mouse input. The window feeds events as they arrive (the
// message side, IO_Feed.h); each step's IO_Update takes over what arrived
// since the previous step. Keys are Windows virtual-key numbers 0 to 255;
// mouse buttons 1 left, 2 right, 3 middle; devices 0 to 4 (0 the mouse).
#pragma once
#include <cstdint>

constexpr int IO_KEY_COUNT = 256;
constexpr int IO_DEVICE_COUNT = 5;
constexpr int IO_TEXT_MAX = 1024;  // bytes kept of the typed text

// Window mouse position of each device 0 to 5 (entry 0 is the mouse).
constexpr int IO_MOUSE_POSITIONS = 6;
extern int IO_MousePositionX[IO_MOUSE_POSITIONS];
extern int IO_MousePositionY[IO_MOUSE_POSITIONS];

void IO_Update();     // at the start of each step
// Input recording ("-record") and playback ("-playback"): each step's key
// and mouse states go to, or come from, the file. Playback ends with the
// file. False when the file cannot be opened (or is no recording).
bool IO_Record_Start(const char* file);
bool IO_Playback_Start(const char* file);
void IO_Record_Stop();  // closes either file
// After the update: runs the poll installed at start-up (the login dialog's).
void IO_StartStep();
void IO_SetStartStepPoll(void (*poll)());
// Clears every key and button state and the typed text.
void IO_Clear();

uint8_t IO_Key_Check(int key);
uint8_t IO_Key_CheckPressed(int key);
uint8_t IO_Key_CheckReleased(int key);
void IO_Key_Clear(int key);
// Simulated key changes ("keyboard_key_press"): both sides at once.
void IO_Key_Set(int key, bool down);
// Keys the game synthesises: queued, they reach the message side with the
// next pump (IO_Inject_Flush), as the window's own keys do.
void IO_Inject_Key(int key, bool down);
void IO_Inject_Flush();
// Whether the keyboard itself holds the key down, as the platform last
// reported it: clearing the game's key states does not change it.
uint8_t IO_Key_CheckDirect(int key);
// The key held this step ("keyboard_key"): the last key pressed while it is
// still held, else the lowest held key, else 0.
int IO_Key_Held();
// The character a key types, 0 for none: IO_Key_ControlChar only Backspace
// 8, Tab 9, Enter 13 and Escape 27; IO_Key_TypedChar also the printable
// characters of the US layout, with or without Shift.
uint32_t IO_Key_ControlChar(int key);
uint32_t IO_Key_TypedChar(int key, bool shift);
void IO_Key_SetMap(int key1, int key2);
int IO_Key_GetMap(int key);
void IO_Key_UnsetMap();
bool IO_Key_AnyHeld();
bool IO_Key_AnyPressed();
bool IO_Key_AnyReleased();

void IO_SetLastKey(int key);
int IO_GetLastKey();
// The key of the current keyboard event, and the typed text.
int IO_GetCurrentKey();
void IO_SetCurrentKey(int key);
const char* IO_GetTypedText();
void IO_SetTypedText(const char* text);
const char* IO_GetLastChar();
void IO_SetLastChar(const char* text);

uint8_t IO_Mouse_Check(int button, int device);
uint8_t IO_Mouse_CheckPressed(int button, int device);
uint8_t IO_Mouse_CheckReleased(int button, int device);
void IO_Mouse_Clear(int button, int device);
int IO_Mouse_GetButton(int device);
void IO_Mouse_SetButton(int device, int button);
void IO_Mouse_SetLastButton(int button, int device);
int IO_Mouse_GetLastButton(int device);
void IO_Mouse_ForgetLastButton(int device);  // "mouse_wait" waits for the next one
uint8_t IO_Mouse_WheelUp(int device);
uint8_t IO_Mouse_WheelDown(int device);

// Virtual keys drawn on screen: records of the input layer.
constexpr int IO_VIRTUAL_KEYS = 64;
enum : uint16_t { VIRTUALKEY_USED = 1, VIRTUALKEY_VISIBLE = 2 };
struct VirtualKey {
  uint16_t flags;
  int index;  // the record's own index
  int left, top, right, bottom, width, height;
  int state[3];
  int key;
};
// The first unused record (zeroed, its index set), null when all are used.
VirtualKey* IO_VirtualKey_FindFree();
VirtualKey* IO_VirtualKey_Get(int index);  // null outside the records
// Marks the record unused (an index outside the records is ignored).
void IO_VirtualKey_Delete(int index);
