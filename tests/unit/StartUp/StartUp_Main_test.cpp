#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include <SDL2/SDL.h>

#include "DataFile/DataFile_Package.h"
#include "Function_Call.h"
#include "Graphics/Graphics_Transition.h"
#include "Graphics_TestDevice.h"
#include "Run/Run_Main.h"
#include "StartUp/StartUp_Main.h"
#include "Script/Script_Main.h"
#include "Support/Support_Timing.h"
#include "gamepack/Gamepack_Write.h"

namespace fs = std::filesystem;

namespace {
int RunWith(const std::string& game) {
  std::string a0 = "runner", a1 = "-game", a2 = game;
  char* argv[] = {a0.data(), a1.data(), a2.data(), nullptr};
  return StartUp_Main(3, argv);
}

TEST(RunStartUp, BrokenOrMissingPackagesEndWithAFailure) {
  char tmpl[] = "/tmp/startupXXXXXX";
  fs::path dir = mkdtemp(tmpl);
  GamePackage pkg;
  pkg.general.name = "t";
  std::vector<uint8_t> bytes = DataFile_WritePackage(pkg);
  std::ofstream(dir / "cut.win", std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size() / 2);
  bytes[0] = 'X';
  std::ofstream(dir / "bad.win", std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  testing::internal::CaptureStdout();
  EXPECT_EQ(RunWith((dir / "cut.win").string()), 1);
  EXPECT_EQ(RunWith((dir / "bad.win").string()), 1);
  EXPECT_EQ(RunWith((dir / "none.win").string()), 1);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Failed to load the game"), std::string::npos);
  fs::remove_all(dir);
}

// A script's sleep and the runner's own waits keep answering the window: a
// close request that arrives meanwhile stops the main loop.
TEST(RunStartUp, WaitsAnswerTheWindow) {
  ASSERT_TRUE(TestDevice_Start());
  StartUp_InstallHooks();
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  for (bool script : {false, true}) {
    Run_Running = 1;
    ASSERT_EQ(SDL_PushEvent(&quit), 1);
    if (script) Call("sleep", {5});
    else Timing_Wait(5000);
    EXPECT_EQ(Run_Running, 0) << (script ? "sleep" : "Timing_Wait");
  }
  Timing_SetPumpMessages(nullptr);
}

// A transition kind drawn by a script finds the script through what start-up
// installed.
TEST(RunStartUp, TransitionsFindScripts) {
  StartUp_InstallHooks();
  int script = Script_Add("draw_wipe", "");
  EXPECT_TRUE(Transition_DefineScript(40, "draw_wipe"));
  EXPECT_EQ(Transition_Script(40), script);
  EXPECT_FALSE(Transition_DefineScript(41, "draw_nothing"));
  Script_Clear();
}

TEST(RunStartUp, TheRunHasATemporaryFolderOfItsOwn) {
  char tmpl[] = "/tmp/startupXXXXXX";
  fs::path shared = mkdtemp(tmpl);
  const char* old = std::getenv("TMPDIR");
  std::string keep = old ? old : "";
  setenv("TMPDIR", shared.c_str(), 1);
  Run_RemoveTempDirectory();
  std::string own = Run_TempDirectory();
  EXPECT_EQ(own, Run_TempDirectory());
  ASSERT_EQ(own.back(), '/');
  fs::path ownPath = fs::path(own).parent_path();
  EXPECT_EQ(ownPath.parent_path(), shared);
  EXPECT_TRUE(fs::is_directory(ownPath));
  // Removed at the end only when nothing is left in it.
  std::ofstream(ownPath / "left") << "x";
  Run_RemoveTempDirectory();
  EXPECT_TRUE(fs::exists(ownPath));
  fs::remove(ownPath / "left");
  own = Run_TempDirectory();
  Run_RemoveTempDirectory();
  EXPECT_FALSE(fs::exists(own));
  if (old) setenv("TMPDIR", keep.c_str(), 1);
  else unsetenv("TMPDIR");
  fs::remove_all(shared);
}
}  // namespace
