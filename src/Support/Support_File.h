// Files and folders. Paths are UTF-8; "\" and "/" both separate folders.
// Texts returned as char* are new memory-manager blocks the caller frees.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// True for an existing file that is neither a folder nor a device.
bool File_Exists(const char* path);
bool Directory_Exists(const char* path);
// Creates the folder and its missing parents; true when it exists afterwards.
bool Directory_Create(const char* path);

// Writes the whole file anew, making its folder when missing. The bytes go to
// a file beside it that then takes its place, so a write that fails halfway
// (a full disk, the program stopped) leaves the old file as it was.
bool File_WriteWhole(const char* path, const void* data, size_t size);
// Reads the whole file at the path as given (no native path made) into out;
// false (errno set) when it cannot be opened or read.
bool File_ReadWhole(const std::string& path, std::vector<uint8_t>& out);

// The process's current folder (no trailing separator).
char* File_GetCurrentDirectory();
// The folder of the running program, with a trailing "/".
char* File_GetProgramDirectory();

// The part after the last separator.
char* File_ExtractFileName(const char* path);
// The part up to and including the last separator ("" when there is none).
char* File_ExtractDirectory(const char* path);
// The drive ("C:") or share ("\\server\share") the path starts with, else "".
char* File_ExtractDrive(const char* path);
// The extension with its point, from the last "." of the file name; "" when none.
char* File_ExtractExtension(const char* path);

// The path as the system takes it: every "\" turned into "/".
std::string File_NativePath(const char* path);

// The root (a folder with a trailing "/", or "" for the current folder)
// joined with a native relative name (an absolute one when the root is ""),
// where each part of the name that does not exist as spelled takes the
// spelling of the entry of its folder whose name matches ignoring ASCII case
// (the first in byte order when several do). Parts with no match keep the
// spelling given, so a new file is made as the game names it.
std::string File_MatchCase(const std::string& root, const std::string& name);

// Creates the folder that holds the named file (the text up to its last "\",
// else its last "/") with its missing parents; a name without a separator
// does nothing.
void CreateFileDirectory(const char* name);
