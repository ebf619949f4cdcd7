// The action built-ins for sounds and CD audio, rooms, waiting, messages,
// game control, replacing resources, and the tests and questions.
#include <algorithm>
#include <cstring>
#include <string>

#include "Background/Background_Main.h"
#include "Base/Random_Main.h"
#include "Base/ShowMessage.h"
#include "Base/String_Helpers.h"
#include "Base/Text_Real.h"
#include "Code/Code_Error.h"
#include "Code/Code_Main.h"
#include "Code/Code_BuiltinTable.h"
#include "Debug/Dialog_Main.h"
#include "Function/Function_Action.h"
#include "IO/IO_Main.h"
#include "IO/IO_Query.h"
#include "IO/LoadSave_Main.h"
#include "Object/Object_Class.h"
#include "Object/Object_Event.h"
#include "Object/Object_Main.h"
#include "Option/Option_Main.h"
#include "Platform/MemoryManager.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Run/Run_Instance.h"
#include "Run/Run_Main.h"
#include "Run/Run_Motion.h"
#include "Run/Run_RunnerForm.h"
#include "Run/Run_Screen.h"
#include "Script/Script_Main.h"
#include "Sound/Audio_Main.h"
#include "Sound/Sound_CD.h"
#include "Sound/Sound_Class.h"
#include "Sound/Sound_Main.h"
#include "Sound/Sound_Wave.h"
#include "Sprite/Sprite_Main.h"
#include "Support/Support_Timing.h"

using namespace action;

namespace {
// ---- Sounds ----

// The audio system's sound kinds.
enum { AUDIO_KIND_SOUND = 0, AUDIO_KIND_MUSIC = 1 };

void F_Sound(ACTION_ARGS) {
  int index = RValue_RoundInt(arg[0]);
  bool loop = RValue_IsTrue(arg[1]);
  if (g_GameOptions.new_audio) {
    int kind = Audio_SoundIsStreamed(index);
    if (kind == AUDIO_KIND_SOUND) Audio_PlaySimple(index, 1, loop);
    if (kind == AUDIO_KIND_MUSIC) Audio_PlayMusic(index, loop);
    return;
  }
  CSound* s = Sound_Data(index);
  if (!s) {
    Error_Show_Action("Trying to play non-existing sound.", false);
    return;
  }
  Wave_Play(s->PlayName(), s->GetSlot(), loop);
}

void F_EndSound(ACTION_ARGS) {
  int index = RValue_RoundInt(arg[0]);
  if (g_GameOptions.new_audio) {
    int kind = Audio_SoundIsStreamed(index);
    if (kind == AUDIO_KIND_SOUND) Audio_StopSound(index);
    if (kind == AUDIO_KIND_MUSIC) Audio_StopMusic();
    return;
  }
  CSound* s = Sound_Data(index);
  if (!s) {
    Error_Show_Action("Trying to stop non-existing sound.", false);
    return;
  }
  Wave_Stop(s->PlayName(), s->GetSlot());
}

void F_IfSound(ACTION_ARGS) {
  int index = RValue_RoundInt(arg[0]);
  if (g_GameOptions.new_audio) return SetBool(result, Audio_IsPlaying(index));
  CSound* s = Sound_Data(index);
  SetBool(result, s && Wave_IsPlaying(s->PlayName(), s->GetSlot()));
}

void F_CDPlay(ACTION_ARGS) { CD_Play(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1])); }
void F_CDStop(ACTION_ARGS) { CD_Stop(); }
void F_CDPause(ACTION_ARGS) { CD_Pause(); }
void F_CDResume(ACTION_ARGS) { CD_Resume(); }
void F_CDPresent(ACTION_ARGS) { SetBool(result, CD_Present()); }
void F_CDPlaying(ACTION_ARGS) { SetBool(result, CD_Playing()); }

// ---- Rooms ----

// The transition argument is not used: every room change is a plain one.
void F_PreviousRoom(ACTION_ARGS) {
  Run_TransitionKind = 0;
  if (g_RunRoom) Run_GotoPreviousRoom();
}

