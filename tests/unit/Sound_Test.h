// Test helpers for the sound system: sound files made on the spot and a
// fixture that opens the sound output (the null device in the test runs)
// and closes it again with every sound.
#pragma once
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Base/File_Folders.h"
#include "Code/Code_Error.h"
#include "Option/Option_CommandLine.h"
#include "Run/Run_Hooks.h"
#include "Sound/Sound_Main.h"

// A PCM WAV file image of a constant level (0 to 1) on every channel, 8 or 16 bits.
inline std::vector<uint8_t> Sound_MakeWavOf(double seconds, double level, int rate, int channels, int bits) {
  uint32_t frames = uint32_t(seconds * rate), frame = uint32_t(channels * bits / 8), data = frames * frame;
  std::vector<uint8_t> out;
  auto u32 = [&](uint32_t v) { for (int i = 0; i < 4; i++) out.push_back(uint8_t(v >> (8 * i))); };
  auto u16 = [&](uint16_t v) { out.push_back(uint8_t(v)); out.push_back(uint8_t(v >> 8)); };
  auto tag = [&](const char* t) { for (int i = 0; i < 4; i++) out.push_back(uint8_t(t[i])); };
  tag("RIFF"); u32(36 + data); tag("WAVE");
  tag("fmt "); u32(16); u16(1); u16(uint16_t(channels)); u32(uint32_t(rate)); u32(uint32_t(rate) * frame);
  u16(uint16_t(frame)); u16(uint16_t(bits));
  tag("data"); u32(data);
  int16_t sample = int16_t(level * 32767);
  for (uint32_t i = 0; i < frames * uint32_t(channels); i++) {
    if (bits == 16) u16(uint16_t(sample));
    else out.push_back(uint8_t(128 + int(level * 127)));
  }
  return out;
}

// A mono 16-bit PCM WAV file image of a constant level (0 to 1).
inline std::vector<uint8_t> Sound_MakeWav(double seconds, double level, int rate = 22050) {
  return Sound_MakeWavOf(seconds, level, rate, 1, 16);
}

inline void Sound_WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// Whether the last call reported "Sound does not exist." (and forget it).
inline bool Sound_ErrorReported() {
  bool occurred = Error_Occurred() && std::string(Error_Last()) == "Sound does not exist.";
  Error_SetOccurred(false);
  return occurred;
}

class SoundTest : public testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/soundtestXXXXXX";
    dir = mkdtemp(tmpl);
    dir += "/";
    File_SetGameDirectory(dir.c_str());  // files are read from the save and game folders only
    Sound_Clear();
    Sound_Prepare();
  }
  void TearDown() override {
    Sound_Quit();
    Sound_FreeAll();
    g_NoAudio = 0;
    File_SetGameDirectory("");
    std::filesystem::remove_all(dir);
  }
  // A WAV file in the test's folder.
  std::string Wav(const char* name, double seconds = 0.2, double level = 0.25) {
    Sound_WriteFile(dir + name, Sound_MakeWav(seconds, level));
    return dir + name;
  }
  std::string dir;
};
