#include "DataFile/DataFile_Main.h"

#include <strings.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "Base/Console.h"

namespace {

std::vector<std::unique_ptr<CDataFile>> g_DataFiles;
std::string g_GameFolder, g_TempFolder;

// Game paths may use either separator.
std::string SlashPath(std::string path) {
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

// The folder a file of that export mode goes to; empty for mode 0 or an
// unknown mode.
std::string ExportFolder(const CDataFile& file) {
  switch (file.export_mode) {
    case 1: return g_TempFolder;
    case 2: return g_GameFolder;
    case 3: {
      std::filesystem::path folder(SlashPath(file.export_folder));
      if (folder.is_relative()) folder = std::filesystem::path(g_GameFolder) / folder;
      return folder.string() + "/";
    }
    default: return "";
  }
}

}  // namespace

bool CDataFile::SaveToFile(const std::string& path) {
  std::error_code ec;
  if (!overwrite && std::filesystem::exists(path, ec)) return true;
  std::filesystem::path parent = std::filesystem::path(path).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent, ec);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = data.empty() || std::fwrite(data.data(), 1, data.size(), f) == data.size();
  ok = std::fclose(f) == 0 && ok;
  return ok;
}

void CDataFile::FreeData() {
  data.clear();
  data.shrink_to_fit();
}

bool CDataFile::Export() {
  if (export_mode == 0) return true;
  std::string path = ExportFolder(*this) + SlashPath(name);
  std::error_code ec;
  bool kept = !overwrite && std::filesystem::exists(path, ec);
  if (!SaveToFile(path)) {
    g_Console.Output("Cannot export the included file %s to %s\n", name.c_str(), path.c_str());
    return false;
  }
  // A file that was there before and was kept is not ours to remove later.
  if (!kept) exported_path = path;
  if (free_after_export) FreeData();
  return true;
}

void DataFile_SetFolders(const std::string& gameFolder, const std::string& tempFolder) {
  g_GameFolder = gameFolder;
  g_TempFolder = tempFolder;
}

void DataFile_Init(const GamePackage& pkg) {
  g_DataFiles.clear();
  for (const PackageIncludedFile& src : pkg.included_files) {
    auto file = std::make_unique<CDataFile>();
    file->name = src.name;
    file->data.assign(src.data.begin(), src.data.end());
    file->export_mode = src.export_mode;
    file->export_folder = src.export_folder;
    file->overwrite = src.overwrite;
    file->free_after_export = src.free_after_export;
    file->remove_at_end = src.remove_at_end;
    g_DataFiles.push_back(std::move(file));
  }
}

bool DataFile_ExportAll() {
  bool ok = true;
  for (auto& file : g_DataFiles) ok = file->Export() && ok;
  return ok;
}

void DataFile_RemoveExported() {
  for (auto& file : g_DataFiles) {
    if (!file->remove_at_end || file->exported_path.empty()) continue;
    std::remove(file->exported_path.c_str());
    file->exported_path.clear();
  }
}

void DataFile_FreeAll() { g_DataFiles.clear(); }

int DataFile_FindByName(const char* name) {
  if (!name) return -1;
  for (size_t i = 0; i < g_DataFiles.size(); i++)
    if (strcasecmp(g_DataFiles[i]->name.c_str(), name) == 0) return (int)i;
  return -1;
}

CDataFile* DataFile_Get(int index) {
  if (index < 0 || (size_t)index >= g_DataFiles.size()) return nullptr;
  return g_DataFiles[index].get();
}

int DataFile_Count() { return (int)g_DataFiles.size(); }
