#include "Sound/Audio_Main.h"

#include <AL/alut.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "Base/Console.h"
#include "Base/String_Helpers.h"
#include "Option/Option_CommandLine.h"
#include "Option/Option_Main.h"
#include "Sound/Audio_State.h"
#include "Sound/Sound_Hardware.h"
#include "Sound/Sound_Image.h"

AudioState g_Audio;

namespace {
// The most sources a pool may ask for: the context's room for sources.
constexpr int kMostChannels = 4096;

AudioSound* Sound(int index) {
  return index >= 0 && index < int(g_Audio.sounds.size()) ? g_Audio.sounds[size_t(index)].get() : nullptr;
}

void MakePool() {
  g_Audio.pool.assign(size_t(g_Audio.channel_count), 0);
  alGetError();
  alGenSources(ALsizei(g_Audio.pool.size()), g_Audio.pool.data());
  if (ALenum e = alGetError(); e != AL_NO_ERROR) {
    Console_Printf("Error creating audio sources %d\n", int(e));
    g_Audio.pool.clear();
  }
}

void SetListener() {
  AudioListener& l = *g_Audio.listener;
  alListener3f(AL_POSITION, l.position[0], l.position[1], l.position[2]);
  Audio_LogError("Error setting listener position %d\n");
  alListener3f(AL_VELOCITY, l.velocity[0], l.velocity[1], l.velocity[2]);
  Audio_LogError("Error setting listener velocity %d\n");
  const float orientation[6] = {l.at[0], l.at[1], l.at[2], l.up[0], l.up[1], l.up[2]};
  alListenerfv(AL_ORIENTATION, orientation);
  Audio_LogError("Error setting listener orientation %d\n");
}

// A source for a play of some priority: a stopped or unused one, else the
// source of the lowest-priority voice below it, taken from that voice.
int GetSource(float priority) {
  Audio_LogError("Error prior to getting sound source %d\n");
  for (size_t i = 0; i < g_Audio.pool.size(); i++) {
    ALint state = Audio_SourceState(g_Audio.pool[i]);
    if (state != AL_STOPPED && state != AL_INITIAL) continue;
    for (auto& v : g_Audio.voices)
      if (v->active && v->source == int(i)) v->active = false;
    return int(i);
  }
  AudioVoice* lowest = nullptr;
  for (auto& v : g_Audio.voices)
    if (v->active && !v->stolen && v->priority < priority && (!lowest || v->priority < lowest->priority))
      lowest = v.get();
  if (!lowest) return -1;
  alSourceStop(g_Audio.pool[size_t(lowest->source)]);
  Audio_LogError("Error stopping sample %d\n");
  lowest->stolen = true;
  return lowest->source;
}

// A voice record for a new play: the first inactive one, else a new one.
AudioVoice& AllocVoice(int* index) {
  for (size_t i = 0; i < g_Audio.voices.size(); i++) {
    AudioVoice& v = *g_Audio.voices[i];
    if (v.active) continue;
    v.active = true;
    v.stolen = false;
    *index = int(i);
    return v;
  }
  g_Audio.voices.push_back(std::make_unique<AudioVoice>());
  g_Audio.voices.back()->active = true;
  *index = int(g_Audio.voices.size() - 1);
  return *g_Audio.voices.back();
}

AudioVoice& StartVoice(int sound, int source, int loop, float priority, int* index = nullptr) {
  int i;
  AudioVoice& v = AllocVoice(&i);
  v.handle = g_Audio.next_handle++;
  v.sound = sound;
  v.source = source;
  v.loop = loop > 0;
  v.priority = priority;
  if (index) *index = i;
  return v;
}

AudioVoice* FindVoice(int handle) {
  for (auto& v : g_Audio.voices)
    if (v->active && v->handle == handle) return v.get();
  return nullptr;
}

// Every source setting a play relies on, so that a reused source keeps
// nothing of its last voice.
void SetSource(ALuint source, ALuint buffer, int loop, float gain, float pitch, bool relative, const float* position,
               const float* velocity, float reference, float maximum, float factor) {
  alSourcei(source, AL_SOURCE_RELATIVE, relative ? AL_TRUE : AL_FALSE);
  alSourcef(source, AL_GAIN, gain);
  alSourcef(source, AL_PITCH, pitch);
  alSourcei(source, AL_BUFFER, ALint(buffer));
  Audio_LogError("Error setting sample buffer\n");
  alSourcei(source, AL_LOOPING, loop >= 1 ? AL_TRUE : AL_FALSE);
  alSourcef(source, AL_MAX_DISTANCE, maximum);
  alSourcef(source, AL_REFERENCE_DISTANCE, reference);
  alSourcef(source, AL_ROLLOFF_FACTOR, factor);
  alSourcefv(source, AL_POSITION, position);
  alSourcefv(source, AL_VELOCITY, velocity);
}

// Stops one voice (its source only when it still has it).
void StopVoice(AudioVoice& v, int number) {
  if (!v.stolen) {
    alSourceStop(g_Audio.pool[size_t(v.source)]);
    if (ALenum e = alGetError(); e != AL_NO_ERROR) Console_Printf("Error stopping sound %d error code %d\n", number, int(e));
  }
  v.active = false;
  v.stolen = false;
}

void PauseVoice(AudioVoice& v, int number, bool pause) {
  if (!v.active || v.stolen) return;
  ALuint source = g_Audio.pool[size_t(v.source)];
  ALint state = Audio_SourceState(source);
  if (pause && state == AL_PLAYING) alSourcePause(source);
  else if (!pause && state == AL_PAUSED) alSourcePlay(source);
  else return;
  if (ALenum e = alGetError(); e != AL_NO_ERROR)
    Console_Printf(pause ? "Error pausing sound %d error code %d\n" : "Error resuming sound %d error code %d\n", number,
                   int(e));
}

// Applies an action to the voice with a handle, or to every active voice of a sound.
template <class F>
void ForVoices(int value, F action) {
  if (value >= AUDIO_FIRST_HANDLE) {
    if (AudioVoice* v = FindVoice(value)) action(*v, value);
    return;
  }
  for (size_t i = 0; i < g_Audio.voices.size(); i++)
    if (g_Audio.voices[i]->active && g_Audio.voices[i]->sound == value) action(*g_Audio.voices[i], int(i));
}

bool VoicePlaying(const AudioVoice& v) {
  return v.active && !v.stolen && Audio_SourceState(g_Audio.pool[size_t(v.source)]) == AL_PLAYING;
}
}  // namespace

