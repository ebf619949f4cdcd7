// Settings kept by games: a registry that lives in memory for the run (keys
// compared ignoring ASCII case; nothing reaches the system) and one INI file
// open at a time.
#include <strings.h>

#include <string>
#include <vector>

#include "Base/Convert.h"
#include "Base/File_Folders.h"
#include "Base/IniFile.h"
#include "Base/Text_Real.h"
#include "Code/Code_Error.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Args.h"
#include "Function/Function_File.h"
#include "IO/LoadSave_Main.h"
#include "Support/Support_File.h"

namespace {
// ---- The registry ----

struct RegistryEntry {
  std::string key;
  std::string value;
};
std::vector<RegistryEntry> g_Registry;  // in order of first writing

RegistryEntry* Registry_Find(const char* key) {
  for (RegistryEntry& e : g_Registry)
    if (strcasecmp(e.key.c_str(), key) == 0) return &e;
  return nullptr;
}

void Registry_Write(const char* key, const std::string& value) {
  RegistryEntry* e = Registry_Find(key);
  if (!e) {
    g_Registry.push_back({key, ""});
    e = &g_Registry.back();
  }
  e->value = value;
}

void F_RegistryWriteString(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  Registry_Write(RValue_Text(arg[0]), RValue_Text(arg[1]));
}

void F_RegistryWriteReal(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  Registry_Write(RValue_Text(arg[0]), Text_Format("%f", RValue_Real(arg[1])));
}

void F_RegistryReadString(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RegistryEntry* e = Registry_Find(RValue_Text(arg[0]));
  RValue_SetString(&Result, e ? e->value.c_str() : "");
}

void F_RegistryReadReal(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RegistryEntry* e = Registry_Find(RValue_Text(arg[0]));
  RValue_SetReal(&Result, e ? Real_FromText(e->value.c_str()) : 0);
}

void F_RegistryExists(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, Registry_Find(RValue_Text(arg[0])) ? 1 : 0);
}

// ---- The INI file ----

IniFile* g_Ini = nullptr;

void Ini_Close() {
  if (!g_Ini) return;
  g_Ini->Write();
  g_Ini->Clear();
  delete g_Ini;
  g_Ini = nullptr;
}

// The name to give the INI file, below the save and game folders as for
// every file built-in (a full path inside them included): spelt as the
// existing file in the save folder, else in the game's folder, spells it
// (case ignored); "" for a name that climbs out of the save folder, which
// reads nothing and is never written.
std::string IniName(const char* name) {
  std::string save = LoadSave_MakeSavePath(name);
  if (save.empty()) return "";
  std::string read = LoadSave_MakeReadPath(name);
  std::string path = read.empty() ? save : read;
  std::string root = File_NativePath(read.empty() || read == save ? File_GetSaveDirectory() : File_GetGameDirectory());
  return path.compare(0, root.size(), root) == 0 ? path.substr(root.size()) : name;
}

void F_IniOpen(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  Ini_Close();
  g_Ini = new IniFile(IniName(RValue_Text(arg[0])).c_str(), true);
}

void F_IniClose(RValue&, CInstance*, CInstance*, int, const RValue*) { Ini_Close(); }

// The open INI file, or none after reporting message.
IniFile* OpenIni(const char* message) {
  if (!g_Ini) Error_Show_Action(message, false);
  return g_Ini;
}
const char kUndefinedRead[] = "Trying to read from undefined INI file";
const char kUndefinedChange[] = "Trying to change undefined INI file";

// The INI file for a call of three arguments whose kinds match, string
// for 's' and real for 'r' ('.' any); none after the report.
IniFile* IniForCall(int argc, const RValue* arg, const char* kinds, const char* wrongTypes) {
  IniFile* ini = OpenIni(kUndefinedRead);
  if (!ini) return nullptr;
  bool ok = argc == 3;
  for (int i = 0; ok && i < 3; ++i)
    if (kinds[i] != '.') ok = RValue_IsString(arg[i]) == (kinds[i] == 's');
  if (!ok) Error_Show_Action(wrongTypes, false);
  return ok ? ini : nullptr;
}

