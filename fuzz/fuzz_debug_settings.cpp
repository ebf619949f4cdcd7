// A "Debug.ini" of any content through the debugger's settings: loaded into
// a form without windows (watches evaluated, windows shown as data), then
// saved again to a folder of its own.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "Base/File_Folders.h"
#include "Base/IniFile.h"
#include "Code/Code_Main.h"
#include "Debug/Debug_Main.h"
#include "Option/Option_CommandLine.h"

void Variable_Init_World();

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = [] {
    Code_Init();
    Variable_Init_World();
    char pattern[] = "/tmp/fuzz_debugXXXXXX";
    static std::string dir = mkdtemp(pattern);
    File_SetSaveDirectory(dir.c_str());
    File_SetGameDirectory(dir.c_str());
    Debug_Mode = 1;
    return true;
  }();
  (void)ready;
  Debug_Create();
  DebugForm* f = g_DebugForm;
  delete f->settings;
  f->settings = new IniFile("Debug.ini", false);
  f->settings->Parse(reinterpret_cast<const char*>(data), size);
  Debug_LoadSettings(f);
  Debug_EvaluateWatches(f);
  Debug_Close();
  return 0;
}
