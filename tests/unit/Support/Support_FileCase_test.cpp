// The case fallback of file names and the text-mode line ends.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "Base/File_Folders.h"
#include "IO/LoadSave_Main.h"
#include "Support/Support_File.h"
#include "Support/Support_TextFile.h"

namespace fs = std::filesystem;

namespace {
class FileCase : public ::testing::Test {
 protected:
  std::string root;  // with a trailing "/"
  void SetUp() override {
    char pattern[] = "/tmp/filecaseXXXXXX";
    root = std::string(mkdtemp(pattern)) + "/";
    fs::create_directories(root + "Saves/Slots");
    std::ofstream(root + "Saves/Slots/Game1.SAV") << "x";
  }
  void TearDown() override { fs::remove_all(root); }
};

std::string Bytes(FILE* f) {
  std::string s;
  std::rewind(f);
  for (int c; (c = std::getc(f)) != EOF;) s += static_cast<char>(c);
  return s;
}
}  // namespace

TEST_F(FileCase, EachPartTakesTheSpellingOfTheEntryThatExists) {
  EXPECT_EQ(File_MatchCase(root, "saves/slots/game1.sav"), root + "Saves/Slots/Game1.SAV");
  EXPECT_EQ(File_MatchCase(root, "SAVES/Slots/GAME1.sav"), root + "Saves/Slots/Game1.SAV");
  // A new file keeps the spelling given, in the folder that exists.
  EXPECT_EQ(File_MatchCase(root, "saves/slots/Game2.sav"), root + "Saves/Slots/Game2.sav");
  // Below a missing folder nothing is looked up.
  EXPECT_EQ(File_MatchCase(root, "saves/New/game1.sav"), root + "Saves/New/game1.sav");
  // An exact spelling wins over another that differs only in case.
  std::ofstream(root + "Saves/Slots/game1.sav") << "y";
  EXPECT_EQ(File_MatchCase(root, "saves/slots/game1.sav"), root + "Saves/Slots/game1.sav");
  EXPECT_EQ(File_MatchCase(root, "saves/slots/GAME1.SAV"), root + "Saves/Slots/Game1.SAV");  // first in byte order
  EXPECT_EQ(File_MatchCase(root, ""), root);
}

TEST_F(FileCase, AbsoluteNamesAndTheCurrentFolder) {
  EXPECT_EQ(File_MatchCase("", root + "SAVES/slots"), root + "Saves/Slots");
  char* here = getcwd(nullptr, 0);
  ASSERT_EQ(chdir(root.c_str()), 0);
  EXPECT_EQ(File_MatchCase("", "saves/SLOTS/game1.sav"), "Saves/Slots/Game1.SAV");
  EXPECT_EQ(File_MatchCase("", "./saves"), "./Saves");
  ASSERT_EQ(chdir(here), 0);
  free(here);
}

TEST_F(FileCase, SaveAndBundlePathsMatchCaseAndRefuseClimbing) {
  File_SetSaveDirectory((root + "Saves").c_str());
  File_SetGameDirectory((root + "game").c_str());
  EXPECT_EQ(LoadSave_MakeSavePath("SLOTS\\game1.sav"), root + "Saves/Slots/Game1.SAV");
  EXPECT_EQ(LoadSave_MakeSavePath("slots/../slots/x"), root + "Saves/Slots/x");  // stays inside
  EXPECT_EQ(LoadSave_MakeSavePath("slots\\..\\..\\x"), "");
  EXPECT_EQ(LoadSave_MakeSavePath(".."), "");
  // A full path inside the save folder or the game's folder is re-rooted.
  EXPECT_EQ(LoadSave_MakeSavePath((root + "Saves/slots/GAME1.sav").c_str()), root + "Saves/Slots/Game1.SAV");
  EXPECT_EQ(LoadSave_MakeSavePath((root + "game/a.txt").c_str()), root + "Saves/a.txt");
  EXPECT_EQ(LoadSave_MakeSavePath((root + "gamex/a.txt").c_str()), "");
  EXPECT_EQ(LoadSave_MakeReadPath("slots/game1.sav"), root + "Saves/Slots/Game1.SAV");
  EXPECT_EQ(LoadSave_MakeReadPath("slots/none.sav"), "");
  File_SetSaveDirectory(nullptr);
  File_SetGameDirectory(nullptr);
}

TEST(TextFileLines, WrittenLineEndsAreCrLf) {
  FILE* f = std::tmpfile();
  ASSERT_TRUE(TextFile_Write(f, std::string("a\nb\r\n\n")));
  ASSERT_TRUE(TextFile_Write(f, "", 0));
  EXPECT_EQ(Bytes(f), "a\r\nb\r\r\n\r\n");
  std::fclose(f);
}

TEST(TextFileLines, ReadingTurnsCrLfIntoLf) {
  FILE* f = std::tmpfile();
  std::fputs("one\r\ntwo\rthree\n\r\nlast\r", f);
  std::rewind(f);
  EXPECT_EQ(TextFile_ReadLine(f, false), "one");
  EXPECT_EQ(TextFile_ReadLine(f, false), "two");  // a lone CR ends the line too
  EXPECT_EQ(TextFile_ReadLine(f, true), "three\n");
  EXPECT_EQ(TextFile_ReadLine(f, true), "\n");
  EXPECT_FALSE(std::feof(f));
  EXPECT_EQ(TextFile_ReadLine(f, true), "last\r");  // the CR at the end stays
  EXPECT_TRUE(std::feof(f));
  EXPECT_EQ(TextFile_ReadLine(f, false), "");
  std::fclose(f);
}
