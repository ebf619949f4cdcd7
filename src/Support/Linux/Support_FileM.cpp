// Files and folders over POSIX calls.
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <string>

#include "Base/RValue.h"
#include "Support/Support_File.h"

namespace {
bool StatIs(const char* path, mode_t kind) {
  if (!path || !*path) return false;
  struct stat st;
  return stat(File_NativePath(path).c_str(), &st) == 0 && (st.st_mode & S_IFMT) == kind;
}

// The entry of the folder whose name equals part ignoring ASCII case; ""
// when there is none.
std::string FindIgnoringCase(const std::string& folder, const std::string& part) {
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return "";
  std::string found;
  while (dirent* e = readdir(dir)) {
    if (strcasecmp(e->d_name, part.c_str()) != 0) continue;
    if (found.empty() || found.compare(e->d_name) > 0) found = e->d_name;
  }
  closedir(dir);
  return found;
}
}  // namespace

bool File_Exists(const char* path) { return StatIs(path, S_IFREG); }
bool Directory_Exists(const char* path) { return StatIs(path, S_IFDIR); }

bool Directory_Create(const char* path) {
  std::string native = File_NativePath(path);
  while (native.size() > 1 && native.back() == '/') native.pop_back();
  if (native.empty()) return false;
  // Make each missing folder on the way down, then the last one.
  for (size_t i = 1; i <= native.size(); ++i) {
    if (i < native.size() && native[i] != '/') continue;
    std::string part = native.substr(0, i);
    if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
  }
  return Directory_Exists(native.c_str());
}

bool File_WriteWhole(const char* path, const void* data, size_t size) {
  if (!path || !*path) return false;
  std::string native = File_NativePath(path);
  size_t slash = native.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !Directory_Create(native.substr(0, slash).c_str())) return false;
  std::string part = native + ".part";
  FILE* f = std::fopen(part.c_str(), "wb");
  if (!f) return false;
  bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
  ok = std::fflush(f) == 0 && ok;
  ok = fsync(fileno(f)) == 0 && ok;
  ok = std::fclose(f) == 0 && ok;
  if (ok && std::rename(part.c_str(), native.c_str()) == 0) return true;
  std::remove(part.c_str());
  return false;
}

char* File_GetCurrentDirectory() {
  char buffer[PATH_MAX];
  return String_Duplicate(getcwd(buffer, sizeof buffer) ? buffer : "");
}

char* File_GetProgramDirectory() {
  char buffer[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return String_Duplicate("");
  buffer[n] = '\0';
  return File_ExtractDirectory(buffer);
}

std::string File_MatchCase(const std::string& root, const std::string& name) {
  std::string path = root;
  bool folderExists = true;  // once a folder is missing, nothing below it can match
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find('/', start);
    if (end == std::string::npos) end = name.size();
    std::string part = name.substr(start, end - start);
    if (folderExists && !part.empty() && part != "." && part != "..") {
      struct stat st;
      if (lstat((path + part).c_str(), &st) != 0) {
        std::string found = FindIgnoringCase(path, part);
        if (found.empty()) folderExists = false;
        else part = found;
      }
    }
    path += part;
    if (end < name.size()) path += '/';
    start = end + 1;
  }
  return path;
}
