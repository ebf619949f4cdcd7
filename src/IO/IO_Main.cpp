#include "IO/IO_Main.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <utility>
#include <vector>

#include "IO/IO_Feed.h"

int IO_MousePositionX[6];
int IO_MousePositionY[6];

namespace {
struct KeyState {
  uint8_t held[IO_KEY_COUNT];
  uint8_t pressed[IO_KEY_COUNT];
  uint8_t released[IO_KEY_COUNT];
};
// What arrived since the last update, and what this step sees.
KeyState g_keysMsg, g_keys;
// The keyboard's own state: the keys the platform reports down (before the
// game's key map), whatever the game cleared since.
uint8_t g_keysDevice[IO_KEY_COUNT];

struct MouseState {
  uint8_t held[3], pressed[3], released[3];
  uint8_t wheel_up, wheel_down;
};
MouseState g_mouseMsg[IO_DEVICE_COUNT], g_mouse[IO_DEVICE_COUNT];
int g_lastButton[IO_DEVICE_COUNT];

void (*g_startStepPoll)() = nullptr;

int g_keyMap[IO_KEY_COUNT];
bool g_keyMapReady = false;
int g_lastKey = 0, g_currentKey = 0;
char g_typed[IO_TEXT_MAX + 1];
char g_lastChar[8];
// Synthesised keys waiting for the next pump.
std::vector<std::pair<int, bool>> g_injected;

bool KeyOk(int key) { return key >= 0 && key < IO_KEY_COUNT; }
bool ButtonOk(int button, int device) { return button >= 1 && button <= 3 && device >= 0 && device < IO_DEVICE_COUNT; }

int MapKey(int key) {
  if (!g_keyMapReady) IO_Key_UnsetMap();
  return KeyOk(key) ? g_keyMap[key] : key;
}

void AppendTyped(const char* bytes) {
  size_t have = std::strlen(g_typed), add = std::strlen(bytes);
  // A text longer than the buffer keeps only its end (whole characters).
  if (add > IO_TEXT_MAX) {
    size_t skip = add - IO_TEXT_MAX;
    while (skip < add && (bytes[skip] & 0xC0) == 0x80) skip++;
    bytes += skip, add -= skip, have = 0;
  }
  if (have + add > IO_TEXT_MAX) {
    // Drop whole characters from the front to make room.
    size_t cut = have + add - IO_TEXT_MAX;
    while (cut < have && (g_typed[cut] & 0xC0) == 0x80) cut++;
    std::memmove(g_typed, g_typed + cut, have - cut + 1);
    have -= cut;
  }
  std::memcpy(g_typed + have, bytes, add + 1);
}
}  // namespace

namespace {
// The recording: "IREC", then per step one byte per key (bit 0 held, 1
// pressed, 2 released), one such byte per mouse button, the wheel (bit 0 up,
// bit 1 down) and the mouse position as two little-endian int32.
constexpr int RECORD_STEP_BYTES = IO_KEY_COUNT + 3 + 1 + 8;
FILE* g_recordFile = nullptr;
FILE* g_playbackFile = nullptr;

void PackStep(uint8_t* out) {
  for (int k = 0; k < IO_KEY_COUNT; k++)
    out[k] = static_cast<uint8_t>(g_keys.held[k] | g_keys.pressed[k] << 1 | g_keys.released[k] << 2);
  for (int b = 0; b < 3; b++)
    out[IO_KEY_COUNT + b] = static_cast<uint8_t>(g_mouse[0].held[b] | g_mouse[0].pressed[b] << 1 | g_mouse[0].released[b] << 2);
  out[IO_KEY_COUNT + 3] = static_cast<uint8_t>(g_mouse[0].wheel_up | g_mouse[0].wheel_down << 1);
  uint32_t pos[2] = {static_cast<uint32_t>(IO_MousePositionX[0]), static_cast<uint32_t>(IO_MousePositionY[0])};
  for (int i = 0; i < 8; i++) out[IO_KEY_COUNT + 4 + i] = static_cast<uint8_t>(pos[i / 4] >> (8 * (i % 4)));
}

void UnpackStep(const uint8_t* in) {
  for (int k = 0; k < IO_KEY_COUNT; k++) {
    g_keys.held[k] = in[k] & 1, g_keys.pressed[k] = in[k] >> 1 & 1, g_keys.released[k] = in[k] >> 2 & 1;
  }
  for (int b = 0; b < 3; b++) {
    uint8_t v = in[IO_KEY_COUNT + b];
    g_mouse[0].held[b] = v & 1, g_mouse[0].pressed[b] = v >> 1 & 1, g_mouse[0].released[b] = v >> 2 & 1;
  }
  g_mouse[0].wheel_up = in[IO_KEY_COUNT + 3] & 1, g_mouse[0].wheel_down = in[IO_KEY_COUNT + 3] >> 1 & 1;
  uint32_t pos[2] = {0, 0};
  for (int i = 0; i < 8; i++) pos[i / 4] |= static_cast<uint32_t>(in[IO_KEY_COUNT + 4 + i]) << (8 * (i % 4));
  IO_MousePositionX[0] = static_cast<int>(pos[0]);
  IO_MousePositionY[0] = static_cast<int>(pos[1]);
}
}  // namespace

