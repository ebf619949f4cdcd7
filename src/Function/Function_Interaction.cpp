// The interaction built-ins: splash screens and shown files, messages,
// questions, input and login boxes, the highscore table, and the
// registration of every interaction built-in (the platform's own handlers
// are in Linux/Function_InteractionM.cpp).
#include <string>

#include "Base/Console.h"
#include "Base/Convert.h"
#include "Base/ShowMessage.h"
#include "Base/String_Helpers.h"
#include "Base/Text_Real.h"
#include "Code/Code_Error.h"
#include "Code/Code_BuiltinTable.h"
#include "Debug/Dialog_Main.h"
#include "Function/Function_Interaction.h"
#include "Graphics_API/Window_Main.h"
#include "IO/IO_Main.h"
#include "Platform/MemoryManager.h"
#include "Run/Highscore_Main.h"
#include "Run/Run_Main.h"
#include "Run/Run_RunnerForm.h"

namespace {
#define HANDLER(name) void name(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg)

// A flag argument: true when its rounded value is above 0.
bool Flag(const RValue& v) { return RValue_RoundInt(v) > 0; }
// A text argument; null for a real or a string without text.
bool IsNullString(const RValue& v) { return RValue_IsString(v) && !v.str; }

// ------------------------------------------------------- splash and show

// Kept for the runner form's show back-ends; nothing else reads them.
struct SplashSettings {
  bool hasCaption = false;
  std::string caption;
  bool fullscreen = false, adapt = false, border = false, top = false, main = false;
  int width = 0, height = 0;
  uint32_t colour = 0;
  double scale = 0;
  bool cursor = false, interrupt = false, stopKey = false, stopMouse = false;
} g_Splash;

HANDLER(F_SplashSetCaption) {
  g_Splash.hasCaption = RValue_TextOrNull(arg[0]) != nullptr;
  g_Splash.caption = RValue_Text(arg[0]);
}
HANDLER(F_SplashSetFullscreen) { g_Splash.fullscreen = Flag(arg[0]); }
HANDLER(F_SplashSetSize) {
  g_Splash.width = RValue_RoundInt(arg[0]);
  g_Splash.height = RValue_RoundInt(arg[1]);
}
HANDLER(F_SplashSetAdapt) { g_Splash.adapt = Flag(arg[0]); }
HANDLER(F_SplashSetBorder) { g_Splash.border = Flag(arg[0]); }
HANDLER(F_SplashSetTop) { g_Splash.top = Flag(arg[0]); }
HANDLER(F_SplashSetColor) { g_Splash.colour = static_cast<uint32_t>(RValue_RoundInt(arg[0])); }
HANDLER(F_SplashSetMain) { g_Splash.main = Flag(arg[0]); }
HANDLER(F_SplashSetScale) { g_Splash.scale = RValue_Real(arg[0]); }
HANDLER(F_SplashSetCursor) { g_Splash.cursor = Flag(arg[0]); }
HANDLER(F_SplashSetInterrupt) { g_Splash.interrupt = Flag(arg[0]); }
HANDLER(F_SplashSetStopKey) { g_Splash.stopKey = Flag(arg[0]); }
HANDLER(F_SplashSetStopMouse) { g_Splash.stopMouse = Flag(arg[0]); }

void ShowVideo(const RValue& file, bool loop) {
  if (!RunnerForm_ShowVideo(RValue_Text(file), loop))
    Error_Show_Action("Video file not found (or name too long).", false);
  IO_Clear();
}
void ShowImage(const RValue& file, const RValue& delay) {
  if (!RunnerForm_ShowImage(RValue_Text(file), RValue_RoundInt(delay)))
    Error_Show_Action("Image file not found.", false);
  IO_Clear();
}
void ShowText(const RValue& file, const RValue& delay) {
  if (!RunnerForm_ShowText(RValue_Text(file), RValue_RoundInt(delay))) Error_Show_Action("Text file not found.", false);
  IO_Clear();
}
// show_*(file, full, ...): fullscreen or in the main window.
void SetFull(const RValue& full) {
  g_Splash.fullscreen = Flag(full);
  g_Splash.main = !g_Splash.fullscreen;
}

HANDLER(F_SplashShowVideo) { ShowVideo(arg[0], RValue_RoundInt(arg[1]) >= 1); }
HANDLER(F_SplashShowImage) { ShowImage(arg[0], arg[1]); }
HANDLER(F_SplashShowText) { ShowText(arg[0], arg[1]); }
HANDLER(F_ShowImage) {
  SetFull(arg[1]);
  ShowImage(arg[0], arg[2]);
}
HANDLER(F_ShowVideo) {
  SetFull(arg[1]);
  ShowVideo(arg[0], Flag(arg[2]));
}
HANDLER(F_ShowText) {
  SetFull(arg[1]);
  g_Splash.colour = static_cast<uint32_t>(RValue_RoundInt(arg[2]));
  ShowText(arg[0], arg[3]);
}

// ------------------------------------------------- messages and questions

// A message or question argument as shown: a string with "#" as line
// breaks, a real as "%d" when whole, else "%.2f".
std::string MessageText(const RValue& v) {
  if (!RValue_IsString(v)) return Real_ToText(RValue_Real(v));
  char* copy = String_Duplicate(RValue_Text(v));
  String_HashToNewline(copy);
  std::string text = copy;
  MEM_FREE(copy);
  return text;
}

HANDLER(F_ShowMessage) {
  RValue_SetReal(&Result, 1);
  if (IsNullString(arg[0])) return;
  ShowMessage(MessageText(arg[0]).c_str());
  IO_Clear();
}

HANDLER(F_ShowQuestion) {
  bool yes = Question_Show(Window_GetCaption(), MessageText(arg[0]).c_str());
  RValue_SetReal(&Result, yes ? 1 : 0);
  IO_Clear();
}

HANDLER(F_ShowError) { Error_Show_Action(RValue_Text(arg[0]), RValue_Real(arg[1]) >= 0.5); }

// The input box with the prompt and the default text; false when the
// default is a null string (no box is shown).
bool AskText(const RValue& prompt, const RValue& def, const char* realFormat, std::string* answer) {
  if (IsNullString(def)) return false;
  std::string text = RValue_IsString(def) ? RValue_Text(def)
                     : realFormat[1] == 'd' ? Text_Format(realFormat, RValue_RoundInt(def))
                                            : Text_Format(realFormat, RValue_Real(def));
  InputQuery_Show(Window_GetCaption(), RValue_Text(prompt), text.c_str(), answer);
  IO_Clear();
  return true;
}

HANDLER(F_GetString) {
  std::string answer;
  if (AskText(arg[0], arg[1], "%.2f", &answer)) RValue_SetString(&Result, answer.c_str());
  else Interaction_GiveNullString(Result);
}

HANDLER(F_GetInteger) {
  std::string answer;
  if (AskText(arg[0], arg[1], "%d", &answer)) RValue_SetReal(&Result, Real_FromText(answer.c_str()));
}

HANDLER(F_GetLoginAsync) {
  if (LoginAsync_State != 0) return;  // one login at a time
  LoginAsync_Counter += 1;
  LoginAsync_Id = Convert_RoundInt(LoginAsync_Counter);
  LoginAsync_State = 1;
  LoginAsync_Show(RValue_Text(arg[0]), RValue_Text(arg[1]));
  RValue_SetReal(&Result, LoginAsync_Id);
}

// -------------------------------------------------------- highscore table

HANDLER(F_HighscoreShow) {
  Highscore_Show(RValue_RoundInt(arg[0]));
  IO_Clear();
}
HANDLER(F_HighscoreSetBackground) { g_HighscoreDisplay.background = RValue_RoundInt(arg[0]); }
HANDLER(F_HighscoreSetBorder) { g_HighscoreDisplay.border = RValue_Real(arg[0]) >= 0.5; }
HANDLER(F_HighscoreSetFont) {
  g_HighscoreDisplay.font = RValue_Text(arg[0]);
  g_HighscoreDisplay.fontSize = RValue_RoundInt(arg[1]);
  g_Console.Output("Function F_HighscoreSetFont has no implementation.\n\n");
}
HANDLER(F_HighscoreSetStrings) {
  g_HighscoreDisplay.caption = RValue_Text(arg[0]);
  Highscore_SetEmptyName(RValue_TextOrNull(arg[1]));
  g_HighscoreDisplay.closeHint = RValue_Text(arg[2]);
}
HANDLER(F_HighscoreSetColors) {
  g_HighscoreDisplay.backColour = static_cast<uint32_t>(RValue_RoundInt(arg[0]));
  g_HighscoreDisplay.newColour = static_cast<uint32_t>(RValue_RoundInt(arg[1]));
  g_HighscoreDisplay.otherColour = static_cast<uint32_t>(RValue_RoundInt(arg[2]));
}
HANDLER(F_HighscoreShowExt) {
  g_HighscoreDisplay.background = RValue_RoundInt(arg[1]);
  g_HighscoreDisplay.border = RValue_Real(arg[2]) >= 0.5;
  g_HighscoreDisplay.newColour = static_cast<uint32_t>(RValue_RoundInt(arg[3]));
  g_HighscoreDisplay.otherColour = static_cast<uint32_t>(RValue_RoundInt(arg[4]));
  g_HighscoreDisplay.font = RValue_Text(arg[5]);
  g_HighscoreDisplay.fontSize = RValue_RoundInt(arg[6]);
  Highscore_Show(RValue_RoundInt(arg[0]));
  IO_Clear();
}
HANDLER(F_HighscoreClear) { Highscore_Clear(); }
HANDLER(F_HighscoreAdd) { Highscore_Add(RValue_Text(arg[0]), RValue_RoundInt(arg[1])); }
HANDLER(F_HighscoreAddCurrent) {
  Highscore_Add("DEFAULT", g_Score);
  IO_Clear();
}
HANDLER(F_HighscoreValue) { RValue_SetReal(&Result, Highscore_Value(RValue_RoundInt(arg[0]))); }
HANDLER(F_HighscoreName) {
  const char* name = Highscore_Name(RValue_RoundInt(arg[0]));
  if (name) RValue_SetString(&Result, name);
  else Interaction_GiveNullString(Result);
}
HANDLER(F_DrawHighscore) {
  Highscore_Draw(RValue_Real(arg[0]), RValue_Real(arg[1]), RValue_Real(arg[2]), RValue_Real(arg[3]));
}

// ------------------------------------ message styling, menus and folders

// Each only logs its text; the table gives what it answers.
enum StubResult { STUB_NONE, STUB_ONE, STUB_ZERO, STUB_NULL_STRING };
template <const char* Text, StubResult What, bool Clear>
HANDLER(F_Stub) {
  g_Console.Output("%s", Text);
  if (What == STUB_ONE) RValue_SetReal(&Result, 1);
  if (What == STUB_NULL_STRING) Interaction_GiveNullString(Result);
  if (Clear) IO_Clear();
}

#define STUB_TEXT(id, text) constexpr char id[] = text;
STUB_TEXT(kShowMessageExt, "show_message_ext(str,but1,but2,but3) not impleneted\n")
STUB_TEXT(kMessageBackground, "message_background(back) not impleneted\n")
STUB_TEXT(kMessageButton, "message_button(spr) not impleneted\n")
STUB_TEXT(kMessageTextFont, "message_text_font(name,size,color,style) not impleneted\n")
STUB_TEXT(kMessageButtonFont, "message_button_font(name,size,color,style) not impleneted\n")
STUB_TEXT(kMessageInputFont, "message_input_font(name,size,color,style) not impleneted\n")
STUB_TEXT(kMessageAlpha, "message_alpha(alpha) not impleneted\n")
STUB_TEXT(kMessageMouseColor, "message_mouse_color(col) not impleneted\n")
STUB_TEXT(kMessageInputColor, "message_input_color(col) not impleneted\n")
STUB_TEXT(kMessagePosition, "message_position(x,y) not impleneted\n")
STUB_TEXT(kMessageSize, "message_size(w,h)not impleneted\n")
STUB_TEXT(kMessageCaption, "message_caption(show,str) not impleneted\n")
STUB_TEXT(kShowMenu, "show_menu(str,default) not implemented.\n")
STUB_TEXT(kShowMenuPos, "show_menu_pos(X,Y,str,default) not implemented.\n")
STUB_TEXT(kGetColor, "get_color(def) is not implemented\n")
STUB_TEXT(kGetDirectory, "get_directory(dname) not implemented.\n")
STUB_TEXT(kGetDirectoryAlt, "get_directory_alt(capt,root) not implemented.\n")
STUB_TEXT(kShowInfo, "show_info(str) not supported\n")
STUB_TEXT(kLoadInfo, "load_info(str) not supported\n")
#undef STUB_TEXT

// ------------------------------------------------------- keys and mouse

HANDLER(F_KeyboardSetMap) { IO_Key_SetMap(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1])); }
HANDLER(F_KeyboardGetMap) { RValue_SetReal(&Result, IO_Key_GetMap(RValue_RoundInt(arg[0]))); }
HANDLER(F_KeyboardUnsetMap) { IO_Key_UnsetMap(); }


