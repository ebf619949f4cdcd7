#include "Option/Option_CommandLine.h"

#include <cstdio>
#include <cstring>
#include <string>

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

namespace {
// Every option the command line knows, in the order --help lists them.
struct OptionWord {
  const char* word;
  const char* value;  // the value's name, or null for a flag
  const char* help;
};
constexpr OptionWord kOptions[] = {
    {"-game", "FILE", "run the game package FILE"},
    {"-debug", nullptr, "debug mode: the debugger window and the frame-rate overlay"},
    {"-bp", "SCRIPT@LINE", "in debug mode, stop at that line of that script"},
    {"-ext", nullptr, "load native libraries but make no calls into them"},
    {"-noaudio", nullptr, "run silently, without opening a sound device"},
    {"-record", "FILE", "record the keyboard and mouse input to FILE"},
    {"-playback", "FILE", "play the input recorded in FILE back"},
    {"-trace", nullptr, "accepted for older packages; changes nothing"},
    {"-oldexec", nullptr, "accepted for older packages; changes nothing"},
    {"-inawindow", nullptr, "accepted for older packages; changes nothing"},
    {"--help", nullptr, "print this help and exit"},
    {"--version", nullptr, "print the version and exit"},
};

void Take(CommandLine& c, const char* word, const char* value) {
  if (std::strcmp(word, "-debug") == 0) c.debug = true;
  else if (std::strcmp(word, "-trace") == 0) c.trace = true;
  else if (std::strcmp(word, "-ext") == 0) c.ext = g_DLL_NoCalls = true;
  else if (std::strcmp(word, "-oldexec") == 0) c.oldexec = true;
  else if (std::strcmp(word, "-noaudio") == 0) g_NoAudio = 1;
  else if (std::strcmp(word, "-inawindow") == 0) c.inawindow = true;
  else if (std::strcmp(word, "-game") == 0) c.game = value;
  else if (std::strcmp(word, "-record") == 0) c.record = value;
  else if (std::strcmp(word, "-playback") == 0) c.playback = value;
  else if (std::strcmp(word, "-bp") == 0) c.breakpoint = value;
}
}  // namespace

const char* CommandLine_Version() { return RUNNER_VERSION; }

bool CommandLine_Informational(int argc, char** argv) {
  for (int i = 1; i < argc; i++) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("runner %s\n", RUNNER_VERSION);
      return true;
    }
    if (std::strcmp(argv[i], "--help") == 0) {
      std::printf("usage: runner [OPTION]...\n"
                  "Runs a game package: data.win beside the program, else the -game FILE, else one asked for.\n\n");
      for (const OptionWord& o : kOptions) {
        std::string left = std::string(o.word) + (o.value ? std::string(" ") + o.value : "");
        std::printf("  %-20s %s\n", left.c_str(), o.help);
      }
      return true;
    }
  }
  return false;
}

void ParseCommandLine(int argc, char** argv) {
  CommandLine_SetDefaults();
  for (int i = 1; i < argc; i++) {
    const char* a = argv[i];
    const OptionWord* known = nullptr;
    for (const OptionWord& o : kOptions)
      if (std::strcmp(a, o.word) == 0) known = &o;
    // An option that wants a value and has none is logged like an unknown one.
    if (!known || (known->value && i + 1 >= argc)) Console_Printf("Unknown command line option: %s\n", a);
    else Take(g_CommandLine, a, known->value ? argv[++i] : nullptr);
  }
}
