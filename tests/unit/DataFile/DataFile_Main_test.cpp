// Included files: lookup, export by each mode, and removal at game end.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "DataFile/DataFile_Main.h"

namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class DataFileMain : public testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/datafile_test_XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    m_dir = name;
    fs::create_directories(m_dir / "game");
    fs::create_directories(m_dir / "temp");
    DataFile_SetFolders((m_dir / "game").string() + "/", (m_dir / "temp").string() + "/");
  }
  void TearDown() override {
    DataFile_FreeAll();
    fs::remove_all(m_dir);
  }

  // A package whose included files hold their own names as data.
  void Init(std::vector<PackageIncludedFile> files) {
    GamePackage p;
    for (auto& f : files) f.data = PackageBytes((const uint8_t*)f.name.data(), f.name.size());
    p.included_files = files;
    DataFile_Init(p);
  }

  fs::path m_dir;
};

PackageIncludedFile File(const char* name, int mode, const char* folder = "") {
  PackageIncludedFile f;
  f.name = name;
  f.export_mode = mode;
  f.export_folder = folder;
  return f;
}

TEST_F(DataFileMain, FilesAreFoundByNameAndIndex) {
  Init({File("a.txt", 0), File("Level.DAT", 0)});
  EXPECT_EQ(DataFile_Count(), 2);
  EXPECT_EQ(DataFile_FindByName("level.dat"), 1);
  EXPECT_EQ(DataFile_FindByName("b.txt"), -1);
  EXPECT_EQ(DataFile_FindByName(nullptr), -1);
  ASSERT_NE(DataFile_Get(0), nullptr);
  EXPECT_EQ(DataFile_Get(0)->name, "a.txt");
  EXPECT_EQ(DataFile_Get(2), nullptr);
  EXPECT_EQ(DataFile_Get(-1), nullptr);
}

TEST_F(DataFileMain, EachExportModeWritesToItsFolder) {
  Init({File("none.txt", 0), File("temp.txt", 1), File("game.txt", 2), File("own.txt", 3, "sub\\deeper")});
  EXPECT_TRUE(DataFile_ExportAll());
  EXPECT_FALSE(fs::exists(m_dir / "game" / "none.txt"));
  EXPECT_EQ(Slurp(m_dir / "temp" / "temp.txt"), "temp.txt");
  EXPECT_EQ(Slurp(m_dir / "game" / "game.txt"), "game.txt");
  EXPECT_EQ(Slurp(m_dir / "game" / "sub" / "deeper" / "own.txt"), "own.txt");
  // Data is dropped once exported (the default), kept for a file never exported.
  EXPECT_TRUE(DataFile_Get(1)->data.empty());
  EXPECT_FALSE(DataFile_Get(0)->data.empty());

  DataFile_RemoveExported();
  EXPECT_FALSE(fs::exists(m_dir / "temp" / "temp.txt"));
  EXPECT_FALSE(fs::exists(m_dir / "game" / "sub" / "deeper" / "own.txt"));
}

TEST_F(DataFileMain, AFileKeptInPlaceIsNotRemovedAtGameEnd) {
  std::ofstream(m_dir / "game" / "save.txt") << "player's own";
  PackageIncludedFile kept = File("save.txt", 2);
  PackageIncludedFile replaced = File("other.txt", 2);
  replaced.overwrite = true;
  std::ofstream(m_dir / "game" / "other.txt") << "old";
  Init({kept, replaced});
  EXPECT_TRUE(DataFile_ExportAll());
  EXPECT_EQ(Slurp(m_dir / "game" / "save.txt"), "player's own");
  EXPECT_EQ(Slurp(m_dir / "game" / "other.txt"), "other.txt");
  DataFile_RemoveExported();
  // The file that was there before the game is not the game's to delete.
  EXPECT_TRUE(fs::exists(m_dir / "game" / "save.txt"));
  EXPECT_FALSE(fs::exists(m_dir / "game" / "other.txt"));
}

TEST_F(DataFileMain, SaveToFileHonoursOverwriteAndReportsFailure) {
  Init({File("x.txt", 0)});
  CDataFile* f = DataFile_Get(0);
  fs::path target = m_dir / "out" / "x.txt";
  EXPECT_TRUE(f->SaveToFile(target.string()));
  EXPECT_EQ(Slurp(target), "x.txt");
  f->data = {'n', 'e', 'w'};
  EXPECT_TRUE(f->SaveToFile(target.string()));
  EXPECT_EQ(Slurp(target), "x.txt");
  f->overwrite = true;
  EXPECT_TRUE(f->SaveToFile(target.string()));
  EXPECT_EQ(Slurp(target), "new");
  EXPECT_FALSE(f->SaveToFile((m_dir / "out" / "x.txt" / "inside").string()));
  f->FreeData();
  EXPECT_TRUE(f->data.empty());
}

}  // namespace
