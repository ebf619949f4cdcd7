// Saving and loading the game: a stream beginning with the version 540 and
// the game's id, holding the game globals, the global variables and every
// room that has instances (the current one and the persistent ones).
#pragma once
#include <cstdint>

constexpr int32_t SAVEGAME_VERSION = 540;

extern uint32_t g_GameId;

// Writes the save game to the full file name; false when it cannot.
bool Run_SaveGame(const char* file);
// Replaces the running game's state with the save game's; a file that is
// not a save game of this game changes nothing and gives false.
bool Run_LoadGame(const char* file);
