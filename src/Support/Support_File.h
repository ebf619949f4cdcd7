// Files and folders. Paths are UTF-8; "\" and "/" both separate folders.
// Texts returned as char* are new memory-manager blocks the caller frees.
#pragma once
#include <string>

// True for an existing file that is neither a folder nor a device.
bool File_Exists(const char* path);
bool Directory_Exists(const char* path);
// Creates the folder and its missing parents; true when it exists afterwards.
bool Directory_Create(const char* path);

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
