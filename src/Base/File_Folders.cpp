#include "Base/File_Folders.h"

#include <string>

namespace {
std::string g_SaveDirectory;
std::string g_GameDirectory;

void SetFolder(std::string& folder, const char* path) {
  folder = path ? path : "";
  if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
}
}  // namespace

void File_SetSaveDirectory(const char* path) { SetFolder(g_SaveDirectory, path); }
const char* File_GetSaveDirectory() { return g_SaveDirectory.c_str(); }
void File_SetGameDirectory(const char* path) { SetFolder(g_GameDirectory, path); }
const char* File_GetGameDirectory() { return g_GameDirectory.c_str(); }

bool File_IsRelative(const char* path) {
  if (!path || !*path) return true;
  if (path[0] == '/' || path[0] == '\\') return false;
  return !(path[1] == ':' && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')));
}
