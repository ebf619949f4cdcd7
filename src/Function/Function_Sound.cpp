// The sound built-ins: the classic sounds (sound_), CD audio (cd_), raw
// MCI command strings and the newer audio system (audio_, which reports
// nothing to scripts: failures show as its results). A sound argument names a sound of the classic list
// (rounded, halves to even); a missing one is the script error "Sound does
// not exist." and the handler does nothing more. Every request goes through
// the sound's slot, which prepares a sound that was not preloaded.
#include <cmath>
#include <string>

#include "Base/Convert.h"
#include "Code/Code_Error.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Args.h"
#include "Option/Option_Main.h"
#include "Sound/Audio_Main.h"
#include "Sound/MCI_Main.h"
#include "Sound/Sound_CD.h"
#include "Sound/Sound_Class.h"
#include "Sound/Sound_Main.h"
#include "Sound/Sound_Wave.h"

#define SOUND_HANDLER(name) static void name(RValue& Result, CInstance* self, CInstance* other, int argc, const RValue* arg)

namespace {
// The sound named by the first argument, or none after the script error.
CSound* FindSound(const RValue* arg) {
  CSound* s = Sound_Data(RValue_RoundInt(arg[0]));
  if (!s) Error_Show_Action("Sound does not exist.", false);
  return s;
}

void Play(const RValue* arg, bool loop) {
  if (g_GameOptions.new_audio) return;
  CSound* s = FindSound(arg);
  if (!s) return;
  int slot = s->GetSlot();
  Wave_Play(s->PlayName(), slot, loop);
  Wave_SetVolume(slot, s->volume, 1);
}

// A setting the classic system only checks the sound for.
void SlotSetting(const RValue* arg, void (*setting)(int slot)) {
  if (CSound* s = FindSound(arg)) setting(s->GetSlot());
}

}  // namespace

SOUND_HANDLER(F_SoundPlay) { Play(arg, false); }
SOUND_HANDLER(F_SoundLoop) { Play(arg, true); }
SOUND_HANDLER(F_SoundStop) {
  if (g_GameOptions.new_audio) return;
  if (CSound* s = FindSound(arg)) Wave_Stop(s->PlayName(), s->GetSlot());
}
SOUND_HANDLER(F_SoundStopAll) {
  if (!g_GameOptions.new_audio) Wave_StopAll();
}
SOUND_HANDLER(F_SoundIsPlaying) {
  CSound* s = Sound_Data(RValue_RoundInt(arg[0]));
  Give(Result, s && Wave_IsPlaying(s->PlayName(), s->GetSlot()) ? 1.0 : 0.0);
}
SOUND_HANDLER(F_SoundVolume) {
  CSound* s = FindSound(arg);
  if (!s || std::isnan(RValue_Real(arg[1]))) return;  // not a volume: the sound keeps its own
  s->volume = RValue_Real(arg[1]);
  Wave_SetVolume(s->GetSlot(), s->volume, 1);
}
SOUND_HANDLER(F_SoundFade) {
  if (CSound* s = FindSound(arg)) Wave_SetVolume(s->GetSlot(), RValue_Real(arg[1]), RValue_RoundInt(arg[2]));
}
SOUND_HANDLER(F_SoundPan) {
  if (CSound* s = FindSound(arg)) Sound_SetPan(s->GetSlot(), RValue_Real(arg[1]));
}
SOUND_HANDLER(F_SoundBackgroundTempo) { Sound_SetBackgroundTempo(RValue_Real(arg[0])); }
SOUND_HANDLER(F_SoundGlobalVolume) { Sound_SetGlobalVolume(RValue_Real(arg[0])); }
SOUND_HANDLER(F_SoundSetSearchDirectory) { Sound_SetSearchDirectory(RValue_Text(arg[0])); }
SOUND_HANDLER(F_SoundEffectSet) {
  if (CSound* s = FindSound(arg)) Sound_EffectSet(s->GetSlot(), RValue_RoundInt(arg[1]));
}
SOUND_HANDLER(F_SoundEffectChorus) { SlotSetting(arg, Sound_EffectChorus); }
SOUND_HANDLER(F_SoundEffectCompressor) { SlotSetting(arg, Sound_EffectCompressor); }
SOUND_HANDLER(F_SoundEffectEcho) { SlotSetting(arg, Sound_EffectEcho); }
SOUND_HANDLER(F_SoundEffectFlanger) { SlotSetting(arg, Sound_EffectFlanger); }
SOUND_HANDLER(F_SoundEffectGargle) { SlotSetting(arg, Sound_EffectGargle); }
SOUND_HANDLER(F_SoundEffectEqualizer) { SlotSetting(arg, Sound_EffectEqualizer); }
SOUND_HANDLER(F_SoundEffectReverb) { SlotSetting(arg, Sound_EffectReverb); }
SOUND_HANDLER(F_Sound3DPosition) { SlotSetting(arg, Sound_3DSetPosition); }
SOUND_HANDLER(F_Sound3DVelocity) { SlotSetting(arg, Sound_3DSetVelocity); }
SOUND_HANDLER(F_Sound3DDistance) { SlotSetting(arg, Sound_3DSetDistance); }
SOUND_HANDLER(F_Sound3DCone) { SlotSetting(arg, Sound_3DSetCone); }

