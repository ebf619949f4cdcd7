// The file system and file names, included files and starting programs.
// Names go through the save and bundle paths (LoadSave_Main), so nothing
// here changes a file outside the save folder.
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "Base/Console.h"
#include "Base/Convert.h"
#include "Code/Code_Error.h"
#include "Code/Code_BuiltinTable.h"
#include "DataFile/DataFile_Main.h"
#include "Function/Function_File.h"
#include "IO/LoadSave_Main.h"
#include "Platform/MemoryManager.h"
#include "Support/Support_DLL.h"
#include "Support/Support_File.h"

namespace {
void F_FileExists(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  const char* name = RValue_Text(arg[0]);
  RValue_SetReal(&Result, LoadSave_SaveFileExists(name) || LoadSave_BundleFileExists(name) ? 1 : 0);
}

void F_FileDelete(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  const char* name = RValue_Text(arg[0]);
  if (LoadSave_SaveFileExists(name)) std::remove(LoadSave_MakeSavePath(name).c_str());
}

// True when both paths name one file on disk.
bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// file_rename(old, new): only a save-folder file, and never onto a name that
// exists (as on Windows; a rename there would replace the other file).
void F_FileRename(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  const char* from = RValue_Text(arg[0]);
  if (!LoadSave_SaveFileExists(from)) return;
  std::string source = LoadSave_MakeSavePath(from);
  std::string target = LoadSave_MakeSavePath(RValue_Text(arg[1]));
  struct stat st;
  if (target.empty() || (lstat(target.c_str(), &st) == 0 && !SameFile(source, target))) return;
  std::rename(source.c_str(), target.c_str());
}

// file_copy(source, target): 0, or -1 when the source is in neither folder
// or the target cannot be written. A file copied onto itself stays as it was.
void F_FileCopy(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  const char* name = RValue_Text(arg[0]);
  std::string source = LoadSave_MakeReadPath(name);
  std::string target = LoadSave_MakeSavePath(RValue_Text(arg[1]));
  RValue_SetReal(&Result, -1);
  LoadSaveFile* in = source.empty() ? nullptr : LoadSave_fopen(source.c_str(), "rb");
  if (!in) {
    Console_Printf("Unable to open source file %s\n", name);
    return;
  }
  bool ok = true;
  if (!SameFile(source, target)) {
    FILE* out = target.empty() ? nullptr : std::fopen(target.c_str(), "wb");
    ok = out && (in->size == 0 || std::fwrite(in->data, 1, static_cast<size_t>(in->size), out) == static_cast<size_t>(in->size));
    if (out) ok = std::fclose(out) == 0 && ok;
  }
  LoadSave_fclose(in);
  if (ok) RValue_SetReal(&Result, 0);
}

void F_DirectoryExists(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  const char* name = RValue_Text(arg[0]);
  std::string save = LoadSave_MakeSavePath(name), bundle = LoadSave_MakeBundlePath(name);
  bool found = (!save.empty() && Directory_Exists(save.c_str())) || (!bundle.empty() && Directory_Exists(bundle.c_str()));
  RValue_SetReal(&Result, found ? 1 : 0);
}

void F_DirectoryCreate(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  std::string path = LoadSave_MakeSavePath(RValue_Text(arg[0]));
  if (!path.empty()) Directory_Create(path.c_str());
}

void F_FileAttributes(RValue&, CInstance*, CInstance*, int, const RValue*) {}

// ---- File names ----

template <char* (*Extract)(const char*)>
void F_FileName(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetStringOwned(&Result, Extract(RValue_Text(arg[0])));
}

void F_FilenameDir(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  char* dir = File_ExtractDirectory(RValue_Text(arg[0]));
  std::string text = dir;
  MemoryManager::Free(dir);
  if (!text.empty() && (text.back() == '/' || text.back() == '\\')) text.pop_back();
  RValue_SetString(&Result, text.c_str());
}

// filename_change_ext(name, ext): the text from the last point of the file
// name on becomes ext as given; a name without a point gets "." and ext.
void F_FilenameChangeExt(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (!RValue_IsString(arg[0]) || !RValue_IsString(arg[1])) {
    RValue_SetString(&Result, "");
    return;
  }
  std::string name = RValue_Text(arg[0]);
  const char* ext = RValue_Text(arg[1]);
  size_t point = name.find_last_of('.');
  size_t folder = name.find_last_of("/\\");
  if (point != std::string::npos && (folder == std::string::npos || point > folder)) {
    name.erase(point);
  } else {
    name += '.';
  }
  RValue_SetString(&Result, (name + ext).c_str());
}

// ---- Included files ----

CDataFile* IncludedFile(const RValue& name, const char* message) {
  CDataFile* file = DataFile_Get(DataFile_FindByName(RValue_Text(name)));
  if (!file) Error_Show_Action(message, false);
  return file;
}

void F_ExportIncludeFile(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CDataFile* f = IncludedFile(arg[0], "Trying to export non-existing file.")) f->Export();
}

void F_ExportIncludeFileLocation(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CDataFile* f = IncludedFile(arg[0], "Trying to export non-existing file.")) f->SaveToFile(File_NativePath(RValue_Text(arg[1])));
}

void F_DiscardIncludeFile(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CDataFile* f = IncludedFile(arg[0], "Trying to discard non-existing file.")) f->FreeData();
}

// ---- Programs ----

std::string CurrentFolder() {
  char* cwd = File_GetCurrentDirectory();
  std::string folder = cwd ? cwd : "";
  MemoryManager::Free(cwd);
  return folder;
}

void Executed(RValue& result, bool started, const char* program) {
  RValue_SetReal(&result, started ? 0 : -1);
  if (!started) Console_Printf("Cannot execute %s\n", program);
}

void F_ExecuteProgram(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  const char* program = RValue_Text(arg[0]);
  Executed(Result, Execute_Program(program, RValue_Text(arg[1]), CurrentFolder().c_str(), RValue_IsTrue(arg[2])), program);
}

void F_ExecuteShell(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  const char* file = RValue_Text(arg[0]);
  Executed(Result, Execute_Shell(file, RValue_Text(arg[1]), CurrentFolder().c_str()), file);
}
}  // namespace

void Function_File_System_Register() {
  Function_Add("file_exists", F_FileExists, 1);
  Function_Add("file_delete", F_FileDelete, 1);
  Function_Add("file_rename", F_FileRename, 2);
  Function_Add("file_copy", F_FileCopy, 2);
  Function_Add("directory_exists", F_DirectoryExists, 1);
  Function_Add("directory_create", F_DirectoryCreate, 1);
  Function_Add("file_attributes", F_FileAttributes, 2);
  Function_Add("filename_name", F_FileName<File_ExtractFileName>, 1);
  Function_Add("filename_path", F_FileName<File_ExtractDirectory>, 1);
  Function_Add("filename_dir", F_FilenameDir, 1);
  Function_Add("filename_drive", F_FileName<File_ExtractDrive>, 1);
  Function_Add("filename_ext", F_FileName<File_ExtractExtension>, 1);
  Function_Add("filename_change_ext", F_FilenameChangeExt, 2);
  Function_Add("export_include_file", F_ExportIncludeFile, 1);
  Function_Add("export_include_file_location", F_ExportIncludeFileLocation, 2);
  Function_Add("discard_include_file", F_DiscardIncludeFile, 1);
  Function_Add("execute_program", F_ExecuteProgram, 3);
  Function_Add("execute_shell", F_ExecuteShell, 2);
}
