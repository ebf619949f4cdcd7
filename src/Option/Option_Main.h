// The game's options, read from the package's options chunk.
#pragma once
#include <string>

struct GameOptions {
  bool show_errors = true;             // show the error dialog on script errors
  bool errors_fatal = false;           // every error is fatal
  bool new_audio = false;              // the newer audio system takes the sounds
  bool freeze_when_inactive = false;   // the step ends early while the window is inactive
  bool unknown_variables_zero = false; // unknown variables read as 0
};

extern GameOptions g_GameOptions;

// Whether options.ini in the folder (with a trailing "/") asks for debug
// mode: its key "Debug" in the section "DEFAULT" holds a number other than
// 0. A missing file, key or number asks for nothing.
bool Option_IniDebug(const std::string& folder);
