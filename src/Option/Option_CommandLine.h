// The command line, parsed only when no "data.win" lies beside the program.
#pragma once
#include <string>

struct CommandLine {
  bool debug = false;      // -debug
  bool trace = false;      // -trace
  bool ext = false;        // -ext: external calls are not made
  bool oldexec = false;    // -oldexec
  bool inawindow = false;  // -inawindow
  std::string game;        // -game FILE
  std::string record;      // -record FILE
  std::string playback;    // -playback FILE
  std::string breakpoint;  // -bp SCRIPT@LINE
};

extern CommandLine g_CommandLine;
// The "-noaudio" byte, read by the sound output.
extern unsigned char g_NoAudio;
// Debug mode ("-debug", or "Debug" in options.ini) and the debug flags word
// (1 caption panel, 2 frame-rate overlay, 8 frame-rate switch; 2 in debug mode).
extern unsigned char Debug_Mode;
extern unsigned int Debug_Flags;
// The package version word: 700 for the older header, 800 otherwise.
extern unsigned int Package_Version;

// Sets every option to its default, then takes the options given. An option
// that wants a value and has none is ignored; unknown words are logged.
void ParseCommandLine(int argc, char** argv);
// "--help" prints the usage and every option, "--version" the version; true
// when either was given (the program then exits with status 0).
bool CommandLine_Informational(int argc, char** argv);
// The version of the runner and its tools ("1.2.0").
const char* CommandLine_Version();
// Only the defaults (when "data.win" is used).
void CommandLine_SetDefaults();
