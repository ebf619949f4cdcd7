// Device, system and display queries, with the platform constants and
// read-only variables.
#include "Base/Convert.h"
#include "Code/Code_Constant.h"
#include "Code/Code_Error.h"
#include "Function/Function_Args.h"
#include "Function/Kivo_Functions.h"
#include "Kivo/Kivo_Pause.h"
#include "Kivo/Kivo_Platform.h"
#include "Kivo/Kivo_System.h"
#include "Graphics_API/Graphics_Device.h"
#include "Graphics_API/Graphics_Texture.h"
#include "Graphics_API/Window_Main.h"
#include "IO/IO_Main.h"
#include "IO/IO_Query.h"
#include "Run/Run_Mouse.h"
#include "Support/Support_Timing.h"
#include "Variable/Variable_BuiltIn.h"

namespace {
constexpr int OS_LINUX = 6;
constexpr int BROWSER_NOT_A_BROWSER = -1;
constexpr int DISPLAY_DPI = 96;

// Nothing on this platform sets the tilts or opens a keypad.
float g_Tilt[3] = {0, 0, 0};
bool g_KeypadOpen = false;
// The GUI size a game set; negative until it sets one.
int g_GuiWidth = -1, g_GuiHeight = -1;

template <int Value>
void F_Fixed(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  Give(Result, Value);
}

void F_GetTimer(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  Give(Result, static_cast<double>(Timing_Time()));
}

template <int Axis>
void F_GetTilt(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  Give(Result, g_Tilt[Axis]);
}

// (device): the device's mouse in the room, through the views.
void F_MouseX(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  Give(Result, Run_MouseRoomX(RValue_RoundInt(arg[0])));
}
void F_MouseY(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  Give(Result, Run_MouseRoomY(RValue_RoundInt(arg[0])));
}

// (device): the device's mouse in the window; 0 outside devices 0 to 5.
template <int (&Position)[IO_MOUSE_POSITIONS]>
void F_MouseRaw(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  int device = RValue_RoundInt(arg[0]);
  Give(Result, device >= 0 && device < IO_MOUSE_POSITIONS ? Position[device] : 0);
}

// (device, button)
template <int (*Check)(int button, int device)>
void F_MouseCheckButton(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  Give(Result, Check(RValue_RoundInt(arg[1]), RValue_RoundInt(arg[0])));
}

void F_IsKeypadOpen(RValue& Result, CInstance*, CInstance*, int, const RValue*) { Give(Result, g_KeypadOpen); }
void F_GetDevice(RValue& Result, CInstance*, CInstance*, int, const RValue*) { Give(Result, Platform_GetDevice()); }
void F_GetCPUDetails(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  Give(Result, Platform_GetCPUDetails());
}
void F_OSGetLanguage(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  RValue_SetString(&Result, Platform_GetLanguage().c_str());
}
void F_OSIsNetworkConnected(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  Give(Result, Platform_IsNetworkConnected() ? 1 : 0);
}
void F_OSIsPaused(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  Give(Result, Kivo_OSPauseEvent_Paused() ? 1 : 0);
}
// Power saving and the orientation lock are phone settings; a desktop has
// neither to hand the flag to.
void F_PhoneSetting(RValue&, CInstance*, CInstance*, int, const RValue*) {}

void F_DisplaySetGuiSize(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  g_GuiWidth = RValue_TruncInt(arg[0]);
  g_GuiHeight = RValue_TruncInt(arg[1]);
}
void F_DisplayGetGuiWidth(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  Give(Result, g_GuiWidth < 0 ? Window_GetClientWidth() : g_GuiWidth);
}
void F_DisplayGetGuiHeight(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  Give(Result, g_GuiHeight < 0 ? Window_GetClientHeight() : g_GuiHeight);
}

void F_EnableAlphaBlend(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (arg[0].kind != VALUE_REAL) {
    Error_Show_Action("Illegal argument type: true/false expected", false);
    return;
  }
  Batch_Flush();
  Graphics_SetRenderState(RS_ALPHABLENDENABLE, RValue_IsTrue(arg[0]) ? 1 : 0);
}
void F_TextureFlush(RValue&, CInstance*, CInstance*, int, const RValue*) {
  Batch_Flush();
  GR_Texture_Flush();
}

// ---------------------------------------------------- read-only variables

template <int Value>
bool GV_Fixed(CInstance*, int, RValue* v) {
  RValue_SetReal(v, Value);
  return true;
}
bool GV_OSDevice(CInstance*, int, RValue* v) {
  RValue_SetReal(v, Platform_GetDevice());
  return true;
}
bool GV_OSVersion(CInstance*, int, RValue* v) {
  RValue_SetReal(v, Platform_GetOSVersion());
  return true;
}
bool GV_BrowserWidth(CInstance*, int, RValue* v) {
  RValue_SetReal(v, Window_GetClientWidth());
  return true;
}
bool GV_BrowserHeight(CInstance*, int, RValue* v) {
  RValue_SetReal(v, Window_GetClientHeight());
  return true;
}

struct NamedReal {
  const char* name;
  double value;
};
const NamedReal kConstants[] = {
    {"os_win32", 0},
    {"os_windows", 0},
    {"os_macosx", 1},
    {"os_psp", 2},
    {"os_ios", 3},
    {"os_android", 4},
    {"os_symbian", 5},
    {"os_linux", OS_LINUX},
    {"device_ios_unknown", -1},
    {"device_ios_iphone", 0},
    {"device_ios_iphone_retina", 1},
    {"device_ios_ipad", 2},
    {"device_ios_ipad_retina", 3},
    {"browser_not_a_browser", BROWSER_NOT_A_BROWSER},
    {"browser_unknown", 0},
    {"browser_ie", 1},
    {"browser_firefox", 2},
    {"browser_chrome", 3},
    {"browser_safari", 4},
    {"browser_safari_mobile", 5},
    {"browser_opera", 6},
    {"browser_windows_store", 8},
    {"of_challenge_win", 0},
    {"of_challenge_lose", 1},
    {"of_challenge_tie", 2},
    {"leaderboard_type_number", 0},
    {"leaderboard_type_time_mins_secs", 1},
};
}  // namespace

