#include "Extension/Extension_Main.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "Base/File_Folders.h"
#include "Base/RValue.h"
#include "Code/Code_Constant.h"
#include "Code/Code_Error.h"
#include "Code/Code_Main.h"
#include "DataFile/DataFile_Package.h"
#include "Object/Instance_Class.h"
#include "Script/Script_Main.h"
#include "Support/Support_DLL.h"

namespace {

ExtensionList g_packages;
// Per-id tables, largest id + 1 entries once prepared.
std::vector<int> g_dllHandle;
std::vector<bool> g_isCode;
std::vector<std::unique_ptr<CCode>> g_code;
// Set once the start functions have all run; only then do the end functions
// run (a game that failed to prepare or start finalizes nothing).
bool g_initialized = false;

// Every kept function, packages, files and functions in order.
template <class Visit>
void EachFunction(Visit visit) {
  for (auto& package : g_packages) {
    if (!package) continue;
    for (CExtensionFile& file : package->files)
      for (CExtensionFunction& fn : file.functions) visit(*package, file, fn);
  }
}

const CExtensionFunction* FirstWithId(int id) {
  const CExtensionFunction* found = nullptr;
  EachFunction([&](CExtensionPackage&, CExtensionFile&, CExtensionFunction& fn) {
    if (!found && fn.id == id) found = &fn;
  });
  return found;
}

bool InTables(int id) { return id >= 0 && id < (int)g_dllHandle.size(); }

bool DefineConstants(const CExtensionPackage& package) {
  for (const CExtensionFile& file : package.files)
    for (const CExtensionConstant& c : file.constants) {
      if (Constant_Define(c.name.c_str(), c.value.c_str())) continue;
      std::string text = "Failed to define the constant " + c.name + " of extension package " + package.name + ":\n" +
                         Code_ErrorText;
      Error_Show(text.c_str(), true);
      return false;
    }
  return true;
}

void BindLibraryFunction(const std::string& folder, const CExtensionFile& file, const CExtensionFunction& fn) {
  std::string path = folder + file.file_name;
  int kinds[DLL_MAX_ARGUMENTS] = {};
  for (int i = 0; i < DLL_MAX_ARGUMENTS; ++i) kinds[i] = fn.ArgumentKind(i) == 1 ? DLL_TYPE_STRING : DLL_TYPE_REAL;
  int handle = DLL_Define(path.c_str(), fn.external_name.c_str(), fn.call_kind == 12 ? DLL_CDECL : DLL_STDCALL,
                          fn.argument_count, kinds, fn.return_kind == 1 ? DLL_TYPE_STRING : DLL_TYPE_REAL);
  g_dllHandle[fn.id] = handle;  // -1 when it failed: calls then give the real 0
  g_isCode[fn.id] = false;
}

bool CompileCodeFunction(const CExtensionPackage& package, CExtensionFunction& fn) {
  g_code[fn.id].reset();
  if (fn.code.empty()) return true;
  auto code = std::make_unique<CCode>(fn.code.c_str(), false);
  fn.code.clear();
  fn.code.shrink_to_fit();
  std::string unit = "Extension." + package.name + "." + fn.name;
  if (!code->Compile(unit.c_str())) {
    std::string text = "COMPILATION ERROR in extension package " + package.name + "\n" + Code_ErrorText;
    Error_Show(text.c_str(), true);
    return false;
  }
  g_code[fn.id] = std::move(code);
  g_isCode[fn.id] = true;
  return true;
}

// Runs code-bound function id with the argument slots set to the arguments
// and put back afterwards, whatever happens.
bool RunCode(int id, CInstance* self, CInstance* other, int argc, RValue* args, RValue* result) {
  CodeArgumentSave save;
  Code_Arguments_Save(&save);
  Code_Arguments_Set(argc, args);
  bool ok = Code_Evaluate(self, other, g_code[id].get(), result);
  if (!ok) Code_ErrorText = "In extension function " + Extension_FunctionName(id) + ": \n" + Code_ErrorText;
  Code_Arguments_Restore(&save);
  return ok;
}

// Runs each kept file's initialization or finalization function, with a
// temporary instance as self and other: a script of that name first, else
// the package's own function of that name.
bool RunFileFunctions(bool initialize) {
  const char* missing = initialize ? "Could not locate initialization function %s"
                                   : "Could not locate finalization function %s";
  for (auto& package : g_packages) {
    if (!package) continue;
    for (const CExtensionFile& file : package->files) {
      const std::string& name = initialize ? file.initialize : file.finalize;
      if (name.empty()) continue;
      CInstance temporary(0, 0, 0, 0, false);
      RValue result = {VALUE_REAL, nullptr, 0.0};
      bool ok = true;
      if (int script = Script_Find(name.c_str()); script >= 0) {
        ok = Script_Execute(script, &temporary, &temporary, 0, nullptr, &result);
      } else {
        const CExtensionFunction* found = nullptr;
        for (const CExtensionFile& f : package->files)
          for (const CExtensionFunction& fn : f.functions)
            if (!found && fn.name == name) found = &fn;
        if (!found) {
          char text[64 + 1024];
          std::snprintf(text, sizeof text, missing, name.c_str());
          Error_Show(text, true);
          return false;
        }
        if (InTables(found->id) && g_isCode[found->id]) {
          ok = RunCode(found->id, &temporary, &temporary, 0, nullptr, &result);
        } else if (InTables(found->id)) {
          DLL_Call(g_dllHandle[found->id], 0, nullptr, &result);
        }
      }
      RValue_Free(&result);
      if (!ok) {
        Code_ErrorClear();  // reported here, fatally, and nowhere else
        Error_Show(Code_ErrorText.c_str(), true);
        return false;
      }
    }
  }
  return true;
}

}  // namespace

