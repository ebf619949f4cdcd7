// Asks the player for the game file when none is known.
#pragma once
#include <string>

// The chosen file, or "" when the player cancels or no display is there.
std::string Run_AskGameFile();