void F_NextRoom(ACTION_ARGS) {
  Run_TransitionKind = 0;
  if (g_RunRoom) Run_GotoNextRoom();
}

void F_CurrentRoom(ACTION_ARGS) {
  Run_TransitionKind = 0;
  if (g_RunRoom) Run_RestartRoom();
}

void F_AnotherRoom(ACTION_ARGS) {
  Run_TransitionKind = 0;
  Run_GotoRoom(RValue_RoundInt(arg[0]));
}

void F_IfPreviousRoom(ACTION_ARGS) { SetBool(result, g_RoomIndex != Room_First()); }
void F_IfNextRoom(ACTION_ARGS) { SetBool(result, g_RoomIndex != Room_Last()); }

// ---- Waiting ----

constexpr double SLEEP_MAX_MICROSECONDS = 3000000;

// The redraw shows the room first. Inside a draw event it is skipped: the
// room's drawing would run that same draw event again, without end.
void F_Sleep(ACTION_ARGS) {
  if (RValue_IsTrue(arg[1]) && g_CodeEventContext.event_type != EV_DRAW) {
    if (g_RunRoom) g_RunRoom->Draw();
    Run_EndScene(true);
    Run_BeginScene();
  }
  double us = std::min(RValue_Real(arg[0]) * 1000.0, SLEEP_MAX_MICROSECONDS);
  if (us > 0) Timing_Wait(Convert_RoundInt64(us));
}

// ---- Messages and game control ----

void F_Message(ACTION_ARGS) {
  std::string text = RValue_IsString(arg[0]) ? RValue_Text(arg[0]) : Text_Format("%e", RValue_Real(arg[0]));
  ShowMessage(text.c_str());
  IO_Clear();
  RValue_SetReal(&result, 1);
}

void F_ShowInfo(ACTION_ARGS) { IO_Clear(); }

void F_ShowVideo(ACTION_ARGS) {
  if (!RunnerForm_ShowVideo(RValue_Text(arg[0]), RValue_RoundInt(arg[2]) > 0))
    Error_Show_Action("Video file not found (or name too long).", false);
  IO_Clear();
}

void F_EndGame(ACTION_ARGS) { Run_EndGame(); }
void F_RestartGame(ACTION_ARGS) { Run_RestartGame(); }

// The load happens at the end of the frame; a name that is not a text
// leaves no name, and the load then fails as for a missing file. The name
// is looked for as game_load looks for it: the save folder, then the game's.
void F_LoadGame(ACTION_ARGS) {
  MEM_FREE(Run_PendingLoadFile);
  Run_PendingLoadFile = nullptr;
  if (RValue_IsString(arg[0])) {
    const char* name = RValue_Text(arg[0]);
    std::string path = LoadSave_MakeReadPath(name);
    Run_PendingLoadFile = String_Duplicate(path.empty() ? name : path.c_str());
  }
  g_PendingTransition = TRANSITION_LOAD;
}

// ---- Replacing resources, keeping their settings ----

// The checks before a replacement: the resource and the file must exist.
bool CanReplace(bool exists, bool fileExists) {
  if (!exists) {
    Error_Show_Action("Trying to replace non-existing resource.", false);
    return false;
  }
  if (!fileExists) {
    Error_Show_Action("File does not exist.", false);
    return false;
  }
  return true;
}

// Whether the file of a name argument is found where every loader reads it.
bool FileFound(const RValue& name) { return !LoadSave_MakeReadPath(RValue_Text(name)).empty(); }

void F_ReplaceSprite(ACTION_ARGS) {
  int index = RValue_RoundInt(arg[0]);
  CSprite* s = Sprite_Data(index);
  if (!CanReplace(s, FileFound(arg[1]))) return;
  Sprite_Replace(index, RValue_Text(arg[1]), RValue_RoundInt(arg[2]), s->precise, s->transparent, s->smooth, s->preload,
                 s->xorig, s->yorig);
}

