// The runner from start to end: finds and loads the game, runs the main
// loop and shuts down. Returns the process's exit status.
#pragma once

int StartUp_Main(int argc, char** argv);
// Installs the higher areas' functions into the lower ones that call them
// (the window's message pump into the timing waits, the debugger and the
// dialogs into the error report, ...). Run_Main calls it first; calling it
// again changes nothing.
void StartUp_InstallHooks();
