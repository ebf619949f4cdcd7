// Audio_*: the audio system (the audio_* built-ins); Sound_* is the classic
// sound list (CSound).
// The audio system's records, shared by its files (Audio_Main, Audio_Emitter).
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "DataFile/DataFile_Package.h"
#include "Sound/Sound_Output.h"

class SoundHardware;

struct AudioSound {
  std::string file_name;
  float volume = 1.0f;
  bool streamed = false;  // kind above 0: no buffer, music by name
  std::optional<PackageBytes> blob;
  int blob_index = 0;
  uint32_t buffer = 0;
};

// One play.
struct AudioVoice {
  bool loop = false;
  bool active = false;  // owns its source
  bool stolen = false;  // its source was given to another voice
  int source = -1;      // index into the pool
  int handle = 0;
  int sound = 0;
  float priority = 1.0f;
};

// A voice an emitter plays, with the handle it had then: a voice reused by a
// later play elsewhere no longer belongs to the emitter.
struct AudioVoiceRef {
  int voice = -1;
  int handle = 0;
};

struct AudioEmitter {
  float position[3] = {};
  float velocity[3] = {};
  bool active = false;
  float reference = 100.0f;
  float maximum = 100000.0f;
  float factor = 1.0f;
  float gain = 1.0f;
  float pitch = 1.0f;
  std::vector<AudioVoiceRef> voices;
};

struct AudioListener {
  float position[3] = {};
  float velocity[3] = {};
  float at[3] = {0, 0, -1};
  float up[3] = {0, 0, 1};
};

struct AudioState {
  std::vector<std::unique_ptr<AudioSound>> sounds;
  int channel_count = 128;
  std::vector<uint32_t> pool;  // the output's sources; empty until made
  std::vector<std::unique_ptr<AudioVoice>> voices;
  int next_handle = 200000;
  std::vector<std::unique_ptr<AudioEmitter>> emitters;
  std::unique_ptr<AudioListener> listener;
  SoundHardware* output = nullptr;
  bool silenced = true;  // "-noaudio" or no device: nothing reaches the output
};
extern AudioState g_Audio;

// True while the system plays: the option on and a device to play on.
bool Audio_Active();
// The voice still playing under a reference, or none.
AudioVoice* Audio_RefVoice(const AudioVoiceRef& ref);
// The pending output error, logged with a message taking its code when there is one.
bool Audio_LogError(const char* message);

// Calls update(source) for each source an emitter's voices still play on, checking for an error
// after each; a voice whose source has stopped goes to stopped(voice) instead.
template <class Update, class Stopped>
void Audio_EmitterSources(const AudioEmitter& e, Update update, Stopped stopped) {
  for (const AudioVoiceRef& ref : e.voices) {
    AudioVoice* v = Audio_RefVoice(ref);
    if (!v || v->stolen || v->source < 0) continue;
    uint32_t source = g_Audio.pool[size_t(v->source)];
    SoundSourceState state = SoundOutput_State(source);
    Audio_LogError("Error getting source state\n");
    if (state == SoundSourceState::Stopped) {
      stopped(*v);
      continue;
    }
    update(source);
    Audio_LogError("Error updating emitter\n");
  }
}