bool Audio_Active() { return g_GameOptions.new_audio && !g_Audio.silenced; }

bool Audio_LogError(const char* message) {
  ALenum e = alGetError();
  if (e == AL_NO_ERROR) return false;
  Console_Printf(message, int(e));
  return true;
}

ALint Audio_SourceState(ALuint source) {
  ALint state = AL_INITIAL;
  alGetSourcei(source, AL_SOURCE_STATE, &state);
  return state;
}

bool Audio_Load(const std::vector<PackageSound>& sounds) {
  Console_Printf("Audio_Load()\n");
  g_Audio.sounds.clear();
  g_Audio.sounds.resize(sounds.size());
  for (size_t i = 0; i < sounds.size(); i++) {
    if (!sounds[i].exists) continue;
    auto s = std::make_unique<AudioSound>();
    s->file_name = sounds[i].file_name;
    s->streamed = sounds[i].kind > 0;
    s->volume = sounds[i].volume;
    s->blob_index = int(sounds[i].audio);
    g_Audio.sounds[i] = std::move(s);
  }
  return true;
}

bool Audio_WAVs(const std::vector<PackageBytes>& audio) {
  Console_Printf("Audio_WAVs()\n");
  for (auto& s : g_Audio.sounds)
    if (s && s->blob_index >= 0 && size_t(s->blob_index) < audio.size()) s->blob = audio[size_t(s->blob_index)];
  return true;
}

