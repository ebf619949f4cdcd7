#include "IO/LoadSave_Main.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "Base/File_Folders.h"
#include "Base/UTF8_Main.h"
#include "Platform/MemoryManager.h"
#include "Support/Support_File.h"

namespace {
std::vector<std::string> g_pickedRead, g_pickedWrite;

uint8_t* ReadWhole(const std::string& path, int64_t* length) {
  *length = 0;
  if (path.empty() || !File_Exists(path.c_str())) return nullptr;
  std::vector<uint8_t> bytes;
  if (!File_ReadWhole(File_NativePath(path.c_str()), bytes)) return nullptr;
  // One byte more than the data, so that an empty file still gives a block.
  auto* data = static_cast<uint8_t*>(MEM_ALLOC(bytes.size() + 1));
  if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
  data[bytes.size()] = 0;
  *length = static_cast<int64_t>(bytes.size());
  return data;
}

// The relative name with its "." and ".." parts resolved as the text reads
// ("a/../b" is "b", whatever "a" is on disk), empty parts dropped; false
// when a ".." climbs above the root.
bool Resolve(const std::string& name, std::string* out) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find_first_of("/\\", start);
    if (end == std::string::npos) end = name.size();
    std::string part = name.substr(start, end - start);
    if (part == "..") {
      if (parts.empty()) return false;
      parts.pop_back();
    } else if (part != "." && !(part.empty() && end < name.size())) {
      parts.push_back(part);  // an empty last part keeps a trailing "/"
    }
    start = end + 1;
  }
  out->clear();
  for (size_t i = 0; i < parts.size(); ++i) *out += (i ? "/" : "") + parts[i];
  return true;
}

// The rest of a full path behind folder (with its trailing "/"), when the
// path lies inside it.
bool Inside(const std::string& path, const std::string& folder, std::string* rest) {
  if (folder.empty() || path.compare(0, folder.size(), folder) != 0) return false;
  *rest = path.substr(folder.size());
  return true;
}

std::string MakePath(const char* root, const char* name, const std::vector<std::string>& picked) {
  if (!name || !*name) return "";
  std::string n = File_NativePath(name);
  std::string rest;
  bool rooted = File_IsRelative(name);
  if (rooted) {
    rest = n;
  } else {
    char* cwd = File_GetCurrentDirectory();
    std::string here = cwd && *cwd ? std::string(cwd) + "/" : "";
    MemoryManager::Free(cwd);
    rooted = Inside(n, here, &rest) || Inside(n, File_NativePath(File_GetSaveDirectory()), &rest) ||
             Inside(n, File_NativePath(File_GetGameDirectory()), &rest);
  }
  if (rooted) return Resolve(rest, &rest) ? File_MatchCase(File_NativePath(root), rest) : "";
  for (const std::string& p : picked)
    if (p == n) return n;  // exactly: on Linux a name in another case is another file
  return "";
}

bool ToBuffer(const std::string& path, char* buffer, size_t size) {
  if (size == 0) return false;
  if (path.empty() || path.size() >= size) {
    buffer[0] = 0;
    return false;
  }
  std::memcpy(buffer, path.c_str(), path.size() + 1);
  return true;
}
}  // namespace

LoadSaveFile* LoadSave_fopen(const char* path, const char* mode) {
  int64_t length;
  uint8_t* data = ReadWhole(path ? path : "", &length);
  if (!data) return nullptr;
  auto* f = static_cast<LoadSaveFile*>(MEM_ALLOC(sizeof(LoadSaveFile)));
  *f = {data, length, 0};
  return f;
}

void LoadSave_fclose(LoadSaveFile* f) {
  if (!f) return;
  MEM_FREE(f->data);
  MEM_FREE(f);
}

bool LoadSave_feof(const LoadSaveFile* f) { return f->position >= f->size; }

int LoadSave_fgetc(LoadSaveFile* f) {
  int64_t at = f->position++;
  return at >= 0 && at < f->size ? f->data[at] : -1;
}

size_t LoadSave_fread(void* buffer, size_t size, size_t count, LoadSaveFile* f) {
  if (f->position < 0 || f->position >= f->size || size == 0) return 0;
  uint64_t want = static_cast<uint64_t>(size) * count;
  if (count != 0 && want / count != size) want = UINT64_MAX;  // overflow: take what is left
  uint64_t left = static_cast<uint64_t>(f->size - f->position);
  size_t n = static_cast<size_t>(want < left ? want : left);
  std::memcpy(buffer, f->data + f->position, n);
  f->position += static_cast<int64_t>(n);
  return n;
}

int64_t LoadSave_ftell(const LoadSaveFile* f) { return f->position; }

void LoadSave_fseek(LoadSaveFile* f, int64_t offset, int origin) {
  if (origin == SEEK_SET) f->position = offset;
  else if (origin == SEEK_CUR) f->position += offset;
  else if (origin == SEEK_END) f->position = f->size - offset;
}

