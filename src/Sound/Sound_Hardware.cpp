#include "Sound/Sound_Hardware.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "Base/Console.h"
#include "Option/Option_CommandLine.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Sound/MCI_Main.h"
#include "Sound/MCI_Music.h"
#include "Sound/Sound_Music.h"
#include "Sound/Sound_Output.h"
#include "Sound/Sound_Wave.h"

bool g_SoundTrace = false;

namespace {
// Frames a fade takes: one step a frame at the current room's speed (30
// without a room), at least 1 ms a step and at least one step.
int FadeSteps(int milliseconds) {
  int speed = g_RunRoom ? g_RunRoom->speed : 30;
  int perStep = std::max(1, 1000 / std::max(1, speed));
  return std::max(1, milliseconds / perStep);
}

// Music volumes are not clamped, but kept within floats, so that no sum of
// steps overflows into infinity (and from there to NaN).
float FiniteMusic(double volume) { return float(std::clamp(volume, double(-FLT_MAX), double(FLT_MAX))); }
}  // namespace

SoundHardware::~SoundHardware() { Quit(); }

// Every operation starts here: the trace line, then whether there is output.
bool SoundHardware::Begin(const char* name) {
  if (g_SoundTrace) Console_Printf("%s :: \n", name);
  return m_On;
}

void SoundHardware::Init() {
  if (g_SoundTrace) Console_Printf("%s :: \n", "SoundHardware::Init");
  if (g_NoAudio || m_On) return;
  m_MusicName.clear();
  if (!SoundOutput_Open(SOUND_OUTPUT_SOURCES)) {
    Console_Printf("No sound device could be opened: the game runs without sound.\n");
    return;
  }
  m_On = true;
  MCI_CloseAll();
  MP3_Reset();
  MCI_Music_SetOutputOpen(true);
  SoundOutput_StartLoader();
  SoundOutput_ReportErrors();
}

void SoundHardware::Quit() {
  if (!Begin("SoundHardware::Quit")) return;
  MCI_CloseAll();
  MP3_Reset();
  MCI_Music_SetOutputOpen(false);
  SoundOutput_Close();
  m_On = false;
  m_MusicName.clear();
}

SoundHardwareSound* SoundHardware::Load(const void* bytes, int64_t length) {
  if (!Begin("SoundHardware::Load")) return nullptr;
  SoundOutput_TakeError();
  int e = SOUND_LOAD_OK;
  uint32_t buffer = SoundOutput_CreateBuffer(bytes, length, e);
  if (e != SOUND_LOAD_OK) {
    Console_Printf("ALUT error on load %08x(%d) : %s\n", unsigned(e), e, SoundOutput_LoadErrorText(e));
    return nullptr;
  }
  if (int e = SoundOutput_TakeError(); e != 0) {
    Console_Printf("AL error on load %08x(%d)\n", unsigned(e), int(e));
    return nullptr;
  }
  auto* sound = new SoundHardwareSound;
  sound->buffer = buffer;
  if (g_SoundTrace) Console_Printf("%d, %8p\n", 4, static_cast<void*>(sound->sources));
  SoundOutput_MakeSources(4, sound->sources);
  if (int e = SoundOutput_TakeError(); e != 0) {
    // No sources left: the slot stays silent rather than playing on source names it does not own.
    Console_Printf("AL error creating sources %08x(%d): the sound stays silent\n", unsigned(e), int(e));
    SoundOutput_DeleteBuffer(buffer);
    SoundOutput_TakeError();
    delete sound;
    return nullptr;
  }
  for (uint32_t source : sound->sources) {
    SoundOutput_SetBuffer(source, buffer);
    SoundOutput_ReportErrors();
  }
  return sound;
}

void SoundHardware::Free(SoundHardwareSound* sound) {
  if (!sound) return;
  if (m_On) {
    SoundOutput_StopSources(4, sound->sources);
    SoundOutput_DeleteSources(4, sound->sources);
    SoundOutput_DeleteBuffer(sound->buffer);
    SoundOutput_ReportErrors();
  }
  delete sound;
}

void SoundHardware::SetGain(uint32_t source, float volume) {
  float gain = volume * m_MasterVolume;
  SoundOutput_SetGain(source, gain > 0.0f ? gain : 0.0f);  // never negative (nor NaN)
  SoundOutput_ReportErrors();
}