SOUND_HANDLER(F_CDInit) { CD_Init(); }
SOUND_HANDLER(F_CDPresent) { Give(Result, CD_Present() ? 1.0 : 0.0); }
SOUND_HANDLER(F_CDNumber) { Give(Result, CD_Number()); }
SOUND_HANDLER(F_CDPlaying) { Give(Result, CD_Playing() ? 1.0 : 0.0); }
SOUND_HANDLER(F_CDPaused) { Give(Result, CD_Paused() ? 1.0 : 0.0); }
SOUND_HANDLER(F_CDTrack) { Give(Result, CD_Track()); }
SOUND_HANDLER(F_CDLength) { Give(Result, CD_Length()); }
SOUND_HANDLER(F_CDTrackLength) { Give(Result, CD_TrackLength(RValue_RoundInt(arg[0]))); }
SOUND_HANDLER(F_CDPosition) { Give(Result, CD_Position()); }
SOUND_HANDLER(F_CDTrackPosition) { Give(Result, CD_TrackPosition()); }
SOUND_HANDLER(F_CDPlay) { CD_Play(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1])); }
SOUND_HANDLER(F_CDStop) { CD_Stop(); }
SOUND_HANDLER(F_CDPause) { CD_Pause(); }
SOUND_HANDLER(F_CDResume) { CD_Resume(); }
SOUND_HANDLER(F_CDSetPosition) { CD_SetPosition(RValue_RoundInt(arg[0])); }
SOUND_HANDLER(F_CDSetTrackPosition) { CD_SetTrackPosition(RValue_RoundInt(arg[0])); }
SOUND_HANDLER(F_CDOpenDoor) { CD_OpenDoor(); }
SOUND_HANDLER(F_CDCloseDoor) { CD_CloseDoor(); }

// The command's reply as text: empty when it gives none or fails.
SOUND_HANDLER(F_MCICommand) {
  char reply[256];
  MCI_SendString(RValue_Text(arg[0]), reply, sizeof reply);
  RValue_SetString(&Result, reply);
}

// Audio arguments: indices, handles, loop flags and counts rounded, other
// numbers narrowed to single precision.
namespace {
int I(const RValue& a) { return RValue_RoundInt(a); }
float F(const RValue& a) { return RValue_Single(a); }
}  // namespace

