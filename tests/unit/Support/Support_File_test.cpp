#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <sstream>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Base/File_Folders.h"
#include "Platform/MemoryManager.h"
#include "Support/Support_File.h"
#include "Support/Support_Timing.h"

namespace {
std::string Take(char* text) {
  std::string s = text ? text : "<none>";
  MEM_FREE(text);
  return s;
}

std::string MakeTempFolder() {
  char pattern[] = "/tmp/support_fileXXXXXX";
  return mkdtemp(pattern);
}
}  // namespace

TEST(FilePaths, ExtractPartsWithEitherSeparator) {
  EXPECT_EQ(Take(File_ExtractFileName("C:\\games\\data/level.one.ini")), "level.one.ini");
  EXPECT_EQ(Take(File_ExtractDirectory("C:\\games\\data/level.one.ini")), "C:\\games\\data/");
  EXPECT_EQ(Take(File_ExtractExtension("C:\\games\\data/level.one.ini")), ".ini");
  EXPECT_EQ(Take(File_ExtractDrive("C:\\games\\data/level.ini")), "C:");
  EXPECT_EQ(Take(File_ExtractDrive("\\\\server\\share\\x.txt")), "\\\\server\\share");
  EXPECT_EQ(Take(File_ExtractDrive("/home/x")), "");
  EXPECT_EQ(Take(File_ExtractExtension("dir.d/name")), "");  // a point in a folder is not an extension
  EXPECT_EQ(Take(File_ExtractDirectory("name")), "");
  EXPECT_EQ(Take(File_ExtractFileName("dir/")), "");
  EXPECT_EQ(Take(File_ExtractFileName(nullptr)), "");
}

TEST(FilePaths, FoldersKeepATrailingSeparator) {
  File_SetSaveDirectory("/tmp/save");
  EXPECT_STREQ(File_GetSaveDirectory(), "/tmp/save/");
  File_SetSaveDirectory(nullptr);
  EXPECT_STREQ(File_GetSaveDirectory(), "");
  EXPECT_TRUE(File_IsRelative("a\\b"));
  EXPECT_FALSE(File_IsRelative("c:\\b"));
  EXPECT_FALSE(File_IsRelative("\\b"));
}

TEST(Files, ExistsCreateAndFolders) {
  std::string root = MakeTempFolder();
  std::string deep = root + "\\a/b\\c";  // games may use either separator
  EXPECT_FALSE(Directory_Exists(deep.c_str()));
  EXPECT_TRUE(Directory_Create(deep.c_str()));
  EXPECT_TRUE(Directory_Exists((root + "/a/b/c").c_str()));
  EXPECT_TRUE(Directory_Create(deep.c_str()));  // already there
  EXPECT_FALSE(File_Exists(deep.c_str()));       // a folder is not a file
  EXPECT_FALSE(File_Exists("/dev/null"));        // nor is a device

  std::string file = root + "/a/f.txt";
  FILE* f = fopen(file.c_str(), "w");
  fclose(f);
  EXPECT_TRUE(File_Exists((root + "\\a\\f.txt").c_str()));
  EXPECT_FALSE(Directory_Create((file + "/sub").c_str()));  // a file is in the way
  EXPECT_FALSE(File_Exists(nullptr));

  std::string program = Take(File_GetProgramDirectory());
  EXPECT_EQ(program.back(), '/');
  EXPECT_TRUE(Directory_Exists(program.c_str()));
  EXPECT_TRUE(Directory_Exists(Take(File_GetCurrentDirectory()).c_str()));
  std::string cleanup = "rm -rf '" + root + "'";
  EXPECT_EQ(system(cleanup.c_str()), 0);
}

namespace {
std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}
}  // namespace

// Saved games, highscores and INI files are written whole: a write that
// fails halfway must leave the file that was there.
TEST(Files, AWholeWriteThatFailsKeepsTheOldFile) {
  std::string dir = MakeTempFolder();
  std::string path = dir + "/saves\\slot1.sav";
  ASSERT_TRUE(File_WriteWhole(path.c_str(), "first", 5));
  std::string native = File_NativePath(path.c_str());
  EXPECT_EQ(ReadAll(native), "first");
  ASSERT_TRUE(File_WriteWhole(path.c_str(), "second", 6));
  EXPECT_EQ(ReadAll(native), "second");

  // A file size limit makes the next write fail after some bytes.
  std::string big(4096, 'x');
  rlimit old;
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = 100;
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  bool wrote = File_WriteWhole(path.c_str(), big.data(), big.size());
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(wrote);
  EXPECT_EQ(ReadAll(native), "second");
  EXPECT_FALSE(File_Exists((native + ".part").c_str()));

  EXPECT_FALSE(File_WriteWhole((dir + "/saves/slot1.sav/inside").c_str(), "x", 1));
  EXPECT_FALSE(File_WriteWhole("", "x", 1));
  std::remove(native.c_str());
  rmdir((dir + "/saves").c_str());
  rmdir(dir.c_str());
}

TEST(Timing, WaitIsBoundedAndPumpsMessages) {
  static int pumped = 0;
  Timing_SetPumpMessages([] { ++pumped; });
  int64_t start = Timing_Time();
  EXPECT_GE(start, 0);
  Timing_Wait(5000);
  int64_t waited = Timing_Time() - start;
  EXPECT_GE(waited, 5000);
  EXPECT_GT(pumped, 0);  // the last stretch is spent pumping
  Timing_SetPumpMessages(nullptr);
  start = Timing_Time();
  Timing_Wait(-100);
  EXPECT_LT(Timing_Time() - start, 1000);
}
