// Sound_*: the classic sound list's output, which the audio system (Audio_*)
// shares for its device.
// The classic sound system's output: the sounds on the sound output
// (Sound_Output.h), one buffer and four sources each, so up to four copies
// overlap; MCI music for .mp3 files (and .mid / .midi names, which play the
// .mp3 of that name), fades stepped once a frame and a master volume.
//
// With "-noaudio", or when no sound device opens, every operation returns at
// once: loads give none, queries false.
#pragma once
#include <cstdint>
#include <span>
#include <string>

struct WaveSlot;

// One loaded sound, owned by its playback slot.
struct SoundHardwareSound {
  uint32_t buffer = 0;  // the output's names
  uint32_t sources[4] = {};
  int next_source = 0;     // the source the next play uses
  float volume = 1.0f;
  float fade_step = 0.0f;  // added to the volume each step while fade_count > 0
  int fade_count = 0;
};

// Logs every operation's name when set (nothing in the runner sets it).
extern bool g_SoundTrace;

class SoundHardware {
 public:
  SoundHardware() = default;
  ~SoundHardware();
  SoundHardware(const SoundHardware&) = delete;
  SoundHardware& operator=(const SoundHardware&) = delete;

  // Opens the sound output (room for SOUND_OUTPUT_SOURCES sources) and its
  // loader; without a device logs one line and stays silent.
  void Init();
  void Quit();
  // False with "-noaudio", without a device and after Quit.
  bool IsOn() const { return m_On; }

  // A sound from a file image in memory, or none (logged) when it does not decode.
  SoundHardwareSound* Load(const void* bytes, int64_t length);
  // Deletes the sound's sources and buffer and the record.
  void Free(SoundHardwareSound* sound);
  // Plays on the sound's next source; a fifth play restarts the first copy.
  void Play(SoundHardwareSound* sound, bool loop);
  void Stop(SoundHardwareSound* sound);
  bool Playing(SoundHardwareSound* sound);
  // Fades the sound's volume to a target over a time in milliseconds, in
  // steps of one frame at the current room speed (at least one step).
  void SetVolume(SoundHardwareSound* sound, float volume, int milliseconds);
  // The same for the music; without music the volume is set at once.
  void SetMusicVolume(float volume, int milliseconds);
  // A linear factor on every sound's gain from its next play or fade step.
  void SetMasterVolume(float volume);

  void PlayMP3(const char* name, bool loop);
  void PlayMIDI(const char* name, bool loop);
  void StopMusic();
  bool PlayingMP3();

  // One frame: the fade steps of the slots in use and of the music.
  void Tick(std::span<WaveSlot> slots);

 private:
  bool Begin(const char* name);
  void SetGain(uint32_t source, float volume);

  bool m_On = false;
  float m_MasterVolume = 1.0f;
  std::string m_MusicName;  // empty: no music
  float m_MusicVolume = 1.0f;
  float m_MusicFadeStep = 0.0f;
  int m_MusicFadeCount = 0;
};
