// Test helpers for the audio system: a package's sounds made on the spot.
#pragma once
#include <string>
#include <vector>

#include "DataFile/DataFile_Package.h"
#include "Option/Option_Main.h"
#include "Sound/Audio_Main.h"
#include "Sound_Test.h"

// Sounds 0 "beep.wav" (0.5 s, buffered), 1 "theme.mp3" (streamed), 2 none,
// 3 "long.wav" (2 s, buffered, volume 0.5); each WAV of a constant level.
struct AudioPackage {
  std::vector<PackageSound> sounds;
  std::vector<std::vector<uint8_t>> files;
  std::vector<PackageBytes> audio;

  explicit AudioPackage(double level = 0.2) {
    files = {Sound_MakeWav(0.5, level), Sound_MakeWav(0.1, level), Sound_MakeWav(2.0, level)};
    for (auto& f : files) audio.emplace_back(f.data(), f.size());
    sounds.resize(4);
    sounds[0] = Entry("snd_beep", "beep.wav", 0, 0, 1.0f);
    sounds[1] = Entry("snd_theme", "theme.mp3", 1, 1, 1.0f);
    sounds[3] = Entry("snd_long", "long.wav", 0, 2, 0.5f);
  }
  static PackageSound Entry(const char* name, const char* file, int kind, uint32_t blob, float volume) {
    PackageSound s;
    s.exists = true;
    s.name = name;
    s.file_name = file;
    s.kind = kind;
    s.audio = blob;
    s.volume = volume;
    return s;
  }
  // The readers, as the package's loading runs them with the new-audio option on.
  void Load() const {
    g_GameOptions.new_audio = true;
    Audio_Load(sounds);
    Audio_WAVs(audio);
  }
};

class AudioTest : public testing::Test {
 protected:
  void SetUp() override {
    pkg.Load();
    Sound_Prepare();
    Audio_CreateBuffers();
  }
  void TearDown() override {
    Sound_Quit();
    Sound_FreeAll();
    g_GameOptions.new_audio = false;
    g_NoAudio = 0;
  }
  AudioPackage pkg;
};
