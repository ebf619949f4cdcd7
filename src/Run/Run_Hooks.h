// What the run loop calls in the other areas at fixed moments of the frame,
// the step, start-up and shutdown. Each area defines its own.
#pragma once
#include <cstdint>

// Sound.
void Sound_StartUp();
void Sound_Prepare();
void Sound_PrepareAll();
void Audio_CreateBuffers();
void Sound_Tick();
void Sound_Quit();
void Sound_FreeAll();
void Sound_OnLoadGame();  // after a saved game was loaded
// Platform services.
void Achievements_Process();
void Achievements_Free();
// Extension packages: prepared with the game, initialised when it starts,
// finalised when it ends; false when one fails.
bool Extension_Prepare();
bool Extension_Initialize();
bool Extension_Finalize();
// Debugger and profiler. Debug_Create makes the form, or shows the one a
// restart hid; Debug_Frame runs at the start of every frame.
bool Debug_FormExists();
void Debug_Create();
void Debug_Update();
void Debug_SaveSettings();
void DebugForm_SetVisible(bool visible);
void Debug_Frame();
void Profiler_Begin(const char* name, uint32_t colour);
void Profiler_End();
// Files the scripts left open; the registry kept in memory.
void FileTables_CloseAll();
void RegistryList_Clear();

// Run-loop operations defined in the run area itself.
void Run_Timing_Reset();
bool Run_LoadGame(const char* file);

// The login dialog's answer, queued as an asynchronous request when ready.
void LoginAsync_Poll();
