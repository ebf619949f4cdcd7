#include "Sound/Audio_Main.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "Base/Console.h"
#include "Base/String_Helpers.h"
#include "Option/Option_CommandLine.h"
#include "Option/Option_Main.h"
#include "Sound/Audio_State.h"
#include "Sound/Sound_Hardware.h"
#include "Sound/Sound_Output.h"

AudioState g_Audio;

namespace {
// The most sources a pool may ask for: the context's room for sources.
constexpr int kMostChannels = SOUND_OUTPUT_SOURCES;

AudioSound* Sound(int index) {
  return index >= 0 && index < int(g_Audio.sounds.size()) ? g_Audio.sounds[size_t(index)].get() : nullptr;
}

void MakePool() {
  g_Audio.pool.assign(size_t(g_Audio.channel_count), 0);
  SoundOutput_TakeError();
  SoundOutput_MakeSources(int(g_Audio.pool.size()), g_Audio.pool.data());
  if (int e = SoundOutput_TakeError(); e != 0) {
    Console_Printf("Error creating audio sources %d\n", e);
    g_Audio.pool.clear();
  }
}

void SetListener() {
  AudioListener& l = *g_Audio.listener;
  SoundOutput_SetListenerPosition(l.position);
  Audio_LogError("Error setting listener position %d\n");
  SoundOutput_SetListenerVelocity(l.velocity);
  Audio_LogError("Error setting listener velocity %d\n");
  const float orientation[6] = {l.at[0], l.at[1], l.at[2], l.up[0], l.up[1], l.up[2]};
  SoundOutput_SetListenerOrientation(orientation);
  Audio_LogError("Error setting listener orientation %d\n");
}

// A source for a play of some priority: a stopped or unused one, else the
// source of the lowest-priority voice below it, taken from that voice.
int GetSource(float priority) {
  Audio_LogError("Error prior to getting sound source %d\n");
  for (size_t i = 0; i < g_Audio.pool.size(); i++) {
    SoundSourceState state = SoundOutput_State(g_Audio.pool[i]);
    if (state != SoundSourceState::Stopped && state != SoundSourceState::Initial) continue;
    for (auto& v : g_Audio.voices)
      if (v->active && v->source == int(i)) v->active = false;
    return int(i);
  }
  AudioVoice* lowest = nullptr;
  for (auto& v : g_Audio.voices)
    if (v->active && !v->stolen && v->priority < priority && (!lowest || v->priority < lowest->priority))
      lowest = v.get();
  if (!lowest) return -1;
  SoundOutput_Stop(g_Audio.pool[size_t(lowest->source)]);
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
void SetSource(uint32_t source, uint32_t buffer, int loop, float gain, float pitch, bool relative,
               const float* position, const float* velocity, float reference, float maximum, float factor) {
  SoundOutput_SetRelative(source, relative);
  SoundOutput_SetGain(source, gain);
  SoundOutput_SetPitch(source, pitch);
  SoundOutput_SetBuffer(source, buffer);
  Audio_LogError("Error setting sample buffer\n");
  SoundOutput_SetLooping(source, loop >= 1);
  SoundOutput_SetFalloff(source, reference, maximum, factor);
  SoundOutput_SetPosition(source, position);
  SoundOutput_SetVelocity(source, velocity);
}

// Stops one voice (its source only when it still has it).
void StopVoice(AudioVoice& v, int number) {
  if (!v.stolen) {
    SoundOutput_Stop(g_Audio.pool[size_t(v.source)]);
    if (int e = SoundOutput_TakeError(); e != 0) Console_Printf("Error stopping sound %d error code %d\n", number, e);
  }
  v.active = false;
  v.stolen = false;
}

void PauseVoice(AudioVoice& v, int number, bool pause) {
  if (!v.active || v.stolen) return;
  uint32_t source = g_Audio.pool[size_t(v.source)];
  SoundSourceState state = SoundOutput_State(source);
  if (pause && state == SoundSourceState::Playing) SoundOutput_Pause(source);
  else if (!pause && state == SoundSourceState::Paused) SoundOutput_Play(source);
  else return;
  if (int e = SoundOutput_TakeError(); e != 0)
    Console_Printf(pause ? "Error pausing sound %d error code %d\n" : "Error resuming sound %d error code %d\n", number,
                   e);
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
  return v.active && !v.stolen && SoundOutput_State(g_Audio.pool[size_t(v.source)]) == SoundSourceState::Playing;
}
}  // namespace

bool Audio_Active() { return g_GameOptions.new_audio && !g_Audio.silenced; }

bool Audio_LogError(const char* message) {
  int e = SoundOutput_TakeError();
  if (e == 0) return false;
  Console_Printf(message, e);
  return true;
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
  SoundOutput_SetFalloffModel(SoundFalloff::Inverse);
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
    SoundOutput_TakeError();
    int error = SOUND_LOAD_OK;
    uint32_t buffer = SoundOutput_CreateBuffer(s->blob->data(), int64_t(s->blob->size()), error);
    bool failed = error != SOUND_LOAD_OK;
    failed = SoundOutput_TakeError() != 0 || failed;
    if (!failed) s->buffer = buffer;
  }
}

