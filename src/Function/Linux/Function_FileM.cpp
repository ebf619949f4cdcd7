// The platform half of the file built-ins: the file search over the folder
// listing, the command line the runner was started with, and the
// environment.
#include <dirent.h>
#include <strings.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "Base/Convert.h"
#include "Base/String_Helpers.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_File.h"
#include "Run/Run_Main.h"
#include "Support/Support_File.h"

namespace {
// ---- The file search ----

// The names of the open search, in order, and the next one to give.
std::vector<std::string> g_Found;
size_t g_Next = 0;
bool g_SearchOpen = false;

// Whether the name matches the pattern, in which "*" stands for any run of
// characters and "?" for any one character; every other byte, a bracket
// too, stands for itself.
bool MatchesMask(const char* pattern, const char* name) {
  const char* star = nullptr;  // just behind the last "*" met
  const char* resume = nullptr;  // where the name stood when it was met
  auto nextCharacter = [](const char* p) {
    ++p;
    while ((static_cast<unsigned char>(*p) & 0xC0) == 0x80) ++p;
    return p;
  };
  while (*name) {
    if (*pattern == '*') {
      star = ++pattern;
      resume = name;
    } else if (*pattern == '?' || *pattern == *name) {
      name = *pattern == '?' ? nextCharacter(name) : name + 1;
      ++pattern;
    } else if (star) {
      // Let the last "*" take one more character and try again from there.
      pattern = star;
      name = resume = nextCharacter(resume);
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == 0;
}

// Every entry of the mask's folder (files and folders alike) whose name
// matches its pattern ignoring ASCII case ("*.*" matches every name), in
// name order ignoring ASCII case.
std::vector<std::string> Search(const char* mask) {
  std::string native = File_NativePath(mask);
  size_t cut = native.find_last_of('/');
  std::string folder, pattern = native;
  if (cut != std::string::npos) {
    folder = native.substr(0, cut + 1);
    pattern = native.substr(cut + 1);
  }
  pattern = String_LowerAscii(pattern);
  if (pattern == "*.*") pattern = "*";
  std::vector<std::string> found;
  if (pattern.empty()) return found;
  folder = File_MatchCase("", folder);
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return found;
  while (dirent* e = readdir(dir)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    if (MatchesMask(pattern.c_str(), String_LowerAscii(name).c_str())) found.push_back(name);
  }
  closedir(dir);
  std::sort(found.begin(), found.end(), [](const std::string& a, const std::string& b) {
    int order = strcasecmp(a.c_str(), b.c_str());
    return order != 0 ? order < 0 : a < b;
  });
  return found;
}

void GiveNext(RValue& result) {
  RValue_SetString(&result, g_SearchOpen && g_Next < g_Found.size() ? g_Found[g_Next++].c_str() : "");
}

void F_FileFindClose(RValue&, CInstance*, CInstance*, int, const RValue*) {
  g_Found.clear();
  g_Next = 0;
  g_SearchOpen = false;
}

void F_FileFindFirst(RValue& Result, CInstance* self, CInstance* other, int argc, const RValue* arg) {
  F_FileFindClose(Result, self, other, argc, arg);
  g_Found = Search(RValue_Text(arg[0]));
  g_SearchOpen = !g_Found.empty();
  GiveNext(Result);
}

void F_FileFindNext(RValue& Result, CInstance*, CInstance*, int, const RValue*) { GiveNext(Result); }

// ---- The command line and environment ----

void F_ParameterCount(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  RValue_SetReal(&Result, static_cast<double>(Run_Arguments().size()));
}

// parameter_string(n): entry n from 1, the program as started being 1.
void F_ParameterString(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  const std::vector<std::string>& args = Run_Arguments();
  int n = RValue_RoundInt(arg[0]);
  RValue_SetString(&Result, n >= 1 && n <= static_cast<int>(args.size()) ? args[n - 1].c_str() : "");
}

void F_EnvironmentGetVariable(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  const char* value = std::getenv(RValue_Text(arg[0]));
  RValue_SetString(&Result, value ? value : "");
}
}  // namespace

void Function_FileM_Register() {
  Function_Add("file_find_first", F_FileFindFirst, 2);
  Function_Add("file_find_next", F_FileFindNext, 0);
  Function_Add("file_find_close", F_FileFindClose, 0);
  Function_Add("parameter_count", F_ParameterCount, 0);
  Function_Add("parameter_string", F_ParameterString, 1);
  Function_Add("environment_get_variable", F_EnvironmentGetVariable, 1);
}
