// The sound system's part in the game's start, frames and end.
#include "Sound/Sound_Hooks.h"

#include "Sound/Audio_Main.h"
#include "Sound/Sound_Class.h"
#include "Sound/Sound_Hardware.h"
#include "Sound/Sound_Main.h"
#include "Sound/Sound_Wave.h"

void Sound_StartUp() {}
void Sound_OnLoadGame() {}

void Sound_Prepare() {
  Wave_Clear();
  if (!g_SoundHardware) g_SoundHardware = new SoundHardware;
  g_SoundHardware->Init();
  Audio_Init(g_SoundHardware);
}

void Sound_PrepareAll() {
  for (int i = 0; i < Sound_Count(); i++) {
    CSound* s = Sound_Data(i);
    if (s && s->preload) s->Prepare();
  }
}

void Sound_Tick() {
  Wave_Tick();
  Audio_UpdateEmitters();
}

void Sound_Quit() {
  Audio_Free();
  Wave_Clear();
  if (g_SoundHardware) g_SoundHardware->Quit();
}

void Sound_FreeAll() {
  Sound_Clear();
  Wave_Clear();
  delete g_SoundHardware;
  g_SoundHardware = nullptr;
}
