// The file built-ins at the end of the run.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "Base/File_Folders.h"
#include "Function_Call.h"
#include "Function/Function_File.h"

namespace fs = std::filesystem;

namespace {
class FileBuiltins : public ::testing::Test {
 protected:
  fs::path dir;
  void SetUp() override {
    char pattern[] = "/tmp/filebuiltinsXXXXXX";
    dir = mkdtemp(pattern);
    File_SetSaveDirectory((dir / "save").c_str());
    File_SetGameDirectory((dir / "game").c_str());
  }
  void TearDown() override {
    FileTables_CloseAll();
    File_SetSaveDirectory(nullptr);
    File_SetGameDirectory(nullptr);
    fs::remove_all(dir);
  }
  std::string Contents(const char* name) {
    std::ifstream in(dir / "save" / name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
};
}  // namespace

TEST_F(FileBuiltins, TextStillOpenWhenTheGameEndsIsOnDisk) {
  double id = CallReal("file_text_open_write", {"left/open.txt"});
  ASSERT_GE(id, 1);
  Call("file_text_write_string", {id, "kept"});
  Call("file_text_writeln", {id});
  FileTables_CloseAll();
  EXPECT_EQ(Contents("left/open.txt"), "kept\r\n");
}

TEST_F(FileBuiltins, TheEndOfTheRunClosesEveryBinaryFile) {
  for (int i = 1; i <= 31; ++i) ASSERT_EQ(CallReal("file_bin_open", {"b.bin", 1}), i);
  Call("file_bin_write_byte", {31, 7});
  FileTables_CloseAll();
  EXPECT_EQ(Contents("b.bin"), "\x07");
  RValue id;  // a file open for reading holds its bytes in memory until closed
  ASSERT_TRUE(CallBuiltIn(nullptr, "file_bin_open", {"b.bin", 0}, &id));
  EXPECT_EQ(id.val, 1);
  EXPECT_EQ(CallReal("file_bin_read_byte", {1}), 7);
}

TEST_F(FileBuiltins, RewriteEmptiesWithoutLeavingTheOldHandleOpen) {
  double id = CallReal("file_bin_open", {"r.bin", 1});
  Call("file_bin_write_byte", {id, 1});
  for (int i = 0; i < 200; ++i) Call("file_bin_rewrite", {id});  // would run out of handles if each leaked
  Call("file_bin_write_byte", {id, 2});
  Call("file_bin_close", {id});
  EXPECT_EQ(Contents("r.bin"), std::string("\x02", 1));
  int open = 0;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator("/proc/self/fd"))
    if (fs::read_symlink(e.path(), ec) == dir / "save" / "r.bin") ++open;
  EXPECT_EQ(open, 0);
}
