#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "DataFile/DataFile_Package.h"
#include "Run/Run_Main.h"
#include "Run/Run_StartUp.h"

namespace fs = std::filesystem;

namespace {
int RunWith(const std::string& game) {
  std::string a0 = "runner", a1 = "-game", a2 = game;
  char* argv[] = {a0.data(), a1.data(), a2.data(), nullptr};
  return Run_Main(3, argv);
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
