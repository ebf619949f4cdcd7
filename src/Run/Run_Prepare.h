// Building the game world from a loaded package, and game preparation.
#pragma once

struct GamePackage;

// The objects, rooms, time lines and sprite shapes of the package, replacing
// what the world held; false (with a log line) for records that refer to
// resources that do not exist.
bool Run_LoadWorld(const GamePackage& pkg);
// Prepares the game with its progress steps (included files, extension
// packages, constants, scripts, time lines, objects, rooms, sounds,
// graphics); a failing step shows its message and gives false.
bool PrepareGame(const GamePackage& pkg);
// Frees the world: objects, rooms, time lines and their code.
void Run_FreeWorld();
