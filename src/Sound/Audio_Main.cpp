#include "Sound/Audio_Main.h"

#include "Base/Console.h"
#include "Run/Run_Hooks.h"

bool Audio_Load(const std::vector<PackageSound>&) {
  Console_Printf("Audio_Load()\n");
  return true;
}

bool Audio_WAVs(const std::vector<PackageBytes>&) {
  Console_Printf("Audio_WAVs()\n");
  return true;
}

void Audio_Init(SoundHardware*) {}
void Audio_CreateBuffers() {}
void Audio_UpdateEmitters() {}