void Extension_LoadFromChunk(const GamePackage& pkg) {
  g_initialized = false;
  g_packages.clear();
  g_dllHandle.clear();
  g_isCode.clear();
  g_code.clear();
  g_packages.resize(pkg.extensions.size());
  for (size_t i = 0; i < pkg.extensions.size(); ++i) {
    const PackageExtension& pe = pkg.extensions[i];
    if (!pe.exists) continue;
    auto package = std::make_unique<CExtensionPackage>();
    package->folder = pe.folder;
    package->name = pe.name;
    package->files.resize(pe.files.size());
    for (size_t f = 0; f < pe.files.size(); ++f) {
      const PackageExtensionFile& pf = pe.files[f];
      if (!pf.exists) continue;
      CExtensionFile& file = package->files[f];
      file.file_name = pf.file_name;
      file.finalize = pf.finalize;
      file.initialize = pf.initialize;
      file.kind = pf.kind;
      for (const auto& [name, value] : pf.constants) file.constants.push_back({name, value});
      for (const PackageExtensionFunction& pfn : pf.functions) {
        CExtensionFunction fn;
        fn.name = pfn.name;
        fn.id = pfn.id;
        fn.call_kind = pfn.call_kind;
        fn.return_kind = pfn.return_kind;
        fn.external_name = pfn.external_name;
        fn.argument_count = pfn.argument_count;
        for (size_t k = 0; k < pfn.argument_kinds.size() && k < EXTENSION_MAX_ARGUMENTS; ++k)
          fn.argument_kinds[k] = pfn.argument_kinds[k];
        fn.code = pfn.code;
        file.functions.push_back(std::move(fn));
      }
    }
    g_packages[i] = std::move(package);
  }
}

const ExtensionList& Extension_Packages() { return g_packages; }

bool Extension_Prepare() {
  // Packages of the platform's own service folder are dropped; the others'
  // constants are defined.
  for (auto& package : g_packages) {
    if (package && package->folder == "KivoGames") package.reset();
    if (package && !DefineConstants(*package)) return false;
  }
  int largest = 0;
  EachFunction([&](CExtensionPackage&, CExtensionFile&, CExtensionFunction& fn) { largest = std::max(largest, fn.id); });
  g_dllHandle.assign(largest + 1, -1);
  g_isCode.assign(largest + 1, false);
  g_code.clear();
  g_code.resize(largest + 1);

  std::string folder = File_GetGameDirectory();
  for (auto& package : g_packages) {
    if (!package) continue;
    for (CExtensionFile& file : package->files)
      for (CExtensionFunction& fn : file.functions) {
        if (fn.id < 0) continue;  // refused by the package reader; never indexes the tables
        if (file.kind == EXTENSION_KIND_DLL) BindLibraryFunction(folder, file, fn);
        else if (file.kind == EXTENSION_KIND_CODE && !CompileCodeFunction(*package, fn)) return false;
      }
  }
  return true;
}

int Extension_FindFunction(const char* name) {
  int id = -1;
  EachFunction([&](CExtensionPackage&, CExtensionFile&, CExtensionFunction& fn) {
    if (id < 0 && name && fn.name == name) id = fn.id;
  });
  return id;
}

int Extension_FunctionArgCount(int id) {
  const CExtensionFunction* fn = FirstWithId(id);
  return fn ? fn->argument_count : -100;
}

std::string Extension_FunctionName(int id) {
  std::string name;
  EachFunction([&](CExtensionPackage&, CExtensionFile&, CExtensionFunction& fn) {
    if (name.empty() && fn.id == id) name = fn.name;
  });
  return name;
}

bool Extension_IsCWL(int id) { return InTables(id) && g_isCode[id]; }

CCode* Extension_GetCode(int id) { return InTables(id) ? g_code[id].get() : nullptr; }

bool Extension_Call(int id, CInstance* self, CInstance* other, int argc, RValue* args, RValue* result) {
  if (!InTables(id)) {
    Code_ErrorText = "Extension function " + std::to_string(id) + " does not exist";
    return false;
  }
  if (!g_isCode[id]) {
    DLL_Call(g_dllHandle[id], argc, args, result);
    return true;
  }
  if (!g_code[id]) {
    Code_ErrorText = "Extension function " + Extension_FunctionName(id) + " has no code";
    return false;
  }
  return RunCode(id, self, other, argc, args, result);
}

bool Extension_CallDLL(int id, int argc, const RValue* args, RValue* result) {
  if (!InTables(id) || g_isCode[id]) return false;
  DLL_Call(g_dllHandle[id], argc, args, result);
  return true;
}

bool Extension_Initialize() {
  g_initialized = RunFileFunctions(true);
  return g_initialized;
}

bool Extension_Finalize() {
  if (!g_initialized) return true;
  g_initialized = false;
  return RunFileFunctions(false);
}
