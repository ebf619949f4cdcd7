// The package builder's code check: every script, event, room and instance
// creation code, time line moment, extension function and constant of a
// project is compiled with the runner's own compiler, with the game's names
// known as the runner knows them, so that every error is found while
// packing instead of when the game starts.
#pragma once
#include <string>
#include <vector>

#include "gamepack/Gamepack_Project.h"

// One line per error: the project file, the place in it, the code file
// when the code has one, the line and the compiler's message. Empty when
// everything compiles.
std::vector<std::string> Gamepack_CheckCode(const std::string& projectPath, const ProjectBuild& build);
