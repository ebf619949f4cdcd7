#include "Support/Support_DLL.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "IO/LoadSave_Main.h"
#include "Support/Support_DLLM.h"
#include "Support/Support_File.h"

bool g_DLL_NoCalls = false;

namespace {

// One defined external function. Records are never removed while the game
// runs; freeing the library only clears `module`.
struct DLL_FUNCTION {
  std::string path;  // the resolved path, also the library's key
  void* module;
  std::string name;
  void* function;
  int convention;
  int argc;
  int argkinds[DLL_MAX_ARGUMENTS];
  int resultkind;
  DLLM_Shape shape;
};

// Index = handle. Held by pointer: a prepared shape points into its record.
// Emptied at process exit; the libraries stay loaded.
std::vector<std::unique_ptr<DLL_FUNCTION>> g_functions;

// The file of that name in the save folder when it is there, else the one in
// the game's folder (under its own or its native name); a name in neither
// stays as given, for the system's library search.
std::string DLL_ResolvePath(const char* path) {
  std::string p = File_NativePath(path);
  std::string native = DLLM_NativeName(p);
  for (const std::string& name : {p, native})
    if (!name.empty() && LoadSave_SaveFileExists(name.c_str())) return LoadSave_MakeSavePath(name.c_str());
  for (const std::string& name : {p, native})
    if (!name.empty() && LoadSave_BundleFileExists(name.c_str())) return LoadSave_MakeBundlePath(name.c_str());
  return p;
}

// The module of the last record loaded from that path (0 once freed).
void* DLL_FindModule(const std::string& path) {
  for (auto it = g_functions.rbegin(); it != g_functions.rend(); ++it)
    if ((*it)->path == path) return (*it)->module;
  return nullptr;
}

}  // namespace

int DLL_Define(const char* path, const char* name, int convention, int argc, const int* argkinds, int resultkind) {
  if (argc < 0 || argc > DLL_MAX_ARGUMENTS || !name) return -1;
  if (argc > DLL_MAX_MIXED_ARGUMENTS)
    for (int i = 0; i < argc; ++i)
      if (argkinds[i] != DLL_TYPE_REAL) return -1;

  std::string resolved = DLL_ResolvePath(path);
  if (resolved.empty()) return -1;  // dlopen would give the program itself
  void* module = DLL_FindModule(resolved);
  if (!module) module = DLLM_LoadLibrary(resolved.c_str());
  if (!module) return -1;

  void* function = DLLM_FindFunction(module, name);
  if (!function) {
    // The decorated form of a stdcall export: _name@<bytes of the arguments>.
    int bytes = 0;
    for (int i = 0; i < argc; ++i) bytes += argkinds[i] == DLL_TYPE_REAL ? 8 : 4;
    char decorated[512];
    snprintf(decorated, sizeof decorated, "_%s@%d", name, bytes);
    function = DLLM_FindFunction(module, decorated);
  }
  if (!function) return -1;  // the library stays loaded

  auto rec = std::make_unique<DLL_FUNCTION>();
  rec->path = resolved;
  rec->module = module;
  rec->name = name;
  rec->function = function;
  rec->convention = convention;
  rec->argc = argc;
  for (int i = 0; i < DLL_MAX_ARGUMENTS; ++i) rec->argkinds[i] = i < argc ? argkinds[i] : DLL_TYPE_REAL;
  rec->resultkind = resultkind;
  if (!DLLM_PrepareShape(&rec->shape, argc, rec->argkinds, resultkind)) return -1;
  g_functions.push_back(std::move(rec));
  return (int)g_functions.size() - 1;
}

void DLL_Call(int handle, int argc, const RValue* args, RValue* result) {
  RValue_Free(result);
  if (handle < 0 || handle >= (int)g_functions.size()) return;
  DLL_FUNCTION& f = *g_functions[handle];
  if (argc != f.argc || !f.module || g_DLL_NoCalls) return;
  // Each position takes what its declared kind needs: a real position the
  // value's real field, a string position the value's text (the empty text
  // for a real, never a null pointer).
  double reals[DLL_MAX_ARGUMENTS + 1] = {};
  const char* texts[DLL_MAX_ARGUMENTS + 1] = {};
  for (int i = 0; i < argc; ++i) {
    reals[i] = args[i].val;
    texts[i] = RValue_Text(args[i]);
  }
  result->kind = f.resultkind != DLL_TYPE_REAL ? VALUE_STRING : VALUE_REAL;
  DLLM_Invoke(&f.shape, f.function, reals, texts, result);
}

void DLL_Free(const char* path) {
  std::string resolved = DLL_ResolvePath(path);
  void* freed = nullptr;
  for (auto& rec : g_functions) {
    if (rec->path != resolved || !rec->module) continue;
    if (!freed) {
      freed = rec->module;
      DLLM_FreeLibrary(freed);
    }
    rec->module = nullptr;
  }
}