void Kivo_Functions_InitConstants() {
  Platform_InitConstants();
  for (const NamedReal& c : kConstants) Constant_AddReal(c.name, c.value);
}

void Kivo_Functions_InitVariables() {
  Variable_BuiltIn_Add("os_type", GV_Fixed<OS_LINUX>, nullptr, false);
  Variable_BuiltIn_Add("os_device", GV_OSDevice, nullptr, false);
  Variable_BuiltIn_Add("os_version", GV_OSVersion, nullptr, false);
  Variable_BuiltIn_Add("os_browser", GV_Fixed<BROWSER_NOT_A_BROWSER>, nullptr, false);
  Variable_BuiltIn_Add("browser_width", GV_BrowserWidth, nullptr, false);
  Variable_BuiltIn_Add("browser_height", GV_BrowserHeight, nullptr, false);
}

void Kivo_Device_Init() {
  Kivo_Add("get_timer", "Kivo_GetTimer", F_GetTimer, 0);
  Kivo_Add("device_get_tilt_x", "Kivo_GetTiltX", F_GetTilt<0>, 0);
  Kivo_Add("device_get_tilt_y", "Kivo_GetTiltY", F_GetTilt<1>, 0);
  Kivo_Add("device_get_tilt_z", "Kivo_GetTiltZ", F_GetTilt<2>, 0);
  Kivo_Add("device_mouse_x", "Kivo_MouseX", F_MouseX, 1);
  Kivo_Add("device_mouse_y", "Kivo_MouseY", F_MouseY, 1);
  Kivo_Add("device_mouse_raw_x", "Kivo_MouseXRaw", F_MouseRaw<IO_MousePositionX>, 1);
  Kivo_Add("device_mouse_raw_y", "Kivo_MouseYRaw", F_MouseRaw<IO_MousePositionY>, 1);
  Kivo_Add("device_mouse_check_button", "Kivo_MouseCheckButton", F_MouseCheckButton<Mouse_CheckButton>, 2);
  Kivo_Add("device_mouse_check_button_pressed", "Kivo_MouseCheckButtonPressed",
           F_MouseCheckButton<Mouse_CheckButtonPressed>, 2);
  Kivo_Add("device_mouse_check_button_released", "Kivo_MouseCheckButtonReleased",
           F_MouseCheckButton<Mouse_CheckButtonReleased>, 2);
  Kivo_Add("device_is_keypad_open", "Kivo_IsKeypadOpen", F_IsKeypadOpen, 0);
  Kivo_Add("device_ios_get_imagename", "Kivo_SelectPicture", F_Fixed<-1>, 0);
  Kivo_Add("device_ios_get_image", "Kivo_GetPictureSprite", F_Fixed<-1>, 0);
  Kivo_Add("Kivo_GetPlatform", nullptr, F_Fixed<OS_LINUX>, 0);
  Kivo_Add("Kivo_GetDevice", nullptr, F_GetDevice, 0);
  Kivo_Add("Kivo_GetCPUDetails", nullptr, F_GetCPUDetails, 0);
  Kivo_Add("os_get_language", nullptr, F_OSGetLanguage, 0);
  Kivo_Add("os_is_network_connected", nullptr, F_OSIsNetworkConnected, 0);
  Kivo_Add("os_is_paused", "Kivo_OSPauseEvent", F_OSIsPaused, 0);
  Kivo_Add("os_powersave_enable", nullptr, F_PhoneSetting, 1);
  Kivo_Add("os_lock_orientation", nullptr, F_PhoneSetting, 1);
  Kivo_Add("display_get_dpi_x", nullptr, F_Fixed<DISPLAY_DPI>, 0);
  Kivo_Add("display_get_dpi_y", nullptr, F_Fixed<DISPLAY_DPI>, 0);
  Kivo_Add("display_set_gui_size", nullptr, F_DisplaySetGuiSize, 2);
  Kivo_Add("display_get_gui_width", nullptr, F_DisplayGetGuiWidth, 0);
  Kivo_Add("display_get_gui_height", nullptr, F_DisplayGetGuiHeight, 0);
  Kivo_Add("draw_enable_alphablend", "Kivo_EnableAlphaBlend", F_EnableAlphaBlend, 1);
  Kivo_Add("draw_texture_flush", nullptr, F_TextureFlush, 0);
}
