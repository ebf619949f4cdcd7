#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "Base/File_Folders.h"
#include "IO/LoadSave_Main.h"
#include "Platform/MemoryManager.h"

namespace fs = std::filesystem;

namespace {
class IOLoadSave : public ::testing::Test {
 protected:
  fs::path dir;
  void SetUp() override {
    char tmpl[] = "/tmp/loadsaveXXXXXX";
    dir = mkdtemp(tmpl);
    fs::create_directories(dir / "game");
    File_SetGameDirectory((dir / "game").c_str());
    File_SetSaveDirectory((dir / "save").c_str());
  }
  void TearDown() override {
    File_SetGameDirectory(nullptr);
    File_SetSaveDirectory(nullptr);
    fs::remove_all(dir);
  }
};

TEST_F(IOLoadSave, SeeksMayGoAnywhereButReadsStayInsideTheData) {
  std::ofstream(dir / "game" / "f.txt") << "abc 12.5";
  LoadSaveFile* f = LoadSave_fopen((dir / "game" / "f.txt").c_str(), "rb");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(LoadSave_fgetc(f), 'a');
  LoadSave_fseek(f, -100, SEEK_SET);
  EXPECT_EQ(LoadSave_ftell(f), -100);
  EXPECT_EQ(LoadSave_fgetc(f), -1);
  char buf[16] = {};
  EXPECT_EQ(LoadSave_fread(buf, 1, 4, f), 0u);
  LoadSave_fseek(f, 1000, SEEK_CUR);
  EXPECT_EQ(LoadSave_fgetc(f), -1);
  EXPECT_TRUE(LoadSave_feof(f));
  EXPECT_EQ(LoadSave_fread(buf, 1, 4, f), 0u);
  LoadSave_fseek(f, 5, SEEK_END);  // size - 5
  EXPECT_EQ(LoadSave_fread(buf, 4, 100, f), 5u);
  EXPECT_STREQ(buf, " 12.5");
  LoadSave_fseek(f, 3, SEEK_SET);
  double d;
  LoadSave_ReadReal(f, &d);
  EXPECT_EQ(d, 12.5);
  EXPECT_TRUE(LoadSave_feof(f));
  LoadSave_fseek(f, -1, SEEK_SET);
  LoadSave_ReadReal(f, &d);  // outside: 0, nothing read
  EXPECT_EQ(d, 0);
  LoadSave_fclose(f);

  std::ofstream(dir / "game" / "n.txt") << "  -1.5e3x nan 0x10 .25";
  f = LoadSave_fopen((dir / "game" / "n.txt").c_str(), "rb");
  ASSERT_NE(f, nullptr);
  LoadSave_ReadReal(f, &d);
  EXPECT_EQ(d, -1500);
  EXPECT_EQ(LoadSave_fgetc(f), 'x');
  LoadSave_ReadReal(f, &d);  // not a decimal number: 0, stays put
  EXPECT_EQ(d, 0);
  EXPECT_EQ(LoadSave_fgetc(f), 'n');
  LoadSave_fseek(f, 4, SEEK_END);
  LoadSave_ReadReal(f, &d);
  EXPECT_EQ(d, 0.25);
  LoadSave_fseek(f, 9, SEEK_END);  // "0x10": the 0 alone
  LoadSave_ReadReal(f, &d);
  EXPECT_EQ(d, 0);
  EXPECT_EQ(LoadSave_fgetc(f), 'x');
  LoadSave_fclose(f);
  EXPECT_EQ(LoadSave_fopen((dir / "none").c_str(), "rb"), nullptr);
}

TEST_F(IOLoadSave, LinesAreReadWithTheirBytesAsTheyAre) {
  std::string text("abc\r\n\nx\0y\rlast", 14);
  text += std::string(70000, 'z');
  std::ofstream(dir / "game" / "l.txt", std::ios::binary) << text;
  LoadSaveFile* f = LoadSave_fopen((dir / "game" / "l.txt").c_str(), "rb");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(LoadSave_ReadLine(f), "abc");
  EXPECT_EQ(LoadSave_ReadLine(f), "");  // the line end stays for the next call
  EXPECT_EQ(LoadSave_ftell(f), 3);
  EXPECT_EQ(LoadSave_ReadLineWithEnd(f), "\r\n");
  EXPECT_EQ(LoadSave_ReadLineWithEnd(f), "\n");
  EXPECT_EQ(LoadSave_ReadLine(f), std::string("x\0y", 3));  // a 0 byte is part of the line
  EXPECT_TRUE(LoadSave_ReadLineWithEnd(f) == "\rlast" + std::string(70000, 'z'));  // no length limit
  EXPECT_TRUE(LoadSave_feof(f));
  EXPECT_EQ(LoadSave_ReadLine(f), "");
  EXPECT_EQ(LoadSave_ReadLineWithEnd(f), "");
  LoadSave_fseek(f, -1, SEEK_SET);  // before the start: nothing, one step on
  EXPECT_EQ(LoadSave_ReadLine(f), "");
  EXPECT_EQ(LoadSave_ReadLine(f), "abc");
  LoadSave_fclose(f);
}

TEST_F(IOLoadSave, NamesAreRootedInTheirFolder) {
  std::string save = (dir / "save").string() + "/";
  EXPECT_EQ(LoadSave_MakeSavePath("a/b.txt"), save + "a/b.txt");
  EXPECT_EQ(LoadSave_MakeSavePath("a\\b.txt"), save + "a/b.txt");
  EXPECT_EQ(LoadSave_MakeSavePath("../escape.txt"), "");
  EXPECT_EQ(LoadSave_MakeSavePath("a/../../escape.txt"), "");
  // Steps into a folder and back out that stay inside are resolved.
  EXPECT_EQ(LoadSave_MakeSavePath("a/../b.txt"), save + "b.txt");
  EXPECT_EQ(LoadSave_MakeSavePath("a\\b\\..\\..\\c/./d.txt"), save + "c/d.txt");
  EXPECT_EQ(LoadSave_MakeSavePath("a/b/../../../c.txt"), "");
  EXPECT_EQ(LoadSave_MakeSavePath("a/..b/c..txt"), save + "a/..b/c..txt");  // names, not steps
  EXPECT_EQ(LoadSave_MakeSavePath("a//b/"), save + "a/b/");
  EXPECT_EQ(LoadSave_MakeSavePath((save + "a/../b.txt").c_str()), save + "b.txt");
  EXPECT_EQ(LoadSave_MakeSavePath((save + "../b.txt").c_str()), "");
  EXPECT_EQ(LoadSave_MakeSavePath("/etc/passwd"), "");
  LoadSave_AllowPath("/somewhere/picked.txt", true);
  EXPECT_EQ(LoadSave_MakeSavePath("/somewhere/picked.txt"), "/somewhere/picked.txt");
  // Another case names another file here: it was not picked.
  EXPECT_EQ(LoadSave_MakeSavePath("/SOMEWHERE/picked.txt"), "");
  EXPECT_EQ(LoadSave_MakeBundlePath("/somewhere/picked.txt"), "");
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  EXPECT_EQ(LoadSave_MakeBundlePath((std::string(cwd) + "/x.dat").c_str()), (dir / "game").string() + "/x.dat");
  char small[8];
  EXPECT_FALSE(LoadSave_MakeSavePath(small, sizeof small, "long-name.txt"));
  EXPECT_STREQ(small, "");
}

TEST_F(IOLoadSave, WholeFilesAreWrittenToTheSaveFolder) {
  EXPECT_FALSE(LoadSave_SaveFileExists("deep/x.bin"));
  EXPECT_TRUE(LoadSave_WriteFile("deep/x.bin", "\0\1\2", 3));
  EXPECT_TRUE(LoadSave_SaveFileExists("deep/x.bin"));
  EXPECT_FALSE(LoadSave_BundleFileExists("deep/x.bin"));
  int64_t n;
  uint8_t* data = LoadSave_ReadSaveFile("deep/x.bin", &n);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(n, 3);
  EXPECT_EQ(data[2], 2);
  MEM_FREE(data);
  EXPECT_EQ(LoadSave_ReadBundleFile("deep/x.bin", &n), nullptr);
  EXPECT_FALSE(LoadSave_WriteFile("../out.bin", "x", 1));
}

TEST_F(IOLoadSave, TheSaveFolderNameCannotLeaveTheDataFolder) {
  const char* old = std::getenv("XDG_DATA_HOME");
  std::string keep = old ? old : "";
  setenv("XDG_DATA_HOME", "/data", 1);
  EXPECT_EQ(LoadSave_SaveFolder("My Game"), "/data/My Game/");
  EXPECT_EQ(LoadSave_SaveFolder("../../etc"), "/data/_._.._etc/");
  EXPECT_EQ(LoadSave_SaveFolder(".."), "/data/game/");
  EXPECT_EQ(LoadSave_SaveFolder(""), "/data/game/");
  EXPECT_EQ(LoadSave_SaveFolder("a\\b/c"), "/data/a_b_c/");
  // Never blank or hidden, and bounded without cutting a character in two.
  EXPECT_EQ(LoadSave_SaveFolder("   "), "/data/game/");
  EXPECT_EQ(LoadSave_SaveFolder(" .config "), "/data/_config/");
  std::string longName = "x" + std::string(200, 'y');
  EXPECT_EQ(LoadSave_SaveFolder(longName.c_str()), "/data/" + longName.substr(0, SAVE_FOLDER_NAME_MAX) + "/");
  std::string accents;
  for (int i = 0; i < 60; i++) accents += "\xC3\xA9";  // 120 bytes of two-byte characters
  EXPECT_EQ(LoadSave_SaveFolder(("a" + accents).c_str()), "/data/a" + accents.substr(0, 98) + "/");
  setenv("XDG_DATA_HOME", "relative", 1);  // not absolute: ignored
  setenv("HOME", "/home/u", 1);
  EXPECT_EQ(LoadSave_SaveFolder("g"), "/home/u/.local/share/g/");
  if (old) setenv("XDG_DATA_HOME", keep.c_str(), 1);
  else unsetenv("XDG_DATA_HOME");
}
}  // namespace