void F_ReplaceSound(ACTION_ARGS) {
  int index = RValue_RoundInt(arg[0]);
  CSound* s = Sound_Data(index);
  if (!CanReplace(s, FileFound(arg[1]))) return;
  Sound_Replace(index, RValue_Text(arg[1]), s->kind, s->preload);
}

void F_ReplaceBackground(ACTION_ARGS) {
  int index = RValue_RoundInt(arg[0]);
  CBackground* b = Background_Data(index);
  if (!CanReplace(b, FileFound(arg[1]))) return;
  Background_Replace(index, RValue_Text(arg[1]), b->transparent, b->smooth, b->preload);
}

// ---- Tests and questions ----

void F_If(ACTION_ARGS) { RValue_Copy(&result, &arg[0]); }

// Free of solid instances for a third argument of 0, else of all instances.
bool IsEmpty(CInstance* self, const RValue* arg) {
  if (!self) return false;
  float x = RelX(self, arg[0]), y = RelY(self, arg[1]);
  return RValue_RoundInt(arg[2]) == 0 ? Run_PlaceFree(self, x, y) : Run_PlaceEmpty(self, x, y);
}

void F_IfEmpty(ACTION_ARGS) { SetBool(result, IsEmpty(self, arg)); }
void F_IfCollision(ACTION_ARGS) { SetBool(result, !IsEmpty(self, arg)); }

void F_IfObject(ACTION_ARGS) {
  if (self)
    SetBool(result, Run_PlaceMeetingBool(self, RValue_RoundInt(arg[0]), RelX(self, arg[1]), RelY(self, arg[2])));
}

void F_IfNumber(ACTION_ARGS) {
  SetBool(result, Compare(Run_InstanceNumber(RValue_RoundInt(arg[0])), RValue_RoundInt(arg[1]), arg[2]));
}

void F_IfQuestion(ACTION_ARGS) {
  char* text = String_Duplicate(RValue_Text(arg[0]));
  if (text) String_HashToNewline(text);
  bool yes = Question_Show("", text ? text : "");
  MEM_FREE(text);
  SetBool(result, yes);
  IO_Clear();
}

// True for a draw below 1001 out of round(sides x 1000); counted in 64
// bits so that any number of sides works.
constexpr int64_t DICE_SCALE = 1000;
constexpr int64_t DICE_THRESHOLD = 1001;

void F_IfDice(ACTION_ARGS) {
  double sides = RValue_Real(arg[0]);
  if (!(sides > 1)) return SetBool(result, true);
  int64_t range = Convert_RoundInt64(sides * DICE_SCALE);
  double draw = std::min(static_cast<double>(Random_Real()), 0.9999);
  SetBool(result, static_cast<int64_t>(range * draw) < DICE_THRESHOLD);
}

// Mouse buttons 1 left, 2 right, 3 middle: held or released this step; any
// other value: no button held.
void F_IfMouse(ACTION_ARGS) {
  int button = RValue_RoundInt(arg[0]);
  if (button >= 1 && button <= 3)
    return SetBool(result, Mouse_CheckButton(button, 0) || Mouse_CheckButtonReleased(button, 0));
  SetBool(result, IO_Mouse_GetButton(0) == 0);
}

void F_IfAligned(ACTION_ARGS) {
  if (self) SetBool(result, Run_IsSnapped(self, RValue_Real(arg[0]), RValue_Real(arg[1])));
}

constexpr int SCRIPT_ARGUMENTS = 5;

// The script's failure is reported here, not fatal, and the caller goes on.
void F_ExecuteScript(ACTION_ARGS) {
  RValue args[SCRIPT_ARGUMENTS] = {};
  for (int i = 0; i < SCRIPT_ARGUMENTS; i++) RValue_Copy(&args[i], &arg[i + 1]);
  int script = RValue_RoundInt(arg[0]);
  if (Script_GetCode(script)) {
    Script_Execute(script, self, other, SCRIPT_ARGUMENTS, args, &result);
    if (Code_ErrorPending()) {
      std::string text = Code_ErrorText;
      Code_ErrorClear();
      Error_Show_Action(text.c_str(), false);
    }
  }
  for (RValue& a : args) RValue_Free(&a);
}

