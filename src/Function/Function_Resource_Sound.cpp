// The sound resource built-ins over the classic sound list. Under the newer
// audio system (the game's new-audio option) the classic-only ones do
// nothing; sound_add then gives -1, as no sound was made.
#include "Code/Code_Error.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Resource.h"
#include "Option/Option_Main.h"
#include "Sound/Audio_Main.h"
#include "Sound/Sound_Class.h"
#include "Sound/Sound_Main.h"

namespace {
bool Classic() { return !g_GameOptions.new_audio; }

// The classic sound of an argument, or none after the report.
bool ExistsOrReport(const RValue& v, const char* message) {
  if (Sound_Exists(RValue_RoundInt(v))) return true;
  Error_Show_Action(message, false);
  return false;
}

void F_SoundExists(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  int index = RValue_RoundInt(arg[0]);
  Give(Result, Audio_SoundExists(index) || Sound_Exists(index) ? 1 : 0);
}

void F_SoundGetName(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (char* name = Sound_GetName(RValue_RoundInt(arg[0]))) RValue_SetStringOwned(&Result, name);
  else RValue_SetString(&Result, "");
}

void F_SoundDiscard(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  CSound* s = Sound_Data(RValue_RoundInt(arg[0]));
  if (s && Classic()) s->Discard();
}
void F_SoundRestore(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  CSound* s = Sound_Data(RValue_RoundInt(arg[0]));
  if (s && Classic()) s->Prepare();
}

void F_SoundAdd(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  Give(Result, Classic() ? Sound_Add(RValue_Text(arg[0]), RValue_RoundInt(arg[1]), RValue_IsTrue(arg[2])) : -1);
}
void F_SoundReplace(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (!Classic() || !ExistsOrReport(arg[0], "Trying to replace non-existing sound.")) return;
  Give(Result,
       Sound_Replace(RValue_RoundInt(arg[0]), RValue_Text(arg[1]), RValue_RoundInt(arg[2]), RValue_IsTrue(arg[3])) ? 1 : 0);
}
void F_SoundDelete(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (!Classic() || !ExistsOrReport(arg[0], "Trying to delete non-existing sound.")) return;
  Give(Result, Sound_Delete(RValue_RoundInt(arg[0])) ? 1 : 0);
}
}  // namespace

void Function_Resource_Sound_Init() {
  Function_Add("sound_exists", F_SoundExists, 1);
  Function_Add("sound_get_name", F_SoundGetName, 1);
  Function_Add("sound_name", F_SoundGetName, 1);
  Function_Add("sound_get_kind", Resource_Field<Sound_Data, &CSound::kind>, 1);
  Function_Add("sound_get_preload", Resource_Field<Sound_Data, &CSound::preload>, 1);
  Function_Add("sound_discard", F_SoundDiscard, 1);
  Function_Add("sound_restore", F_SoundRestore, 1);
  Function_Add("sound_add", F_SoundAdd, 3);
  Function_Add("sound_replace", F_SoundReplace, 4);
  Function_Add("sound_delete", F_SoundDelete, 1);
}
