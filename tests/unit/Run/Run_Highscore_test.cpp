#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "Base/File_Folders.h"
#include "Run/Highscore_Main.h"

namespace fs = std::filesystem;

namespace {
class RunHighscore : public ::testing::Test {
 protected:
  fs::path dir;
  void SetUp() override {
    char tmpl[] = "/tmp/hiscoreXXXXXX";
    dir = mkdtemp(tmpl);
    File_SetSaveDirectory(dir.c_str());
    Highscore_SetEmptyName("<nobody>");
    Highscore_Clear();
  }
  void TearDown() override {
    Highscore_Clear();
    File_SetSaveDirectory(nullptr);
    fs::remove_all(dir);
  }
};

TEST_F(RunHighscore, HigherScoresGoAheadAndEqualOnesStayBehind) {
  Highscore_Add("a", 10);
  Highscore_Add("b", 30);
  Highscore_Add("c", 10);
  Highscore_Add("d", 20);
  const char* names[] = {"b", "d", "a", "c"};
  const int scores[] = {30, 20, 10, 10};
  for (int p = 1; p <= 4; p++) {
    EXPECT_STREQ(Highscore_Name(p), names[p - 1]);
    EXPECT_EQ(Highscore_Value(p), scores[p - 1]);
  }
  EXPECT_STREQ(Highscore_Name(5), "<nobody>");
  EXPECT_EQ(Highscore_Name(0), nullptr);
  EXPECT_EQ(Highscore_Name(11), nullptr);
  EXPECT_EQ(Highscore_Value(11), 0);
  // A full table drops its last place; a score no better than the last is ignored.
  for (int i = 0; i < 6; i++) Highscore_Add("x", 5);
  Highscore_Add("low", 5);
  EXPECT_STREQ(Highscore_Name(10), "x");
  Highscore_Add("top", 100);
  EXPECT_STREQ(Highscore_Name(1), "top");
  EXPECT_EQ(Highscore_Value(10), 5);
}

TEST_F(RunHighscore, TheTableSurvivesInItsFileAndBadFilesAreIgnored) {
  Highscore_Add("ann", 7);
  Highscore_Add("bob", 9);
  Highscore_Clear();
  Highscore_Load();
  EXPECT_STREQ(Highscore_Name(1), "bob");
  EXPECT_EQ(Highscore_Value(2), 7);
  std::ifstream in(dir / "hiscore.dat", std::ios::binary);
  char magic[4];
  in.read(magic, 4);
  EXPECT_EQ(std::string(magic, 4), "HISC");

  // Truncated, wrong magic, and a name length past the end.
  auto size = fs::file_size(dir / "hiscore.dat");
  fs::resize_file(dir / "hiscore.dat", size - 3);
  Highscore_Load();
  EXPECT_STREQ(Highscore_Name(1), "<nobody>");
  std::ofstream(dir / "hiscore.dat", std::ios::binary) << "HISX";
  Highscore_Load();
  EXPECT_EQ(Highscore_Value(1), 0);
  std::ofstream(dir / "hiscore.dat", std::ios::binary) << std::string("HISC\xff\xff\xff\x7f", 8);
  Highscore_Load();
  EXPECT_STREQ(Highscore_Name(1), "<nobody>");
}
}  // namespace
