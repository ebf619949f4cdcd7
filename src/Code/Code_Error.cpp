#include "Code/Code_Error.h"

#include <string>

#include "Base/Console.h"

namespace {
std::string g_last;
bool g_occurred = false;
}  // namespace

void Error_Show_Action(const char* text, bool fatal) {
  std::string framed = fatal ? std::string("FATAL ") + text : std::string(text);
  Error_Show(framed.c_str(), fatal);
}

void Error_Show(const char* text, bool fatal) {
  g_last = text ? text : "";
  g_Console.Print("ERROR!!! :: ");
  g_Console.Print(g_last.c_str());
  g_Console.Print("\n");
  g_occurred = true;
}

const char* Error_Last() { return g_last.c_str(); }
bool Error_Occurred() { return g_occurred; }
void Error_SetOccurred(bool occurred) { g_occurred = occurred; }