namespace {
// The bytes from the position up to the next line end: the first LF (taken
// into the line) with withEnd, else the first CR or LF (left in place).
// Outside the data the line is empty and the read steps on by one.
std::string LineFrom(LoadSaveFile* f, bool withEnd) {
  if (f->position < 0 || f->position >= f->size) {
    f->position++;
    return "";
  }
  const uint8_t* start = f->data + f->position;
  size_t left = static_cast<size_t>(f->size - f->position), n = 0;
  if (withEnd) {
    const void* lf = std::memchr(start, '\n', left);
    n = lf ? static_cast<size_t>(static_cast<const uint8_t*>(lf) - start) + 1 : left;
  } else {
    while (n < left && start[n] != '\r' && start[n] != '\n') ++n;
  }
  // A line that meets the end leaves the position one past it, where the
  // read that found no byte left it.
  f->position = n == left && (withEnd ? start[n - 1] != '\n' : true) ? f->size + 1 : f->position + static_cast<int64_t>(n);
  return std::string(reinterpret_cast<const char*>(start), n);
}
}  // namespace

std::string LoadSave_ReadLine(LoadSaveFile* f) { return LineFrom(f, false); }
std::string LoadSave_ReadLineWithEnd(LoadSaveFile* f) { return LineFrom(f, true); }

void LoadSave_ReadReal(LoadSaveFile* f, double* out) {
  *out = 0;
  auto in = [f](int64_t at) { return at >= 0 && at < f->size; };
  while (in(f->position) && std::isspace(f->data[f->position])) f->position++;
  // The longest decimal number: sign, digits, fraction, exponent (no hex,
  // no "inf" or "nan").
  int64_t at = f->position, digits = 0;
  auto isDigit = [&](int64_t i) { return in(i) && std::isdigit(f->data[i]); };
  if (in(at) && (f->data[at] == '+' || f->data[at] == '-')) at++;
  while (isDigit(at)) at++, digits++;
  if (in(at) && f->data[at] == '.') {
    at++;
    while (isDigit(at)) at++, digits++;
  }
  if (digits == 0) return;
  if (in(at) && (f->data[at] == 'e' || f->data[at] == 'E')) {
    int64_t e = at + 1;
    if (in(e) && (f->data[e] == '+' || f->data[e] == '-')) e++;
    if (isDigit(e)) {
      while (isDigit(e)) e++;
      at = e;
    }
  }
  std::string number(reinterpret_cast<const char*>(f->data + f->position), static_cast<size_t>(at - f->position));
  *out = std::strtod(number.c_str(), nullptr);
  f->position = at;
}

std::string LoadSave_MakeBundlePath(const char* name) { return MakePath(File_GetGameDirectory(), name, g_pickedRead); }
std::string LoadSave_MakeSavePath(const char* name) { return MakePath(File_GetSaveDirectory(), name, g_pickedWrite); }

bool LoadSave_MakeBundlePath(char* buffer, size_t size, const char* name) {
  return ToBuffer(LoadSave_MakeBundlePath(name), buffer, size);
}
bool LoadSave_MakeSavePath(char* buffer, size_t size, const char* name) {
  return ToBuffer(LoadSave_MakeSavePath(name), buffer, size);
}

void LoadSave_AllowPath(const char* path, bool writing) {
  if (path && *path) (writing ? g_pickedWrite : g_pickedRead).push_back(File_NativePath(path));
}

bool LoadSave_SaveFileExists(const char* name) {
  std::string p = LoadSave_MakeSavePath(name);
  return !p.empty() && File_Exists(p.c_str());
}

std::string LoadSave_MakeReadPath(const char* name) {
  std::string save = LoadSave_MakeSavePath(name);
  if (!save.empty() && File_Exists(save.c_str())) return save;
  std::string bundle = LoadSave_MakeBundlePath(name);
  return !bundle.empty() && File_Exists(bundle.c_str()) ? bundle : "";
}

bool LoadSave_BundleFileExists(const char* name) {
  std::string p = LoadSave_MakeBundlePath(name);
  return !p.empty() && File_Exists(p.c_str());
}

uint8_t* LoadSave_ReadSaveFile(const char* name, int64_t* length) { return ReadWhole(LoadSave_MakeSavePath(name), length); }
uint8_t* LoadSave_ReadBundleFile(const char* name, int64_t* length) {
  return ReadWhole(LoadSave_MakeBundlePath(name), length);
}

bool LoadSave_WriteFile(const char* name, const void* buffer, int64_t length) {
  std::string path = LoadSave_MakeSavePath(name);
  if (path.empty() || length < 0) return false;
  return File_WriteWhole(path.c_str(), buffer, static_cast<size_t>(length));
}

std::string LoadSave_SaveFolder(const char* game_name) {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  std::string base;
  if (xdg && xdg[0] == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home && *home ? home : ".") + "/.local/share";
  }
  std::string name = game_name ? game_name : "";
  for (char& c : name)
    if (c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 32) c = '_';
  // Bounded, cut at a character's start.
  name.resize(UTF8_CutLength(name.c_str(), SAVE_FOLDER_NAME_MAX));
  size_t first = name.find_first_not_of(' '), last = name.find_last_not_of(' ');
  name = first == std::string::npos ? "" : name.substr(first, last - first + 1);
  if (name.find_first_not_of('.') == std::string::npos) name = "game";  // blank, "." or ".."
  if (name[0] == '.') name[0] = '_';                                   // not a hidden folder
  return base + "/" + name + "/";
}