void Audio_Init(SoundHardware* output) {
  g_Audio.output = output;
  // Without sound the system is silent; the game's option stays as it is,
  // so the classic plays stay quiet instead of finding no sounds.
  g_Audio.silenced = g_NoAudio || !output || !output->IsOn();
  if (!Audio_Active()) return;
  if (!g_Audio.listener) g_Audio.listener = std::make_unique<AudioListener>();
  MakePool();
  alDistanceModel(AL_INVERSE_DISTANCE);
  AudioListener& l = *g_Audio.listener;
  l = AudioListener{};
  l.at[2] = 1;
  l.up[1] = 1;
  l.up[2] = 0;
  SetListener();
}

void Audio_CreateBuffers() {
  if (!Audio_Active()) return;
  for (auto& s : g_Audio.sounds) {
    if (!s || !s->blob || s->streamed || s->buffer) continue;
    alGetError();
    ALenum error = ALUT_ERROR_NO_ERROR;
    ALuint buffer = SoundImage_CreateBuffer(s->blob->data(), int64_t(s->blob->size()), error);
    bool failed = error != ALUT_ERROR_NO_ERROR;
    failed = alGetError() != AL_NO_ERROR || failed;
    if (!failed) s->buffer = buffer;
  }
}

void Audio_Free() {
  if (!g_Audio.silenced) {
    if (!g_Audio.pool.empty()) {
      alSourceStopv(ALsizei(g_Audio.pool.size()), g_Audio.pool.data());
      alDeleteSources(ALsizei(g_Audio.pool.size()), g_Audio.pool.data());
    }
    for (auto& s : g_Audio.sounds)
      if (s && s->buffer) alDeleteBuffers(1, &s->buffer);
    alGetError();
  }
  g_Audio = AudioState{};
}

bool Audio_SoundExists(int index) { return Sound(index) != nullptr; }

int Audio_SoundIsStreamed(int index) {
  if (!Audio_Active()) return -1;
  AudioSound* s = Sound(index);
  return s ? (s->streamed ? 1 : 0) : -1;
}

float Audio_SoundLength(int value) {
  if (!Audio_Active()) return -1.0f;
  if (value >= AUDIO_FIRST_HANDLE) {
    AudioVoice* v = nullptr;
    for (auto& voice : g_Audio.voices)
      if (voice->handle == value) v = voice.get();
    value = v ? v->sound : -1;
  }
  AudioSound* s = Sound(value);
  if (!s || !s->buffer) return -1.0f;
  ALint size = 0, bits = 0, channels = 0, frequency = 0;
  alGetError();
  alGetBufferi(s->buffer, AL_SIZE, &size);
  alGetBufferi(s->buffer, AL_BITS, &bits);
  alGetBufferi(s->buffer, AL_CHANNELS, &channels);
  alGetBufferi(s->buffer, AL_FREQUENCY, &frequency);
  if (alGetError() != AL_NO_ERROR || channels <= 0 || bits < 8 || frequency <= 0) return -1.0f;
  return float((unsigned(size) / unsigned(channels)) / unsigned(bits / 8)) / float(frequency);
}

int Audio_PlaySimple(int sound, float priority, int loop) {
  if (!Audio_Active()) return -1;
  AudioSound* s = Sound(sound);
  if (!s) return -1;  // before a source is taken, so no voice is stopped for nothing
  int source = GetSource(priority);
  if (source < 0) return -1;
  Audio_LogError("Error before playing sample\n");
  AudioVoice& v = StartVoice(sound, source, loop, priority);
  const float zero[3] = {};
  ALuint al = g_Audio.pool[size_t(source)];
  // Flat: beside the listener, without falloff.
  SetSource(al, s->buffer, loop, s->volume, 1.0f, true, zero, zero, 1.0f, 100000.0f, 0.0f);
  alSourcePlay(al);
  Audio_LogError("Error playing simple sound\n");
  return v.handle;
}