bool IO_Record_Start(const char* file) {
  IO_Record_Stop();
  g_recordFile = std::fopen(file, "wb");
  return g_recordFile && std::fwrite("IREC", 1, 4, g_recordFile) == 4;
}

bool IO_Playback_Start(const char* file) {
  IO_Record_Stop();
  g_playbackFile = std::fopen(file, "rb");
  char magic[4];
  if (g_playbackFile && std::fread(magic, 1, 4, g_playbackFile) == 4 && std::memcmp(magic, "IREC", 4) == 0) return true;
  IO_Record_Stop();
  return false;
}

void IO_Record_Stop() {
  for (FILE** f : {&g_recordFile, &g_playbackFile}) {
    if (*f) std::fclose(*f);
    *f = nullptr;
  }
}

void IO_Update() {
  if (g_playbackFile) {
    uint8_t step[RECORD_STEP_BYTES];
    if (std::fread(step, 1, sizeof step, g_playbackFile) == sizeof step) {
      UnpackStep(step);
      return;
    }
    IO_Record_Stop();  // the recording is over: the player takes over
    IO_Clear();
  }
  IO_Inject_Flush();  // keys synthesised in the last step reach this one
  g_keys = g_keysMsg;
  std::memset(g_keysMsg.pressed, 0, sizeof g_keysMsg.pressed);
  std::memset(g_keysMsg.released, 0, sizeof g_keysMsg.released);
  for (int d = 0; d < IO_DEVICE_COUNT; d++) {
    g_mouse[d] = g_mouseMsg[d];
    std::memset(g_mouseMsg[d].pressed, 0, sizeof g_mouseMsg[d].pressed);
    std::memset(g_mouseMsg[d].released, 0, sizeof g_mouseMsg[d].released);
    g_mouseMsg[d].wheel_up = g_mouseMsg[d].wheel_down = 0;
  }
  if (g_recordFile) {
    uint8_t step[RECORD_STEP_BYTES];
    PackStep(step);
    std::fwrite(step, 1, sizeof step, g_recordFile);
  }
}

void IO_SetStartStepPoll(void (*poll)()) { g_startStepPoll = poll; }

void IO_StartStep() {
  if (g_startStepPoll) g_startStepPoll();
}

void IO_Clear() {
  std::memset(&g_keysMsg, 0, sizeof g_keysMsg);
  std::memset(&g_keys, 0, sizeof g_keys);
  std::memset(g_mouseMsg, 0, sizeof g_mouseMsg);
  std::memset(g_mouse, 0, sizeof g_mouse);
  g_typed[0] = 0;
  g_injected.clear();  // keys synthesised before a modal box went to the box
}

uint8_t IO_Key_Check(int key) { return KeyOk(key) ? g_keys.held[key] : 0; }
uint8_t IO_Key_CheckPressed(int key) { return KeyOk(key) ? g_keys.pressed[key] : 0; }
uint8_t IO_Key_CheckReleased(int key) { return KeyOk(key) ? g_keys.released[key] : 0; }

void IO_Key_Clear(int key) {
  if (!KeyOk(key)) return;
  for (KeyState* k : {&g_keys, &g_keysMsg}) k->held[key] = k->pressed[key] = k->released[key] = 0;
}

void IO_Key_Set(int key, bool down) {
  if (!KeyOk(key)) return;
  for (KeyState* k : {&g_keys, &g_keysMsg}) {
    if (down && !k->held[key]) k->pressed[key] = 1;
    if (!down && k->held[key]) k->released[key] = 1;
    k->held[key] = down;
  }
  if (down) g_lastKey = key;
}

void IO_Inject_Key(int key, bool down) { g_injected.emplace_back(key, down); }

void IO_Inject_Flush() {
  std::vector<std::pair<int, bool>> keys;
  keys.swap(g_injected);
  for (auto [key, down] : keys) {
    if (!down) {
      IO_Feed_KeyUp(key);
      continue;
    }
    // A synthesised press types its character, as the key itself would.
    IO_Feed_KeyDown(key);
    if (KeyOk(key))
      if (uint32_t c = IO_Key_TypedChar(key, g_keysDevice[16])) IO_Feed_Char(c);
  }
}