bool g_MouseDoubleClick = false;  // kept; nothing reads it

HANDLER(F_DeviceMouseDbclickEnable) {
  if (argc == 1 && !RValue_IsString(arg[0])) g_MouseDoubleClick = RValue_Real(arg[0]) > 0.5;
}
#undef HANDLER
}  // namespace

void Function_Interaction_Init() {
  Function_Add("splash_set_caption", F_SplashSetCaption, 1);
  Function_Add("splash_set_fullscreen", F_SplashSetFullscreen, 1);
  Function_Add("splash_set_size", F_SplashSetSize, 2);
  Function_Add("splash_set_adapt", F_SplashSetAdapt, 1);
  Function_Add("splash_set_border", F_SplashSetBorder, 1);
  Function_Add("splash_set_top", F_SplashSetTop, 1);
  Function_Add("splash_set_color", F_SplashSetColor, 1);
  Function_Add("splash_set_main", F_SplashSetMain, 1);
  Function_Add("splash_set_scale", F_SplashSetScale, 1);
  Function_Add("splash_set_cursor", F_SplashSetCursor, 1);
  Function_Add("splash_set_interrupt", F_SplashSetInterrupt, 1);
  Function_Add("splash_set_stop_key", F_SplashSetStopKey, 1);
  Function_Add("splash_set_stop_mouse", F_SplashSetStopMouse, 1);
  Function_Add("splash_show_video", F_SplashShowVideo, 2);
  Function_Add("splash_show_image", F_SplashShowImage, 2);
  Function_Add("splash_show_text", F_SplashShowText, 2);
  Function_Add("show_image", F_ShowImage, 3);
  Function_Add("show_video", F_ShowVideo, 3);
  Function_Add("show_text", F_ShowText, 4);

  Function_Add("show_message", F_ShowMessage, 1);
  Function_Add("show_question", F_ShowQuestion, 1);
  Function_Add("show_error", F_ShowError, 2);
  Function_Add("get_string", F_GetString, 2);
  Function_Add("get_integer", F_GetInteger, 2);
  Function_Add("get_login_async", F_GetLoginAsync, 2);

  Function_Add("highscore_show", F_HighscoreShow, 1);
  Function_Add("highscore_set_background", F_HighscoreSetBackground, 1);
  Function_Add("highscore_set_border", F_HighscoreSetBorder, 1);
  Function_Add("highscore_set_font", F_HighscoreSetFont, 3);
  Function_Add("highscore_set_strings", F_HighscoreSetStrings, 3);
  Function_Add("highscore_set_colors", F_HighscoreSetColors, 3);
  Function_Add("highscore_show_ext", F_HighscoreShowExt, 7);
  Function_Add("highscore_clear", F_HighscoreClear, 0);
  Function_Add("highscore_add", F_HighscoreAdd, 2);
  Function_Add("highscore_add_current", F_HighscoreAddCurrent, 0);
  Function_Add("highscore_value", F_HighscoreValue, 1);
  Function_Add("highscore_name", F_HighscoreName, 1);
  Function_Add("draw_highscore", F_DrawHighscore, 4);

  Function_Add("show_message_ext", F_Stub<kShowMessageExt, STUB_ONE, true>, 4);
  Function_Add("message_background", F_Stub<kMessageBackground, STUB_NONE, false>, 1);
  Function_Add("message_button", F_Stub<kMessageButton, STUB_NONE, false>, 1);
  Function_Add("message_text_font", F_Stub<kMessageTextFont, STUB_NONE, false>, 4);
  Function_Add("message_button_font", F_Stub<kMessageButtonFont, STUB_NONE, false>, 4);
  Function_Add("message_input_font", F_Stub<kMessageInputFont, STUB_NONE, false>, 4);
  Function_Add("message_alpha", F_Stub<kMessageAlpha, STUB_NONE, false>, 1);
  Function_Add("message_mouse_color", F_Stub<kMessageMouseColor, STUB_NONE, false>, 1);
  Function_Add("message_input_color", F_Stub<kMessageInputColor, STUB_NONE, false>, 1);
  Function_Add("message_position", F_Stub<kMessagePosition, STUB_NONE, false>, 2);
  Function_Add("message_size", F_Stub<kMessageSize, STUB_NONE, false>, 2);
  Function_Add("message_caption", F_Stub<kMessageCaption, STUB_NONE, false>, 2);
  Function_Add("show_menu", F_Stub<kShowMenu, STUB_ZERO, true>, 2);
  Function_Add("show_menu_pos", F_Stub<kShowMenuPos, STUB_ZERO, true>, 4);
  Function_Add("get_color", F_Stub<kGetColor, STUB_ZERO, true>, 1);
  Function_Add("get_directory", F_Stub<kGetDirectory, STUB_NULL_STRING, true>, 1);
  Function_Add("get_directory_alt", F_Stub<kGetDirectoryAlt, STUB_NULL_STRING, true>, 2);
  Function_Add("show_info", F_Stub<kShowInfo, STUB_NONE, true>, 0);
  Function_Add("load_info", F_Stub<kLoadInfo, STUB_ZERO, false>, 1);

  Function_Add("get_open_filename", F_GetOpenFilename, 2);
  Function_Add("get_save_filename", F_GetSaveFilename, 2);
  Function_Add("get_open_filename_ext", F_GetOpenFilenameExt, 4);
  Function_Add("get_save_filename_ext", F_GetSaveFilenameExt, 4);

  Function_Add("keyboard_get_numlock", F_KeyboardGetNumlock, 0);
  Function_Add("keyboard_set_numlock", F_KeyboardSetNumlock, 1);
  Function_Add("keyboard_key_press", F_KeyboardKeyPress, 1);
  Function_Add("keyboard_key_release", F_KeyboardKeyRelease, 1);
  Function_Add("keyboard_set_map", F_KeyboardSetMap, 2);
  Function_Add("keyboard_get_map", F_KeyboardGetMap, 1);
  Function_Add("keyboard_unset_map", F_KeyboardUnsetMap, 0);
  Function_Add("keyboard_check", F_KeyboardCheck, 1);
  Function_Add("keyboard_check_pressed", F_KeyboardCheckPressed, 1);
  Function_Add("keyboard_check_released", F_KeyboardCheckReleased, 1);
  Function_Add("keyboard_check_direct", F_KeyboardCheckDirect, 1);
  Function_Add("keyboard_clear", F_KeyboardClear, 1);
  Function_Add("keyboard_wait", F_KeyboardWait, 0);

  Function_Add("mouse_check_button", F_MouseCheckButton, 1);
  Function_Add("mouse_check_button_pressed", F_MouseCheckButtonPressed, 1);
  Function_Add("mouse_check_button_released", F_MouseCheckButtonReleased, 1);
  Function_Add("mouse_wheel_up", F_MouseWheelUp, 0);
  Function_Add("mouse_wheel_down", F_MouseWheelDown, 0);
  Function_Add("mouse_clear", F_MouseClear, 1);
  Function_Add("mouse_wait", F_MouseWait, 0);
  // Any argument count: its one-argument form must compile.
  Function_Add("device_mouse_dbclick_enable", F_DeviceMouseDbclickEnable, -1);

  Function_Add("io_clear", F_IOClear, 0);
  Function_Add("io_handle", F_IOHandle, 0);

  Function_Add("joystick_exists", F_JoystickExists, 1);
  Function_Add("joystick_direction", F_JoystickDirection, 1);
  Function_Add("joystick_name", F_JoystickName, 1);
  Function_Add("joystick_axes", F_JoystickAxes, 1);
  Function_Add("joystick_buttons", F_JoystickButtons, 1);
  Function_Add("joystick_has_pov", F_JoystickHasPov, 1);
  Function_Add("joystick_check_button", F_JoystickCheckButton, 2);
  Function_Add("joystick_xpos", F_JoystickXPos, 1);
  Function_Add("joystick_ypos", F_JoystickYPos, 1);
  Function_Add("joystick_zpos", F_JoystickZPos, 1);
  Function_Add("joystick_rpos", F_JoystickRPos, 1);
  Function_Add("joystick_upos", F_JoystickUPos, 1);
  Function_Add("joystick_vpos", F_JoystickVPos, 1);
  Function_Add("joystick_pov", F_JoystickPov, 1);
}
