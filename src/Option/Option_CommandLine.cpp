#include "Option/Option_CommandLine.h"

#include <cstring>

#include "Base/Console.h"
#include "Support/Support_DLL.h"

CommandLine g_CommandLine;
unsigned char g_NoAudio = 0;
unsigned char Debug_Mode = 0;
unsigned int Debug_Flags = 0;
unsigned int Package_Version = 800;

void CommandLine_SetDefaults() {
  g_CommandLine = CommandLine{};
  g_NoAudio = 0;
  g_DLL_NoCalls = false;
}

void ParseCommandLine(int argc, char** argv) {
  CommandLine_SetDefaults();
  CommandLine& c = g_CommandLine;
  for (int i = 1; i < argc; i++) {
    const char* a = argv[i];
    bool has_value = i + 1 < argc;
    if (std::strcmp(a, "-debug") == 0) c.debug = true;
    else if (std::strcmp(a, "-trace") == 0) c.trace = true;
    else if (std::strcmp(a, "-ext") == 0) c.ext = g_DLL_NoCalls = true;
    else if (std::strcmp(a, "-oldexec") == 0) c.oldexec = true;
    else if (std::strcmp(a, "-noaudio") == 0) g_NoAudio = 1;
    else if (std::strcmp(a, "-inawindow") == 0) c.inawindow = true;
    else if (std::strcmp(a, "-game") == 0 && has_value) c.game = argv[++i];
    else if (std::strcmp(a, "-record") == 0 && has_value) c.record = argv[++i];
    else if (std::strcmp(a, "-playback") == 0 && has_value) c.playback = argv[++i];
    else if (std::strcmp(a, "-bp") == 0 && has_value) c.breakpoint = argv[++i];
    else Console_Printf("Unknown command line option: %s\n", a);
  }
}
