#include "Support/Support_DLLM.h"

#include <dlfcn.h>
#include <spawn.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "Support/Support_Timing.h"
#include "Support/Support_File.h"

extern char** environ;

// ---------------------------------------------------------------- libraries

namespace {

// dlopen searches only the system's folders for a bare name; a library lying
// in the current folder is found there first, as the games expect.
void* DLLM_Open(const std::string& path) {
  if (path.find('/') == std::string::npos && access(path.c_str(), F_OK) == 0)
    return dlopen(("./" + path).c_str(), RTLD_NOW | RTLD_LOCAL);
  return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

}  // namespace

std::string DLLM_NativeName(const std::string& path) {
  size_t n = path.size();
  if (n < 4 || strcasecmp(path.c_str() + n - 4, ".dll") != 0) return "";
  return path.substr(0, n - 4) + ".so";
}

void* DLLM_LoadLibrary(const char* path) {
  void* module = DLLM_Open(path);
  std::string native = DLLM_NativeName(path);
  if (!module && !native.empty()) module = DLLM_Open(native);
  return module;
}

void DLLM_FreeLibrary(void* module) {
  if (module) dlclose(module);
}

void* DLLM_FindFunction(void* module, const char* name) { return dlsym(module, name); }

// -------------------------------------------------------------------- calls

bool DLLM_PrepareShape(DLLM_Shape* shape, int argc, const int* argkinds, int resultkind) {
  for (int i = 0; i < argc; ++i) shape->types[i] = argkinds[i] == DLL_TYPE_REAL ? &ffi_type_double : &ffi_type_pointer;
  shape->string_result = resultkind != DLL_TYPE_REAL;
  ffi_type* rtype = shape->string_result ? &ffi_type_pointer : &ffi_type_double;
  return ffi_prep_cif(&shape->cif, FFI_DEFAULT_ABI, (unsigned)argc, rtype, shape->types) == FFI_OK;
}

void DLLM_Invoke(DLLM_Shape* shape, void* function, double* reals, const char** texts, RValue* result) {
  void* values[DLL_MAX_ARGUMENTS];
  for (unsigned i = 0; i < shape->cif.nargs; ++i)
    values[i] = shape->types[i] == &ffi_type_double ? (void*)&reals[i] : (void*)&texts[i];
  // libffi widens small results to a full register; this holds either kind.
  union {
    double real;
    const char* text;
    ffi_arg word;
  } out;
  out.word = 0;
  ffi_call(&shape->cif, FFI_FN(function), &out, values);
  if (!shape->string_result) {
    result->val = out.real;
  } else if (out.text) {
    RValue_SetString(result, out.text);
  } else {
    result->kind = VALUE_STRING;  // a string without text
    result->str = nullptr;
  }
}

// ----------------------------------------------------------------- programs

namespace {

// Children started without waiting, reaped once they have ended.
std::vector<pid_t> g_children;

void Execute_ReapChildren() {
  for (size_t i = 0; i < g_children.size();) {
    if (waitpid(g_children[i], nullptr, WNOHANG) != 0) {
      g_children[i] = g_children.back();
      g_children.pop_back();
    } else {
      ++i;
    }
  }
}

// Splits a parameter text as a Windows command line is split: blanks and tabs
// separate; double quotes group; 2n backslashes before a quote give n and the
// quote groups, 2n+1 give n and a literal quote; "" inside quotes is a quote.
std::vector<std::string> Execute_SplitParameters(const char* text) {
  std::vector<std::string> out;
  const char* p = text ? text : "";
  for (;;) {
    while (*p == ' ' || *p == '\t') ++p;
    if (!*p) break;
    std::string arg;
    bool quoted = false;
    while (*p && (quoted || (*p != ' ' && *p != '\t'))) {
      if (*p == '\\') {
        size_t n = 0;
        while (*p == '\\') ++n, ++p;
        if (*p == '"') {
          arg.append(n / 2, '\\');
          if (n % 2) arg += '"', ++p;
        } else {
          arg.append(n, '\\');
        }
      } else if (*p == '"') {
        if (quoted && p[1] == '"') {
          arg += '"';
          p += 2;
        } else {
          quoted = !quoted;
          ++p;
        }
      } else {
        arg += *p++;
      }
    }
    out.push_back(std::move(arg));
  }
  return out;
}

// Starts argv[0] (searched on PATH when it holds no '/') in the directory.
bool Execute_Spawn(const std::vector<std::string>& args, const char* directory, pid_t* pid) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  std::string dir = File_NativePath(directory);
  if (!dir.empty()) posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
  bool search = args[0].find('/') == std::string::npos;
  int err = search ? posix_spawnp(pid, argv[0], &actions, nullptr, argv.data(), environ)
                   : posix_spawn(pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return err == 0;
}

}  // namespace

bool Execute_Shell(const char* file, const char* parameters, const char* directory) {
  Execute_ReapChildren();
  if (!file || !*file) return false;
  std::vector<std::string> args;
  std::string path = File_NativePath(file);
  struct stat st;
  if (stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0) {
    // An executable is run with the parameters; a path without a '/' names a
    // file here, not a program on PATH.
    args.push_back(path.find('/') == std::string::npos ? "./" + path : path);
    for (std::string& a : Execute_SplitParameters(parameters)) args.push_back(std::move(a));
  } else {
    args = {"xdg-open", file};  // an address or a document, as given
  }
  pid_t pid;
  if (!Execute_Spawn(args, directory, &pid)) return false;
  g_children.push_back(pid);
  return true;
}

bool Execute_Program(const char* program, const char* parameters, const char* directory, bool wait) {
  Execute_ReapChildren();
  if (!program) return false;
  std::vector<std::string> args{File_NativePath(program)};
  for (std::string& a : Execute_SplitParameters(parameters)) args.push_back(std::move(a));
  pid_t pid;
  if (!Execute_Spawn(args, directory, &pid)) return false;
  if (!wait) {
    g_children.push_back(pid);
    return true;
  }
  const timespec pause{0, 50 * 1000 * 1000};
  for (;;) {
    pid_t done = waitpid(pid, nullptr, WNOHANG);
    if (done == pid || (done < 0 && errno != EINTR)) return true;
    Timing_PumpMessages();  // the window keeps answering
    nanosleep(&pause, nullptr);
  }
}
