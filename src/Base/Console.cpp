#include "Base/Console.h"

#include <cstdio>
#include <cstring>

TConsole g_Console;
void (*g_ConsoleListener)(const char* line) = nullptr;

void TConsole::OutputV(const char* fmt, va_list args) {
  if (!fmt) return;
  char line[4096];
  int length = vsnprintf(line, sizeof line, fmt, args);
  if (length < 0) return;
  // A line cut short keeps its line break, so the next line starts afresh.
  size_t fmtLength = std::strlen(fmt);
  if (length >= int(sizeof line) && fmtLength > 0 && fmt[fmtLength - 1] == '\n') line[sizeof line - 2] = '\n';
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
