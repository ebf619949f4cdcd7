#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "DataFile/DataFile_Package.h"
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
}  // namespace
