// Save games and highscore tables from untrusted bytes: loading either never
// crashes, and a save game that does not load leaves the world as it was.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "Base/File_Folders.h"
#include "Object/Object_Main.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Run/Highscore_Main.h"
#include "Run/Run_Main.h"
#include "Run/Run_SaveGame.h"

namespace {
std::string g_dir;

void Setup() {
  char tmpl[] = "/tmp/fuzzsaveXXXXXX";
  g_dir = mkdtemp(tmpl);
  File_SetSaveDirectory(g_dir.c_str());
  int a = Object_Add("a");
  int r0 = Room_Add("r0");
  Room_Add("r1");
  Room_Data(r0)->AddInstanceDef(1, 2, a);
  Room_Data(r0)->persistent = true;
  g_GameId = 7;
  StartGame();
  std::atexit([] {
    Run_ClearInstances();
    Room_FreeAll();
    Object_FreeAll();
    std::error_code ignored;
    std::filesystem::remove_all(g_dir, ignored);
  });
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = (Setup(), true);
  (void)ready;
  std::string save = g_dir + "/s.dat", hiscore = g_dir + "/hiscore.dat";
  for (const std::string& path : {save, hiscore}) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  size_t before = g_RunRoom ? g_RunRoom->active.size() : 0;
  if (!Run_LoadGame(save.c_str()) && g_RunRoom && g_RunRoom->active.size() != before) std::abort();
  // Go back to a known world for the next input.
  if (g_RoomIndex != 0 || !g_RunRoom) {
    Run_ClearInstances();
    StartGame();
  }
  Highscore_Load();
  return 0;
}
