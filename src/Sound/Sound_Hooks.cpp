#include "Sound/Sound_Hooks.h"

// The sound system fills these in.
void Sound_StartUp() {}
void Sound_Prepare() {}
void Sound_PrepareAll() {}
void Audio_CreateBuffers() {}
void Sound_Tick() {}
void Sound_Quit() {}
void Sound_FreeAll() {}
void Sound_OnLoadGame() {}
