// The runner from start to end: finds and loads the game, runs the main
// loop and shuts down. Returns the process's exit status.
#pragma once
#include <string>
#include <vector>

int Run_Main(int argc, char** argv);

// The command line the runner was started with, the program as started first.
const std::vector<std::string>& Run_Arguments();
