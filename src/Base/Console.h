// The debug console: every log line of the runner goes through it.
#pragma once
#include <cstdarg>

class TConsole {
 public:
  // Formats one line (bounded to 4,096 bytes; callers give the trailing
  // "\n", which a line cut short keeps) and hands it on. Never pass a text
  // from a game as the format.
  void Output(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
  void OutputV(const char* fmt, va_list args);
  // Writes a text as it stands (for texts that come from games).
  void Print(const char* text);
};

extern TConsole g_Console;

// The debugger's message list: set while the debugger form exists, null
// otherwise; every line reaches it before it is written to standard output.
extern void (*g_ConsoleListener)(const char* line);

#define Console_Printf(...) g_Console.Output(__VA_ARGS__)
