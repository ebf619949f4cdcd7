// Sound files as games bring them: each input is loaded as a sound effect
// (WAV or AU, checked and handed to the loader) and opened as music through
// the MCI player's decoder (WAV, AU, OGG, Opus, FLAC, MP3 and the rest the
// decoder knows). OpenAL Soft's null output stands in for a sound card.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Sound/MCI_Main.h"
#include "Sound/Sound_Hardware.h"
#include "Sound/Sound_Image.h"

namespace {
SoundHardware* g_Output = nullptr;
std::string g_File;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("ALSOFT_DRIVERS", "null", 1);
  g_Output = new SoundHardware;
  g_Output->Init();
  g_File = "/tmp/fuzz_sound_" + std::to_string(getpid()) + ".snd";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> image;
  int error = 0;
  SoundImage_Check(data, size, image, error);
  // A copy of just the input's bytes, so that any read past them is caught.
  std::vector<uint8_t> bytes(data, data + size);
  g_Output->Free(g_Output->Load(bytes.data(), int64_t(bytes.size())));

  if (FILE* f = fopen(g_File.c_str(), "wb")) {
    fwrite(data, 1, size, f);
    fclose(f);
    std::string open = "open \"" + g_File + "\" type mpegvideo alias song";
    if (MCI_SendString(open.c_str(), nullptr, 0) == MCI_OK) {
      char reply[64];
      MCI_SendString("status song length", reply, sizeof reply);
      MCI_SendString("play song from 10 to 20", nullptr, 0);
      MCI_SendString("close song", nullptr, 0);
    }
    remove(g_File.c_str());
  }
  return 0;
}