uint8_t IO_Key_CheckDirect(int key) { return KeyOk(key) ? g_keysDevice[key] : 0; }

int IO_Key_Held() {
  if (KeyOk(g_lastKey) && g_lastKey >= 8 && g_keys.held[g_lastKey]) return g_lastKey;
  for (int k = 8; k < IO_KEY_COUNT; k++)
    if (g_keys.held[k]) return k;
  return 0;
}

uint32_t IO_Key_ControlChar(int key) {
  return key == 8 || key == 9 || key == 13 || key == 27 ? static_cast<uint32_t>(key) : 0;
}

uint32_t IO_Key_TypedChar(int key, bool shift) {
  if (uint32_t c = IO_Key_ControlChar(key)) return c;
  if (key >= 'A' && key <= 'Z') return static_cast<uint32_t>(shift ? key : key - 'A' + 'a');
  if (key >= '0' && key <= '9') return static_cast<uint32_t>(shift ? ")!@#$%^&*("[key - '0'] : key);
  if (key >= 96 && key <= 105) return static_cast<uint32_t>('0' + key - 96);  // the number pad
  // The number pad's operators (106 to 111; 108, the separator, types
  // nothing) and the punctuation keys of the US layout (186 to 192, 219 to
  // 222).
  static const char pad[] = "*+\0-./", plain[] = ";=,-./`", shifted[] = ":+<_>?~";
  static const char plain2[] = "[\\]'", shifted2[] = "{|}\"";
  if (key == ' ') return ' ';
  if (key >= 106 && key <= 111) return static_cast<uint32_t>(pad[key - 106]);
  if (key >= 186 && key <= 192) return static_cast<uint32_t>((shift ? shifted : plain)[key - 186]);
  if (key >= 219 && key <= 222) return static_cast<uint32_t>((shift ? shifted2 : plain2)[key - 219]);
  return 0;
}

void IO_Key_SetMap(int key1, int key2) {
  if (!g_keyMapReady) IO_Key_UnsetMap();
  if (KeyOk(key1)) g_keyMap[key1] = key2;
}

int IO_Key_GetMap(int key) { return MapKey(key); }

void IO_Key_UnsetMap() {
  for (int i = 0; i < IO_KEY_COUNT; i++) g_keyMap[i] = i;
  g_keyMapReady = true;
}

static bool AnyOf(const uint8_t* keys) {
  for (int k = 8; k < IO_KEY_COUNT; k++)
    if (keys[k]) return true;
  return false;
}
bool IO_Key_AnyHeld() { return AnyOf(g_keys.held); }
bool IO_Key_AnyPressed() { return AnyOf(g_keys.pressed); }
bool IO_Key_AnyReleased() { return AnyOf(g_keys.released); }

void IO_SetLastKey(int key) { g_lastKey = key; }
int IO_GetLastKey() { return g_lastKey; }
int IO_GetCurrentKey() { return g_currentKey; }
void IO_SetCurrentKey(int key) { g_currentKey = key; }
const char* IO_GetTypedText() { return g_typed; }
void IO_SetTypedText(const char* text) {
  g_typed[0] = 0;
  AppendTyped(text ? text : "");
}
const char* IO_GetLastChar() { return g_lastChar; }
void IO_SetLastChar(const char* text) {
  std::strncpy(g_lastChar, text ? text : "", sizeof g_lastChar - 1);
  g_lastChar[sizeof g_lastChar - 1] = 0;
}

uint8_t IO_Mouse_Check(int b, int d) { return ButtonOk(b, d) ? g_mouse[d].held[b - 1] : 0; }
uint8_t IO_Mouse_CheckPressed(int b, int d) { return ButtonOk(b, d) ? g_mouse[d].pressed[b - 1] : 0; }
uint8_t IO_Mouse_CheckReleased(int b, int d) { return ButtonOk(b, d) ? g_mouse[d].released[b - 1] : 0; }

void IO_Mouse_Clear(int b, int d) {
  if (!ButtonOk(b, d)) return;
  g_mouse[d].held[b - 1] = g_mouse[d].pressed[b - 1] = g_mouse[d].released[b - 1] = 0;
  if (d == 0) g_mouseMsg[0].held[b - 1] = g_mouseMsg[0].pressed[b - 1] = g_mouseMsg[0].released[b - 1] = 0;
}

