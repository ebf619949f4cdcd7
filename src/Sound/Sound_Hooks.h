// Sound_*: the sound area's hooks, for both the classic sound list (Sound_*,
// CSound) and the audio system (Audio_*).
// What the run loop asks of the sound system at start-up, preparation, each
// step and shutdown.
#pragma once

void Sound_StartUp();
void Sound_Prepare();
void Sound_PrepareAll();
void Audio_CreateBuffers();
void Sound_Tick();
void Sound_Quit();
void Sound_FreeAll();
void Sound_OnLoadGame();  // after a saved game was loaded