int Audio_PlaySoundAt(int sound, float x, float y, float z, float reference, float maximum, float factor, int loop,
                      float priority) {
  if (!Audio_Active()) return -1;
  AudioSound* s = Sound(sound);
  if (!s) return -1;
  int source = GetSource(priority);
  if (source < 0) return -1;
  AudioVoice& v = StartVoice(sound, source, loop, priority);
  Audio_LogError("Error prior to playing sample\n");
  const float position[3] = {x, y, z}, zero[3] = {};
  ALuint al = g_Audio.pool[size_t(source)];
  SetSource(al, s->buffer, loop, s->volume, 1.0f, false, position, zero, reference, maximum, factor);
  Audio_LogError("Error updating sample position\n");
  alSourcePlay(al);
  Audio_LogError("Error playing sample\n");
  return v.handle;
}

int Audio_PlaySound(int emitter, int sound, int loop, float priority) {
  if (!Audio_Active()) return -1;
  Audio_LogError("Error prior to playing sample 2\n");
  if (emitter < 0 || emitter >= int(g_Audio.emitters.size())) return -1;
  AudioEmitter* e = g_Audio.emitters[size_t(emitter)].get();
  if (!e || !e->active) {
    Console_Printf("Audio_PlaySound Attempting to play sound on inactive emitter %d\n", emitter);
    return -1;
  }
  AudioSound* s = Sound(sound);
  if (!s) return -1;
  int source = GetSource(priority);
  if (source < 0) return -1;
  int index;
  AudioVoice& v = StartVoice(sound, source, loop, priority, &index);
  auto free = std::find_if(e->voices.begin(), e->voices.end(),
                           [](const AudioVoiceRef& r) { return Audio_RefVoice(r) == nullptr; });
  if (free != e->voices.end()) *free = {index, v.handle};
  else e->voices.push_back({index, v.handle});
  Audio_LogError("Error prior to playing sample\n");
  ALuint al = g_Audio.pool[size_t(source)];
  // Where the emitter stands now, not where the source last played.
  SetSource(al, s->buffer, loop, e->gain * s->volume, e->pitch, false, e->position, e->velocity, e->reference,
            e->maximum, e->factor);
  alSourcePlay(al);
  Audio_LogError("Error playing sample\n");
  return v.handle;
}

void Audio_StopSound(int value) {
  if (Audio_Active()) ForVoices(value, StopVoice);
}

void Audio_PauseSound(int value) {
  if (Audio_Active()) ForVoices(value, [](AudioVoice& v, int n) { PauseVoice(v, n, true); });
}

void Audio_ResumeSound(int value) {
  if (Audio_Active()) ForVoices(value, [](AudioVoice& v, int n) { PauseVoice(v, n, false); });
}

void Audio_StopAll() {
  if (!Audio_Active()) return;
  for (size_t i = 0; i < g_Audio.voices.size(); i++)
    if (g_Audio.voices[i]->active) StopVoice(*g_Audio.voices[i], int(i));
}

void Audio_PauseAll() {
  if (!Audio_Active()) return;
  for (size_t i = 0; i < g_Audio.voices.size(); i++) PauseVoice(*g_Audio.voices[i], int(i), true);
}

void Audio_ResumeAll() {
  if (!Audio_Active()) return;
  for (size_t i = 0; i < g_Audio.voices.size(); i++) PauseVoice(*g_Audio.voices[i], int(i), false);
}