int IO_Mouse_GetButton(int d) {
  if (d < 0 || d >= IO_DEVICE_COUNT) return 0;
  for (int b = 0; b < 3; b++)
    if (g_mouse[d].held[b]) return b + 1;
  return 0;
}

void IO_Mouse_SetButton(int d, int button) {
  if (d < 0 || d >= IO_DEVICE_COUNT) return;
  for (int b = 0; b < 3; b++) g_mouse[d].held[b] = (b + 1 == button);
}

void IO_Mouse_SetLastButton(int b, int d) {
  if (ButtonOk(b, d)) g_lastButton[d] = b;
}
void IO_Mouse_ForgetLastButton(int d) {
  if (d >= 0 && d < IO_DEVICE_COUNT) g_lastButton[d] = 0;
}
int IO_Mouse_GetLastButton(int d) { return d >= 0 && d < IO_DEVICE_COUNT ? g_lastButton[d] : 0; }
uint8_t IO_Mouse_WheelUp(int d) { return d >= 0 && d < IO_DEVICE_COUNT ? g_mouse[d].wheel_up : 0; }
uint8_t IO_Mouse_WheelDown(int d) { return d >= 0 && d < IO_DEVICE_COUNT ? g_mouse[d].wheel_down : 0; }

// The message side: what the window hands over.
void IO_Feed_KeyDown(int vk) {
  if (KeyOk(vk)) g_keysDevice[vk] = 1;
  int key = MapKey(vk);
  if (!KeyOk(key)) return;
  if (!g_keysMsg.held[key]) g_keysMsg.pressed[key] = 1;
  g_keysMsg.held[key] = 1;
  g_lastKey = key;
  g_currentKey = key;
}

void IO_Feed_KeyUp(int vk) {
  if (KeyOk(vk)) g_keysDevice[vk] = 0;
  int key = MapKey(vk);
  if (!KeyOk(key)) return;
  if (g_keysMsg.held[key]) g_keysMsg.released[key] = 1;
  g_keysMsg.held[key] = 0;
}

void IO_Feed_Char(uint32_t c) {
  char buf[8] = {};
  if (c == 8) {  // backspace removes the last character
    size_t n = std::strlen(g_typed);
    while (n > 0 && (g_typed[n - 1] & 0xC0) == 0x80) n--;
    if (n > 0) g_typed[n - 1] = 0;
    return;
  }
  if (c < 32 || c > 0x10FFFF) return;
  if (c < 0x80) {
    buf[0] = static_cast<char>(c);
  } else if (c < 0x800) {
    buf[0] = static_cast<char>(0xC0 | (c >> 6)), buf[1] = static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    buf[0] = static_cast<char>(0xE0 | (c >> 12)), buf[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    buf[2] = static_cast<char>(0x80 | (c & 0x3F));
  } else {
    buf[0] = static_cast<char>(0xF0 | (c >> 18)), buf[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    buf[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F)), buf[3] = static_cast<char>(0x80 | (c & 0x3F));
  }
  AppendTyped(buf);
  IO_SetLastChar(buf);
}

void IO_Feed_MouseButton(int button, bool down) {
  if (!ButtonOk(button, 0)) return;
  MouseState& m = g_mouseMsg[0];
  int b = button - 1;
  if (down && !m.held[b]) m.pressed[b] = 1;
  if (!down && m.held[b]) m.released[b] = 1;
  m.held[b] = down;
  if (down) g_lastButton[0] = button;
}

void IO_Feed_MouseMove(int x, int y) {
  IO_MousePositionX[0] = x;
  IO_MousePositionY[0] = y;
}

void IO_Feed_MouseWheel(int delta) {
  if (delta > 0) g_mouseMsg[0].wheel_up = 1;
  if (delta < 0) g_mouseMsg[0].wheel_down = 1;
}

namespace {
VirtualKey g_virtualKeys[IO_VIRTUAL_KEYS];
}

VirtualKey* IO_VirtualKey_FindFree() {
  for (int i = 0; i < IO_VIRTUAL_KEYS; i++) {
    if (g_virtualKeys[i].flags & VIRTUALKEY_USED) continue;
    g_virtualKeys[i] = VirtualKey{};
    g_virtualKeys[i].index = i;
    return &g_virtualKeys[i];
  }
  return nullptr;
}

VirtualKey* IO_VirtualKey_Get(int index) {
  return index >= 0 && index < IO_VIRTUAL_KEYS ? &g_virtualKeys[index] : nullptr;
}

void IO_VirtualKey_Delete(int index) {
  if (VirtualKey* k = IO_VirtualKey_Get(index)) k->flags &= static_cast<uint16_t>(~VIRTUALKEY_USED);
}
