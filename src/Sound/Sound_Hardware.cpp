#include "Sound/Sound_Hardware.h"

#include <AL/alut.h>

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "Base/Console.h"
#include "Option/Option_CommandLine.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Sound/MCI_Main.h"
#include "Sound/MCI_Music.h"
#include "Sound/Sound_Image.h"
#include "Sound/Sound_Music.h"
#include "Sound/Sound_Wave.h"

bool g_SoundTrace = false;

namespace {
// Room for four sources per sound and for the audio system's pool.
const ALCint kContextAttributes[] = {ALC_MONO_SOURCES, 4096, 0};

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

void SoundHardware_ReportErrors() {
  ALenum al = alGetError();
  if (al != AL_NO_ERROR) Console_Printf("AL Error : %08x(%d)\n", unsigned(al), int(al));
  ALenum alut = alutGetError();
  if (alut != ALUT_ERROR_NO_ERROR) Console_Printf("ALUT Error : %s\n", alutGetErrorString(alut));
}

SoundHardware::~SoundHardware() { Quit(); }

// Every operation starts here: the trace line, then whether there is output.
bool SoundHardware::Begin(const char* name) {
  if (g_SoundTrace) Console_Printf("%s :: \n", name);
  return m_Device != nullptr;
}

void SoundHardware::Init() {
  if (g_SoundTrace) Console_Printf("%s :: \n", "SoundHardware::Init");
  if (g_NoAudio || m_Device) return;
  m_MusicName.clear();
  ALCdevice* device = alcOpenDevice(nullptr);
  ALCcontext* context = device ? alcCreateContext(device, kContextAttributes) : nullptr;
  if (!context) {
    if (device) alcCloseDevice(device);
    Console_Printf("No sound device could be opened: the game runs without sound.\n");
    return;
  }
  m_Device = device;
  m_Context = context;
  alcMakeContextCurrent(context);
  MCI_CloseAll();
  MP3_Reset();
  MCI_Music_SetDevice(device);
  alGetError();  // freealut reads the error state after its own calls
  alutInitWithoutContext(nullptr, nullptr);
  SoundHardware_ReportErrors();
}

void SoundHardware::Quit() {
  if (!Begin("SoundHardware::Quit")) return;
  MCI_CloseAll();
  MP3_Reset();
  MCI_Music_SetDevice(nullptr);
  alGetError();
  alutExit();
  alutGetError();
  alcMakeContextCurrent(nullptr);
  alcDestroyContext(m_Context);
  alcCloseDevice(m_Device);
  m_Context = nullptr;
  m_Device = nullptr;
  m_MusicName.clear();
}

SoundHardwareSound* SoundHardware::Load(const void* bytes, int64_t length) {
  if (!Begin("SoundHardware::Load")) return nullptr;
  alGetError();
  ALenum e = ALUT_ERROR_NO_ERROR;
  ALuint buffer = SoundImage_CreateBuffer(bytes, length, e);
  if (e != ALUT_ERROR_NO_ERROR) {
    Console_Printf("ALUT error on load %08x(%d) : %s\n", unsigned(e), int(e), alutGetErrorString(e));
    return nullptr;
  }
  if (ALenum e = alGetError(); e != AL_NO_ERROR) {
    Console_Printf("AL error on load %08x(%d)\n", unsigned(e), int(e));
    return nullptr;
  }
  auto* sound = new SoundHardwareSound;
  sound->buffer = buffer;
  if (g_SoundTrace) Console_Printf("%d, %8p\n", 4, static_cast<void*>(sound->sources));
  alGenSources(4, sound->sources);
  if (ALenum e = alGetError(); e != AL_NO_ERROR) {
    // No sources left: the slot stays silent rather than playing on source names it does not own.
    Console_Printf("AL error creating sources %08x(%d): the sound stays silent\n", unsigned(e), int(e));
    alDeleteBuffers(1, &buffer);
    alGetError();
    delete sound;
    return nullptr;
  }
  for (ALuint source : sound->sources) {
    alSourcei(source, AL_BUFFER, ALint(buffer));
    SoundHardware_ReportErrors();
  }
  return sound;
}

void SoundHardware::Free(SoundHardwareSound* sound) {
  if (!sound) return;
  if (m_Device) {
    alSourceStopv(4, sound->sources);
    alDeleteSources(4, sound->sources);
    alDeleteBuffers(1, &sound->buffer);
    SoundHardware_ReportErrors();
  }
  delete sound;
}

void SoundHardware::SetGain(ALuint source, float volume) {
  float gain = volume * m_MasterVolume;
  alSourcef(source, AL_GAIN, gain > 0.0f ? gain : 0.0f);  // never negative (nor NaN)
  SoundHardware_ReportErrors();
}

void SoundHardware::Play(SoundHardwareSound* sound, bool loop) {
  if (!Begin("SoundHardware::Play") || !sound) return;
  ALuint source = sound->sources[sound->next_source];
  sound->next_source = (sound->next_source + 1) % 4;
  SetGain(source, sound->volume);
  alSourcei(source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
  SoundHardware_ReportErrors();
  alSourcePlay(source);
  SoundHardware_ReportErrors();
}

void SoundHardware::Stop(SoundHardwareSound* sound) {
  if (!Begin("SoundHardware::Stop") || !sound) return;
  alSourceStopv(4, sound->sources);
  SoundHardware_ReportErrors();
}

bool SoundHardware::Playing(SoundHardwareSound* sound) {
  if (!Begin("SoundHardware::Playing") || !sound) return false;
  for (ALuint source : sound->sources) {
    ALint state = AL_INITIAL;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    SoundHardware_ReportErrors();
    if (state == AL_PLAYING) return true;
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
  SoundHardware_ReportErrors();
  for (WaveSlot& slot : slots) {
    SoundHardwareSound* s = slot.sound;
    if (!slot.in_use || !s || s->fade_count <= 0) continue;
    s->volume = std::clamp(s->volume + s->fade_step, 0.0f, 1.0f);
    s->fade_count--;
    for (ALuint source : s->sources) {
      ALint state = AL_INITIAL;
      alGetSourcei(source, AL_SOURCE_STATE, &state);
      if (state == AL_PLAYING) SetGain(source, s->volume);
    }
  }
  if (m_MusicFadeCount >= 1) {
    m_MusicFadeCount--;
    m_MusicVolume = FiniteMusic(double(m_MusicVolume) + m_MusicFadeStep);
    MP3_SetVolume(m_MusicVolume);
  }
}