bool Audio_IsPlaying(int value) {
  if (!Audio_Active()) return false;
  if (value >= AUDIO_FIRST_HANDLE) {
    AudioVoice* v = FindVoice(value);
    return v && VoicePlaying(*v);
  }
  AudioSound* s = Sound(value);
  if (!s) return false;
  if (s->streamed)
    return String_EndsWith(s->file_name.c_str(), ".mp3") && g_Audio.output && g_Audio.output->PlayingMP3();
  for (auto& v : g_Audio.voices)
    if (v->sound == value && VoicePlaying(*v)) return true;
  return false;
}

void Audio_SetChannelCount(int count) {
  if (!Audio_Active()) return;
  count = std::clamp(count, 0, kMostChannels);
  if (!g_Audio.pool.empty()) {
    alDeleteSources(ALsizei(g_Audio.pool.size()), g_Audio.pool.data());
    alGetError();
  }
  // Their sources are gone: no voice may go on using one.
  for (auto& v : g_Audio.voices) {
    v->active = v->stolen = false;
    v->source = -1;
  }
  g_Audio.channel_count = count;
  MakePool();
}

void Audio_SetMasterGain(float gain) {
  if (!Audio_Active()) return;
  if (std::isnan(gain) || gain == INFINITY) return;  // no gain to set: the last one stays
  if (gain < 0.0f) gain = 0.0f;
  alListenerf(AL_GAIN, gain);
  if (g_Audio.output) g_Audio.output->SetMusicVolume(gain, 10);
}

void Audio_SetFalloffModel(int model) {
  static const ALenum kModels[] = {AL_NONE,
                                   AL_INVERSE_DISTANCE,
                                   AL_INVERSE_DISTANCE_CLAMPED,
                                   AL_LINEAR_DISTANCE,
                                   AL_LINEAR_DISTANCE_CLAMPED,
                                   AL_EXPONENT_DISTANCE,
                                   AL_EXPONENT_DISTANCE_CLAMPED};
  if (model < 0 || model > 6) {
    Console_Printf("Attempting to set audio falloff to unknown model\n");
    return;
  }
  if (g_Audio.output && g_Audio.output->IsOn()) alDistanceModel(kModels[model]);
}

void Audio_ListenerPosition(float x, float y, float z) {
  if (AudioListener* l = g_Audio.listener.get()) l->position[0] = x, l->position[1] = y, l->position[2] = z;
}

void Audio_ListenerVelocity(float x, float y, float z) {
  if (AudioListener* l = g_Audio.listener.get()) l->velocity[0] = x, l->velocity[1] = y, l->velocity[2] = z;
}

void Audio_ListenerOrientation(float atX, float atY, float atZ, float upX, float upY, float upZ) {
  AudioListener* l = g_Audio.listener.get();
  if (!l) return;
  l->at[0] = atX, l->at[1] = atY, l->at[2] = atZ;
  l->up[0] = upX, l->up[1] = upY, l->up[2] = upZ;
}

void Audio_PlayMusic(int sound, bool loop) {
  AudioSound* s = Sound(sound);
  if (!g_Audio.output || !s || s->file_name.empty()) return;
  const char* name = s->file_name.c_str();
  if (String_EndsWith(name, ".mp3")) g_Audio.output->PlayMP3(name, loop);
  else if (String_EndsWith(name, ".mid") || String_EndsWith(name, ".midi")) g_Audio.output->PlayMIDI(name, loop);
}

void Audio_StopMusic() {
  if (g_Audio.output) g_Audio.output->StopMusic();
}

void Audio_UpdateEmitters() {
  if (!Audio_Active()) return;
  if (g_Audio.listener) SetListener();
  for (auto& e : g_Audio.emitters) {
    if (!e || !e->active) continue;
    Audio_EmitterSources(
        *e,
        [&](ALuint source) {
          alSourcefv(source, AL_POSITION, e->position);
          alSourcefv(source, AL_VELOCITY, e->velocity);
        },
        [](AudioVoice& v) {
          v.active = false;
          v.stolen = false;
        });
  }
}