void F_Inherited(ACTION_ARGS) {
  const CObject* obj = Object_Find(g_CodeEventContext.object_index);
  if (!obj || !Object_Exists(obj->parent_index)) return;
  Event_PerformObject(self, other, obj->parent_index, g_CodeEventContext.event_type, g_CodeEventContext.event_number);
}

// Strings bytewise as unsigned characters, reals by their difference.
void F_IfVariable(ACTION_ARGS) {
  if (RValue_IsString(arg[0]) != RValue_IsString(arg[1])) {
    Error_Show_Action("Cannot compare arguments.", false);
    return;
  }
  double d;
  if (RValue_IsString(arg[0])) {
    int c = std::strcmp(RValue_Text(arg[0]), RValue_Text(arg[1]));
    d = c < 0 ? -1 : c > 0 ? 1 : 0;
  } else {
    d = RValue_Real(arg[0]) - RValue_Real(arg[1]);
  }
  switch (RValue_RoundInt(arg[2])) {
    case 1:
      return SetBool(result, d < 0);
    case 2:
      return SetBool(result, d > 0);
    case 3:
      return SetBool(result, d <= 0);
    case 4:
      return SetBool(result, d >= 0);
    default:
      return SetBool(result, d == 0);
  }
}
}  // namespace

void Function_Action_Control_Init() {
  Function_Add("action_sound", F_Sound, 2);
  Function_Add("action_end_sound", F_EndSound, 1);
  Function_Add("action_if_sound", F_IfSound, 1);
  Function_Add("action_cd_play", F_CDPlay, 2);
  Function_Add("action_cd_stop", F_CDStop, 0);
  Function_Add("action_cd_pause", F_CDPause, 0);
  Function_Add("action_cd_resume", F_CDResume, 0);
  Function_Add("action_cd_present", F_CDPresent, 0);
  Function_Add("action_cd_playing", F_CDPlaying, 0);

  Function_Add("action_previous_room", F_PreviousRoom, 1);
  Function_Add("action_next_room", F_NextRoom, 1);
  Function_Add("action_current_room", F_CurrentRoom, 1);
  Function_Add("action_another_room", F_AnotherRoom, 2);
  Function_Add("action_if_previous_room", F_IfPreviousRoom, 0);
  Function_Add("action_if_next_room", F_IfNextRoom, 0);
  Function_Add("action_sleep", F_Sleep, 2);

  Function_Add("action_message", F_Message, 1);
  Function_Add("action_show_info", F_ShowInfo, 0);
  Function_Add("action_show_video", F_ShowVideo, 3);
  Function_Add("action_end_game", F_EndGame, 0);
  Function_Add("action_restart_game", F_RestartGame, 0);
  Function_Add("action_load_game", F_LoadGame, 1);
  Function_Add("action_replace_sprite", F_ReplaceSprite, 3);
  Function_Add("action_replace_sound", F_ReplaceSound, 2);
  Function_Add("action_replace_background", F_ReplaceBackground, 2);

  Function_Add("action_if", F_If, 1);
  Function_Add("action_if_empty", F_IfEmpty, 3);
  Function_Add("action_if_collision", F_IfCollision, 3);
  Function_Add("action_if_object", F_IfObject, 3);
  Function_Add("action_if_number", F_IfNumber, 3);
  Function_Add("action_if_question", F_IfQuestion, 1);
  Function_Add("action_if_dice", F_IfDice, 1);
  Function_Add("action_if_mouse", F_IfMouse, 1);
  Function_Add("action_if_aligned", F_IfAligned, 2);
  Function_Add("action_execute_script", F_ExecuteScript, 6);
  Function_Add("action_inherited", F_Inherited, 0);
  Function_Add("action_if_variable", F_IfVariable, 3);
}
