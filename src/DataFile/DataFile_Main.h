// The game's included files: the table of CDataFile records made from the
// package's DAFL chunk, their export before the game starts and their
// removal when it ends.
#pragma once
#include <string>
#include <vector>

#include "DataFile/DataFile_Package.h"

class CDataFile {
 public:
  std::string name;                 // file name, no folder
  std::vector<uint8_t> data;        // the contents, until freed
  int export_mode = 0;              // 0 none, 1 temporary folder, 2 game folder, 3 export_folder
  std::string export_folder;
  bool overwrite = false;
  bool free_after_export = true;
  bool remove_at_end = true;
  std::string exported_path;        // where Export wrote it, empty when not written

  // Writes the file by its own export setting; true when nothing had to be
  // written or the write succeeded. Frees the data afterwards when asked to.
  bool Export();
  // Frees the stored data.
  void FreeData();
  // Writes the stored data to path, unless a file exists there and
  // overwriting is off (then true, nothing written). Creates missing folders.
  bool SaveToFile(const std::string& path);
};

// The folders that export modes 1 and 2 write to (each with a trailing
// separator or empty); the game world sets them at start-up.
void DataFile_SetFolders(const std::string& gameFolder, const std::string& tempFolder);
// Fills the table from a loaded package (copies the data), replacing any
// files it held.
void DataFile_Init(const GamePackage& pkg);
// Exports every file whose export mode is not 0 (game preparation). False
// when a write failed; the message is logged.
bool DataFile_ExportAll();
// Deletes the exported files marked for removal (game end).
void DataFile_RemoveExported();
// Empties the table.
void DataFile_FreeAll();
// Index of the included file with that name (compared without regard to
// ASCII case), -1 when there is none.
int DataFile_FindByName(const char* name);
// The included file record, null when the index is out of range.
CDataFile* DataFile_Get(int index);
int DataFile_Count();