void SoundHardware::Play(SoundHardwareSound* sound, bool loop) {
  if (!Begin("SoundHardware::Play") || !sound) return;
  uint32_t source = sound->sources[sound->next_source];
  sound->next_source = (sound->next_source + 1) % 4;
  SetGain(source, sound->volume);
  SoundOutput_SetLooping(source, loop);
  SoundOutput_ReportErrors();
  SoundOutput_Play(source);
  SoundOutput_ReportErrors();
}

void SoundHardware::Stop(SoundHardwareSound* sound) {
  if (!Begin("SoundHardware::Stop") || !sound) return;
  SoundOutput_StopSources(4, sound->sources);
  SoundOutput_ReportErrors();
}

bool SoundHardware::Playing(SoundHardwareSound* sound) {
  if (!Begin("SoundHardware::Playing") || !sound) return false;
  for (uint32_t source : sound->sources) {
    SoundSourceState state = SoundOutput_State(source);
    SoundOutput_ReportErrors();
    if (state == SoundSourceState::Playing) return true;
  }
  return false;
}

void SoundHardware::SetVolume(SoundHardwareSound* sound, float volume, int milliseconds) {
  if (!Begin("SoundHardware::SetVolume") || !sound) return;
  // Volumes are clamped to 0..1 as they step: an infinite target is the end
  // it points to; one that is not a number is no target.
  if (std::isnan(volume)) return;
  if (std::isinf(volume)) volume = volume > 0 ? 1.0f : 0.0f;
  int steps = FadeSteps(milliseconds);
  sound->fade_step = (volume - sound->volume) / float(steps);
  sound->fade_count = steps;
}

void SoundHardware::SetMusicVolume(float volume, int milliseconds) {
  if (!Begin("SoundHardware::SetVolume")) return;
  if (!std::isfinite(volume)) return;  // the music volume has no end to clamp to
  if (m_MusicName.empty()) {
    m_MusicVolume = volume;
    return;
  }
  int steps = FadeSteps(milliseconds);
  m_MusicFadeStep = FiniteMusic((double(volume) - m_MusicVolume) / steps);
  m_MusicFadeCount = steps;
}

void SoundHardware::SetMasterVolume(float volume) {
  if (!Begin("SoundHardware::SetMasterVolume")) return;
  if (std::isfinite(volume)) m_MasterVolume = volume;
}

void SoundHardware::PlayMP3(const char* name, bool loop) {
  if (!Begin("SoundHardware::PlayMP3")) return;
  if (!m_MusicName.empty()) StopMusic();
  m_MusicName = name;
  MP3_Play(m_MusicName.c_str(), loop);
}

void SoundHardware::PlayMIDI(const char* name, bool loop) {
  if (!Begin("SoundHardware::PlayMIDI")) return;
  if (!m_MusicName.empty()) StopMusic();
  m_MusicName = name;
  size_t dot = m_MusicName.rfind('.');
  if (dot != std::string::npos) m_MusicName.replace(dot + 1, std::string::npos, "mp3");
  MP3_Play(m_MusicName.c_str(), loop);
}

void SoundHardware::StopMusic() {
  if (!Begin("SoundHardware::StopMusic")) return;
  m_MusicName.clear();
  MP3_Stop();
}

bool SoundHardware::PlayingMP3() {
  if (!Begin("SoundHardware::PlayingMP3")) return false;
  return MP3_IsPlaying();
}

void SoundHardware::Tick(std::span<WaveSlot> slots) {
  if (!Begin("SoundHardware::Tick")) return;
  SoundOutput_ReportErrors();
  for (WaveSlot& slot : slots) {
    SoundHardwareSound* s = slot.sound;
    if (!slot.in_use || !s || s->fade_count <= 0) continue;
    s->volume = std::clamp(s->volume + s->fade_step, 0.0f, 1.0f);
    s->fade_count--;
    for (uint32_t source : s->sources)
      if (SoundOutput_State(source) == SoundSourceState::Playing) SetGain(source, s->volume);
  }
  if (m_MusicFadeCount >= 1) {
    m_MusicFadeCount--;
    m_MusicVolume = FiniteMusic(double(m_MusicVolume) + m_MusicFadeStep);
    MP3_SetVolume(m_MusicVolume);
  }
}
