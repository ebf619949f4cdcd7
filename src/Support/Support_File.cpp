#include "Support/Support_File.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "Base/RValue.h"

namespace {
bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// Index just behind the last separator (0 when there is none).
size_t NameStart(const char* path) {
  size_t start = 0;
  for (size_t i = 0; path[i]; ++i)
    if (IsSeparator(path[i])) start = i + 1;
  return start;
}
}  // namespace

char* File_ExtractFileName(const char* path) {
  if (!path) path = "";
  return String_Duplicate(path + NameStart(path));
}

char* File_ExtractDirectory(const char* path) {
  if (!path) path = "";
  return String_DuplicateLen(path, static_cast<int64_t>(NameStart(path)));
}

char* File_ExtractDrive(const char* path) {
  if (!path) path = "";
  if (((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) && path[1] == ':')
    return String_DuplicateLen(path, 2);
  // A share: two separators, the server, a separator, the share name.
  if (IsSeparator(path[0]) && IsSeparator(path[1])) {
    size_t i = 2;
    while (path[i] && !IsSeparator(path[i])) ++i;
    if (path[i] && i > 2) {
      ++i;
      while (path[i] && !IsSeparator(path[i])) ++i;
      return String_DuplicateLen(path, static_cast<int64_t>(i));
    }
  }
  return String_Duplicate("");
}

char* File_ExtractExtension(const char* path) {
  if (!path) path = "";
  const char* name = path + NameStart(path);
  const char* dot = std::strrchr(name, '.');
  return String_Duplicate(dot ? dot : "");
}

std::string File_NativePath(const char* path) {
  std::string native = path ? path : "";
  for (char& c : native)
    if (c == '\\') c = '/';
  return native;
}

void CreateFileDirectory(const char* name) {
  if (!name) return;
  const char* cut = std::strrchr(name, '\\');
  if (!cut) cut = std::strrchr(name, '/');
  if (!cut || cut == name) return;
  std::string folder(name, static_cast<size_t>(cut - name));
  Directory_Create(folder.c_str());
}

bool File_ReadWhole(const std::string& path, std::vector<uint8_t>& out) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  out.clear();
  uint8_t block[65536];
  size_t n;
  while ((n = std::fread(block, 1, sizeof block, f)) > 0) out.insert(out.end(), block, block + n);
  int savedErrno = errno;
  bool failed = std::ferror(f) != 0;
  std::fclose(f);
  errno = savedErrno;
  return !failed;
}