SOUND_HANDLER(F_AudioListenerPosition) { Audio_ListenerPosition(F(arg[0]), F(arg[1]), F(arg[2])); }
SOUND_HANDLER(F_AudioListenerVelocity) { Audio_ListenerVelocity(F(arg[0]), F(arg[1]), F(arg[2])); }
SOUND_HANDLER(F_AudioListenerOrientation) {
  Audio_ListenerOrientation(F(arg[0]), F(arg[1]), F(arg[2]), F(arg[3]), F(arg[4]), F(arg[5]));
}
SOUND_HANDLER(F_AudioEmitterCreate) { Give(Result, Audio_EmitterCreate()); }
SOUND_HANDLER(F_AudioEmitterFree) { Audio_EmitterFree(I(arg[0])); }
SOUND_HANDLER(F_AudioEmitterPosition) { Audio_EmitterPosition(I(arg[0]), F(arg[1]), F(arg[2]), F(arg[3])); }
SOUND_HANDLER(F_AudioEmitterVelocity) { Audio_EmitterVelocity(I(arg[0]), F(arg[1]), F(arg[2]), F(arg[3])); }
SOUND_HANDLER(F_AudioEmitterExists) { Give(Result, Audio_EmitterExists(I(arg[0])) ? 1.0 : 0.0); }
SOUND_HANDLER(F_AudioEmitterGain) { Audio_EmitterGain(I(arg[0]), F(arg[1])); }
SOUND_HANDLER(F_AudioEmitterPitch) { Audio_EmitterPitch(I(arg[0]), F(arg[1])); }
SOUND_HANDLER(F_AudioEmitterFalloff) { Audio_EmitterFalloff(I(arg[0]), F(arg[1]), F(arg[2]), F(arg[3])); }
SOUND_HANDLER(F_AudioFalloffSetModel) { Audio_SetFalloffModel(I(arg[0])); }
SOUND_HANDLER(F_AudioPlaySound) { Give(Result, Audio_PlaySimple(I(arg[0]), F(arg[1]), I(arg[2]))); }
SOUND_HANDLER(F_AudioPlaySoundOn) { Give(Result, Audio_PlaySound(I(arg[0]), I(arg[1]), I(arg[2]), F(arg[3]))); }
SOUND_HANDLER(F_AudioPlaySoundAt) {
  Give(Result, Audio_PlaySoundAt(I(arg[0]), F(arg[1]), F(arg[2]), F(arg[3]), F(arg[4]), F(arg[5]), F(arg[6]),
                                     I(arg[7]), F(arg[8])));
}
SOUND_HANDLER(F_AudioStopSound) { Audio_StopSound(I(arg[0])); }
SOUND_HANDLER(F_AudioPauseSound) { Audio_PauseSound(I(arg[0])); }
SOUND_HANDLER(F_AudioResumeSound) { Audio_ResumeSound(I(arg[0])); }
SOUND_HANDLER(F_AudioPauseAll) { Audio_PauseAll(); }
SOUND_HANDLER(F_AudioResumeAll) { Audio_ResumeAll(); }
SOUND_HANDLER(F_AudioStopAll) { Audio_StopAll(); }
SOUND_HANDLER(F_AudioIsPlaying) { Give(Result, Audio_IsPlaying(I(arg[0])) ? 1.0 : 0.0); }
SOUND_HANDLER(F_AudioGetType) { Give(Result, Audio_SoundIsStreamed(I(arg[0]))); }
SOUND_HANDLER(F_AudioMasterGain) { Audio_SetMasterGain(F(arg[0])); }
SOUND_HANDLER(F_AudioChannelNum) { Audio_SetChannelCount(I(arg[0])); }
SOUND_HANDLER(F_AudioPlayMusic) { Audio_PlayMusic(I(arg[0]), I(arg[1]) > 0); }
SOUND_HANDLER(F_AudioStopMusic) { Audio_StopMusic(); }
SOUND_HANDLER(F_AudioSoundLength) { Give(Result, Audio_SoundLength(I(arg[0]))); }

