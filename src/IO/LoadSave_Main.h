// Whole-file access for the game: files read into memory buffers, and the
// mapping of names onto the game's folder (reading) and the save folder
// (writing).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// A file read whole into memory.
struct LoadSaveFile {
  uint8_t* data;     // memory-manager block (none for an empty file)
  int64_t size;
  int64_t position;  // may lie anywhere; reads take bytes only inside the data
};

// Reads the whole file (the mode is ignored); null when it cannot be read.
LoadSaveFile* LoadSave_fopen(const char* path, const char* mode);
void LoadSave_fclose(LoadSaveFile* f);
bool LoadSave_feof(const LoadSaveFile* f);
// The byte at the position, or -1 outside the data; the position advances.
int LoadSave_fgetc(LoadSaveFile* f);
// Copies at most the bytes left and advances; the number of bytes copied.
size_t LoadSave_fread(void* buffer, size_t size, size_t count, LoadSaveFile* f);
int64_t LoadSave_ftell(const LoadSaveFile* f);
// origin: SEEK_SET, SEEK_CUR, or SEEK_END (position = size - offset).
void LoadSave_fseek(LoadSaveFile* f, int64_t offset, int origin);
// The rest of the line, without its end: the bytes before the next CR or LF,
// the position left on that CR or LF (so a second call gives "").
std::string LoadSave_ReadLine(LoadSaveFile* f);
// The rest of the line with its end: every byte up to and including the next
// LF. Both read the bytes as they are (no line-end translation) and give ""
// at or past the end (the position then steps on by one, as a read does).
std::string LoadSave_ReadLineWithEnd(LoadSaveFile* f);
// Skips white space and reads the longest decimal number there (0 when none).
void LoadSave_ReadReal(LoadSaveFile* f, double* out);

// The full path of a name for reading (the game's folder) or writing (the
// save folder). A relative name, or a full path inside the current folder,
// the save folder or the game's folder, is re-rooted there, its "." and ".."
// parts resolved ("sub/../x" is "x"); a name whose ".." climbs above the
// root gives "". Any other full path gives "" unless a file
// dialog picked it (LoadSave_AllowPath). Below the root, a part of the name
// that does not exist as spelled takes the spelling of an existing entry
// that matches it ignoring ASCII case (File_MatchCase).
std::string LoadSave_MakeBundlePath(const char* name);
std::string LoadSave_MakeSavePath(const char* name);
// The buffer forms: false (and an empty buffer) when the result is "" or
// does not fit.
bool LoadSave_MakeBundlePath(char* buffer, size_t size, const char* name);
bool LoadSave_MakeSavePath(char* buffer, size_t size, const char* name);
// A full path the player picked in an open (reading) or save (writing) dialog.
void LoadSave_AllowPath(const char* path, bool writing);

bool LoadSave_SaveFileExists(const char* name);
// Where a name is read from: the save path when the file is in the save
// folder, else the bundle path when it is in the game's folder, else "".
std::string LoadSave_MakeReadPath(const char* name);
bool LoadSave_BundleFileExists(const char* name);
// A new memory-manager buffer with the whole file; null when absent.
uint8_t* LoadSave_ReadSaveFile(const char* name, int64_t* length);
uint8_t* LoadSave_ReadBundleFile(const char* name, int64_t* length);
// Writes a whole file at the save path, creating its folders.
bool LoadSave_WriteFile(const char* name, const void* buffer, int64_t length);

// The save folder of a game: the data folder ($XDG_DATA_HOME, else
// ~/.local/share), then a folder named after the game. The name becomes one
// plain, visible folder name of at most SAVE_FOLDER_NAME_MAX bytes:
// separators and a lone "." or ".." cannot leave the data folder, a leading
// dot becomes "_", and a blank name is "game".
constexpr size_t SAVE_FOLDER_NAME_MAX = 100;
std::string LoadSave_SaveFolder(const char* game_name);
