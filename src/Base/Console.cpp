#include "Base/Console.h"

#include <cstdio>

TConsole g_Console;
void (*g_ConsoleListener)(const char* line) = nullptr;

void TConsole::OutputV(const char* fmt, va_list args) {
  char line[4096];
  vsnprintf(line, sizeof line, fmt, args);
  Print(line);
}

void TConsole::Output(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  OutputV(fmt, args);
  va_end(args);
}

void TConsole::Print(const char* text) {
  if (!text) return;
  if (g_ConsoleListener) g_ConsoleListener(text);
  fputs(text, stdout);
  fflush(stdout);
}
