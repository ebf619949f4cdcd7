#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "Base/File_Folders.h"
#include "Base/IniFile.h"
#include "Option/Option_Main.h"
#include "Platform/MemoryManager.h"

namespace {
std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// A save folder and a game folder of its own for each test.
struct IniFolders : ::testing::Test {
  std::string root, save, game;
  void SetUp() override {
    char pattern[] = "/tmp/ini_testXXXXXX";
    root = mkdtemp(pattern);
    save = root + "/save";
    game = root + "/game";
    ASSERT_EQ(system(("mkdir -p '" + game + "'").c_str()), 0);
    File_SetSaveDirectory(save.c_str());
    File_SetGameDirectory(game.c_str());
  }
  void TearDown() override {
    File_SetSaveDirectory(nullptr);
    File_SetGameDirectory(nullptr);
    ASSERT_EQ(system(("rm -rf '" + root + "'").c_str()), 0);
  }
};
}  // namespace

TEST_F(IniFolders, NewSectionsAndKeysGoInFrontExistingKeysStay) {
  int64_t before = MemoryManager::LiveBlocks();
  {
    IniFile ini("sub/dir/set.ini", true);  // absent: an empty object
    EXPECT_EQ(ini.GetSections(), nullptr);
    ini.SetKey("A", "k1", "1");
    ini.SetKey("A", "k2", "2");
    ini.SetKey("B", "x", "y");
    ini.SetKey("A", "k1", "one");  // keeps its place
    ini.SetKey("A", "empty", nullptr);
    EXPECT_STREQ(ini.GetKey("A", "k1")->value, "one");
    EXPECT_EQ(ini.GetKey("a", "k1"), nullptr);  // names are exact
    EXPECT_TRUE(ini.IsChanged());
    ASSERT_TRUE(ini.Write());  // creates the missing folders in the save folder
    EXPECT_FALSE(ini.IsChanged());
    EXPECT_EQ(ReadFile(save + "/sub/dir/set.ini"), "[B]\r\nx=y\r\n[A]\r\nempty=\r\nk2=2\r\nk1=one\r\n");
  }
  EXPECT_EQ(MemoryManager::LiveBlocks(), before);
}

TEST_F(IniFolders, ReadsSaveFolderFirstThenGameFolder) {
  WriteFile(game + "/opt.ini", "[S]\nwhere=game\n");
  {
    IniFile ini("opt.ini", true);
    EXPECT_STREQ(ini.GetKey("S", "where")->value, "game");
    ini.SetKey("S", "where", "save");
    ASSERT_TRUE(ini.Write());  // always written to the save folder
  }
  EXPECT_EQ(ReadFile(game + "/opt.ini"), "[S]\nwhere=game\n");
  IniFile again("opt.ini", true);
  EXPECT_STREQ(again.GetKey("S", "where")->value, "save");
  IniFile unloaded("opt.ini", false);
  EXPECT_EQ(unloaded.GetSections(), nullptr);
}

TEST_F(IniFolders, WriteOnlyWhenChangedAndDeletesMarkChanged) {
  WriteFile(save + "/w.ini", "");  // the save folder does not exist yet: nothing is read
  IniFile ini("w.ini", true);
  EXPECT_TRUE(ini.Write());  // unchanged: nothing written
  EXPECT_FALSE(std::ifstream(save + "/w.ini").good());
  ini.SetKey("S", "a", "1");
  ini.SetKey("S", "b", "2");
  ini.SetKey("T", "c", "3");
  EXPECT_TRUE(ini.Write());
  EXPECT_FALSE(ini.DeleteKey("S", "zz"));
  EXPECT_FALSE(ini.IsChanged());
  EXPECT_TRUE(ini.DeleteKey("S", "b"));
  EXPECT_TRUE(ini.DeleteSection("T"));
  EXPECT_FALSE(ini.DeleteSection("T"));
  EXPECT_TRUE(ini.IsChanged());
  EXPECT_TRUE(ini.Write());
  EXPECT_EQ(ReadFile(save + "/w.ini"), "[S]\r\na=1\r\n");
  ini.Clear();
  EXPECT_EQ(ini.GetSection("S"), nullptr);
}

TEST_F(IniFolders, OptionsIniAsksForDebugModeWithAnyNumberButZero) {
  std::string folder = game + "/";
  EXPECT_FALSE(Option_IniDebug(folder));  // no file
  for (auto [text, debug] : std::initializer_list<std::pair<const char*, bool>>{
           {"1", true}, {"0", false}, {"", false}, {"yes", false}, {"99999999999999999999", true},
           {"-99999999999999999999", true}, {"1e400", true}, {"0.0", false}}) {
    WriteFile(folder + "options.ini", std::string("\xEF\xBB\xBF[DEFAULT]\r\nDebug=") + text + "\r\n");
    EXPECT_EQ(Option_IniDebug(folder), debug) << text;
  }
}

TEST(IniParse, KeepsFileOrderAndToleratesOddLines) {
  IniFile ini(nullptr, false);
  std::string text =
      "\xEF\xBB\xBF"
      "orphan=1\r\n"
      "[ First ]\r\n"
      "  name = some value \r\n"
      "; a comment\n"
      "no equals sign\n"
      "name=second\n"
      "=nameless\n"
      "[Second\n"
      "k=v=w\r"
      "[First]\n"
      "late=1";
  ini.Parse(text.data(), text.size());
  IniSection* first = ini.GetSections();
  ASSERT_NE(first, nullptr);
  EXPECT_STREQ(first->name, "First");
  EXPECT_STREQ(first->keys->name, "name");
  EXPECT_STREQ(first->keys->value, "some value");  // the first of two keys wins
  EXPECT_STREQ(first->keys->next->name, "");
  EXPECT_STREQ(ini.GetKey("First", "late")->value, "1");  // a repeated section merges
  EXPECT_STREQ(ini.GetKey("Second", "k")->value, "v=w");  // an unclosed header still names a section
  EXPECT_EQ(ini.GetKey("First", "orphan"), nullptr);
  EXPECT_FALSE(ini.IsChanged());
  ini.SetKey("First", "name", "x");
  EXPECT_FALSE(ini.Write());  // no file name to write to
}