void Audio_Free() {
  if (!g_Audio.silenced) {
    if (!g_Audio.pool.empty()) {
      SoundOutput_StopSources(int(g_Audio.pool.size()), g_Audio.pool.data());
      SoundOutput_DeleteSources(int(g_Audio.pool.size()), g_Audio.pool.data());
    }
    for (auto& s : g_Audio.sounds)
      if (s && s->buffer) SoundOutput_DeleteBuffer(s->buffer);
    SoundOutput_TakeError();
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
  SoundOutput_TakeError();
  SoundBufferFormat f = SoundOutput_BufferFormat(s->buffer);
  if (SoundOutput_TakeError() != 0 || f.channels <= 0 || f.bits < 8 || f.frequency <= 0) return -1.0f;
  return float((unsigned(f.bytes) / unsigned(f.channels)) / unsigned(f.bits / 8)) / float(f.frequency);
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
  uint32_t id = g_Audio.pool[size_t(source)];
  // Flat: beside the listener, without falloff.
  SetSource(id, s->buffer, loop, s->volume, 1.0f, true, zero, zero, 1.0f, 100000.0f, 0.0f);
  SoundOutput_Play(id);
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
  uint32_t id = g_Audio.pool[size_t(source)];
  SetSource(id, s->buffer, loop, s->volume, 1.0f, false, position, zero, reference, maximum, factor);
  Audio_LogError("Error updating sample position\n");
  SoundOutput_Play(id);
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
  uint32_t id = g_Audio.pool[size_t(source)];
  // Where the emitter stands now, not where the source last played.
  SetSource(id, s->buffer, loop, e->gain * s->volume, e->pitch, false, e->position, e->velocity, e->reference,
            e->maximum, e->factor);
  SoundOutput_Play(id);
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
    SoundOutput_DeleteSources(int(g_Audio.pool.size()), g_Audio.pool.data());
    SoundOutput_TakeError();
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
  SoundOutput_SetListenerGain(gain);
  if (g_Audio.output) g_Audio.output->SetMusicVolume(gain, 10);
}

void Audio_SetFalloffModel(int model) {
  if (model < 0 || model > 6) {
    Console_Printf("Attempting to set audio falloff to unknown model\n");
    return;
  }
  if (g_Audio.output && g_Audio.output->IsOn()) SoundOutput_SetFalloffModel(SoundFalloff(model));
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
        [&](uint32_t source) {
          SoundOutput_SetPosition(source, e->position);
          SoundOutput_SetVelocity(source, e->velocity);
        },
        [](AudioVoice& v) {
          v.active = false;
          v.stolen = false;
        });
  }
}
