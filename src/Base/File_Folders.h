// The two folders that relative file names resolve against: the save folder
// (written files; read first) and the game's folder (read when the save
// folder lacks the file). Start-up sets both; until then they are empty, and
// a relative name then stands for itself.
#pragma once

// The folder is kept with a trailing "/" (an empty or missing path clears it).
void File_SetSaveDirectory(const char* path);
const char* File_GetSaveDirectory();
void File_SetGameDirectory(const char* path);
const char* File_GetGameDirectory();

// True for a path that does not start at a root ("/", "\", or a drive "X:").
bool File_IsRelative(const char* path);