void Function_Sound_Init() {
  Function_Add("sound_play", F_SoundPlay, 1);
  Function_Add("sound_loop", F_SoundLoop, 1);
  Function_Add("sound_stop", F_SoundStop, 1);
  Function_Add("sound_stop_all", F_SoundStopAll, 0);
  Function_Add("sound_isplaying", F_SoundIsPlaying, 1);
  Function_Add("sound_volume", F_SoundVolume, 2);
  Function_Add("sound_fade", F_SoundFade, 3);
  Function_Add("sound_pan", F_SoundPan, 2);
  Function_Add("sound_background_tempo", F_SoundBackgroundTempo, 1);
  Function_Add("sound_global_volume", F_SoundGlobalVolume, 1);
  Function_Add("sound_set_search_directory", F_SoundSetSearchDirectory, 1);
  Function_Add("sound_effect_set", F_SoundEffectSet, 2);
  Function_Add("sound_effect_chorus", F_SoundEffectChorus, 8);
  Function_Add("sound_effect_compressor", F_SoundEffectCompressor, 7);
  Function_Add("sound_effect_echo", F_SoundEffectEcho, 6);
  Function_Add("sound_effect_flanger", F_SoundEffectFlanger, 8);
  Function_Add("sound_effect_gargle", F_SoundEffectGargle, 3);
  Function_Add("sound_effect_equalizer", F_SoundEffectEqualizer, 4);
  Function_Add("sound_effect_reverb", F_SoundEffectReverb, 5);
  Function_Add("sound_3d_set_sound_position", F_Sound3DPosition, 4);
  Function_Add("sound_3d_set_sound_velocity", F_Sound3DVelocity, 4);
  Function_Add("sound_3d_set_sound_distance", F_Sound3DDistance, 3);
  Function_Add("sound_3d_set_sound_cone", F_Sound3DCone, 7);

  Function_Add("cd_init", F_CDInit, 0);
  Function_Add("cd_present", F_CDPresent, 0);
  Function_Add("cd_number", F_CDNumber, 0);
  Function_Add("cd_playing", F_CDPlaying, 0);
  Function_Add("cd_paused", F_CDPaused, 0);
  Function_Add("cd_track", F_CDTrack, 0);
  Function_Add("cd_length", F_CDLength, 0);
  Function_Add("cd_track_length", F_CDTrackLength, 1);
  Function_Add("cd_position", F_CDPosition, 0);
  Function_Add("cd_track_position", F_CDTrackPosition, 0);
  Function_Add("cd_play", F_CDPlay, 2);
  Function_Add("cd_stop", F_CDStop, 0);
  Function_Add("cd_pause", F_CDPause, 0);
  Function_Add("cd_resume", F_CDResume, 0);
  Function_Add("cd_set_position", F_CDSetPosition, 1);
  Function_Add("cd_set_track_position", F_CDSetTrackPosition, 1);
  Function_Add("cd_open_door", F_CDOpenDoor, 0);
  Function_Add("cd_close_door", F_CDCloseDoor, 0);

  Function_Add("MCI_command", F_MCICommand, 1);

  Function_Add("audio_listener_position", F_AudioListenerPosition, 3);
  Function_Add("audio_listener_velocity", F_AudioListenerVelocity, 3);
  Function_Add("audio_listener_orientation", F_AudioListenerOrientation, 6);
  Function_Add("audio_emitter_create", F_AudioEmitterCreate, 0);
  Function_Add("audio_emitter_free", F_AudioEmitterFree, 1);
  Function_Add("audio_emitter_position", F_AudioEmitterPosition, 4);
  Function_Add("audio_emitter_velocity", F_AudioEmitterVelocity, 4);
  Function_Add("audio_emitter_exists", F_AudioEmitterExists, 1);
  Function_Add("audio_emitter_gain", F_AudioEmitterGain, 2);
  Function_Add("audio_emitter_pitch", F_AudioEmitterPitch, 2);
  Function_Add("audio_emitter_falloff", F_AudioEmitterFalloff, 4);
  Function_Add("audio_falloff_set_model", F_AudioFalloffSetModel, 1);
  Function_Add("audio_play_sound", F_AudioPlaySound, 3);
  Function_Add("audio_play_sound_on", F_AudioPlaySoundOn, 4);
  Function_Add("audio_play_sound_at", F_AudioPlaySoundAt, 9);
  Function_Add("audio_stop_sound", F_AudioStopSound, 1);
  Function_Add("audio_pause_sound", F_AudioPauseSound, 1);
  Function_Add("audio_resume_sound", F_AudioResumeSound, 1);
  Function_Add("audio_pause_all", F_AudioPauseAll, 0);
  Function_Add("audio_resume_all", F_AudioResumeAll, 0);
  Function_Add("audio_stop_all", F_AudioStopAll, 0);
  Function_Add("audio_is_playing", F_AudioIsPlaying, 1);
  Function_Add("audio_get_type", F_AudioGetType, 1);
  Function_Add("audio_master_gain", F_AudioMasterGain, 1);
  Function_Add("audio_channel_num", F_AudioChannelNum, 1);
  Function_Add("audio_play_music", F_AudioPlayMusic, 2);
  Function_Add("audio_stop_music", F_AudioStopMusic, 0);
  Function_Add("audio_sound_length", F_AudioSoundLength, 1);
}
