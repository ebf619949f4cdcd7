// The runner from start to end: finds and loads the game, runs the main
// loop and shuts down. Returns the process's exit status.
#pragma once

int Run_Main(int argc, char** argv);