void F_IniReadString(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) {
  IniFile* ini = IniForCall(argc, arg, "sss", "ini_read_string wrong type of arguments");
  if (!ini) return;
  IniKey* key = ini->GetKey(RValue_Text(arg[0]), RValue_Text(arg[1]));
  RValue_SetString(&Result, key ? key->value : RValue_Text(arg[2]));
}

void F_IniReadReal(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) {
  IniFile* ini = IniForCall(argc, arg, "ss.", "ini_read_real wrong type of arguments");
  if (!ini) return;
  IniKey* key = ini->GetKey(RValue_Text(arg[0]), RValue_Text(arg[1]));
  if (key) RValue_SetReal(&Result, Real_FromText(key->value));
  else RValue_SetReal(&Result, RValue_IsString(arg[2]) ? Real_FromText(RValue_Text(arg[2])) : arg[2].val);
}

void F_IniWriteString(RValue&, CInstance*, CInstance*, int argc, const RValue* arg) {
  if (IniFile* ini = IniForCall(argc, arg, "sss", "Wrong argument types for ini_write_string"))
    ini->SetKey(RValue_Text(arg[0]), RValue_Text(arg[1]), RValue_Text(arg[2]));
}

void F_IniWriteReal(RValue&, CInstance*, CInstance*, int argc, const RValue* arg) {
  if (IniFile* ini = IniForCall(argc, arg, "ssr", "Wrong argument types for ini_write_real"))
    ini->SetKey(RValue_Text(arg[0]), RValue_Text(arg[1]), Text_Format("%f", arg[2].val).c_str());
}

void F_IniKeyExists(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (IniFile* ini = OpenIni(kUndefinedRead)) RValue_SetReal(&Result, ini->GetKey(RValue_Text(arg[0]), RValue_Text(arg[1])) ? 1 : 0);
}

void F_IniSectionExists(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (IniFile* ini = OpenIni(kUndefinedRead)) RValue_SetReal(&Result, ini->GetSection(RValue_Text(arg[0])) ? 1 : 0);
}

void F_IniKeyDelete(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (IniFile* ini = OpenIni(kUndefinedChange)) ini->DeleteKey(RValue_Text(arg[0]), RValue_Text(arg[1]));
}

void F_IniSectionDelete(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (IniFile* ini = OpenIni(kUndefinedChange)) ini->DeleteSection(RValue_Text(arg[0]));
}
}  // namespace

void RegistryList_Clear() {
  g_Registry.clear();
  g_Registry.shrink_to_fit();
}

void Function_File_Settings_Register() {
  Function_Add("registry_write_string", F_RegistryWriteString, 2);
  Function_Add("registry_write_real", F_RegistryWriteReal, 2);
  Function_Add("registry_read_string", F_RegistryReadString, 1);
  Function_Add("registry_read_real", F_RegistryReadReal, 1);
  Function_Add("registry_exists", F_RegistryExists, 1);
  Function_Add("registry_write_string_ext", F_Nothing, 3);
  Function_Add("registry_write_real_ext", F_Nothing, 3);
  Function_Add("registry_read_string_ext", F_EmptyText, 2);
  Function_Add("registry_read_real_ext", F_Nothing, 2);
  Function_Add("registry_exists_ext", F_Nothing, 2);
  Function_Add("registry_set_root", F_Nothing, 1);
  Function_Add("ini_open", F_IniOpen, 1);
  Function_Add("ini_close", F_IniClose, 0);
  Function_Add("ini_read_string", F_IniReadString, 3);
  Function_Add("ini_read_real", F_IniReadReal, 3);
  Function_Add("ini_write_string", F_IniWriteString, 3);
  Function_Add("ini_write_real", F_IniWriteReal, 3);
  Function_Add("ini_key_exists", F_IniKeyExists, 2);
  Function_Add("ini_section_exists", F_IniSectionExists, 1);
  Function_Add("ini_key_delete", F_IniKeyDelete, 2);
  Function_Add("ini_section_delete", F_IniSectionDelete, 1);
}
