// Binary files (ids 1 to 31) and the registration of every file built-in.
// A file opened for reading (mode 0) is read whole into memory; writing
// modes keep a stream on the save-folder file.
#include "Function/Function_File.h"

#include <cstdio>
#include <string>

#include "Base/Console.h"
#include "Base/Convert.h"
#include "Code/Code_Error.h"
#include "Code/Code_BuiltinTable.h"
#include "IO/LoadSave_Main.h"
#include "Platform/MemoryManager.h"
#include "Support/Support_File.h"

namespace {
constexpr int kBinaryFiles = 32;  // ids 1 to 31; record 0 is never used

enum BinaryMode { BIN_READ = 0, BIN_WRITE = 1, BIN_READ_WRITE = 2 };

struct BinaryFile {
  bool open = false;
  int mode = BIN_READ;
  std::string name;   // the full path of the file
  std::string given;  // the name the script gave (rewrite takes its save path)
  LoadSaveFile* buffer = nullptr;  // mode 0
  FILE* stream = nullptr;          // modes 1 and 2
  bool lastWrite = false;          // the stream's last transfer was a write
  // A stream cannot stand before its start: a seek there is kept here (a
  // negative position), and reads and writes only step it towards 0.
  int64_t before = 0;
};

BinaryFile g_Binary[kBinaryFiles];

void CloseHandle(BinaryFile& f) {
  if (f.buffer) LoadSave_fclose(f.buffer);
  if (f.stream) std::fclose(f.stream);
  f.buffer = nullptr;
  f.stream = nullptr;
  f.before = 0;
  f.lastWrite = false;
}

// The open record of an id argument, or none after reporting message.
BinaryFile* OpenRecord(const RValue& id, const char* message) {
  int i = RValue_RoundInt(id);
  if (i >= 1 && i < kBinaryFiles && g_Binary[i].open) return &g_Binary[i];
  Error_Show_Action(message, false);
  return nullptr;
}
BinaryFile* OpenRecord(const RValue& id) { return OpenRecord(id, "File is not opened."); }

// A stream may switch between reading and writing only across a seek.
void Turn(BinaryFile& f, bool write) {
  if (f.lastWrite != write) std::fseek(f.stream, 0, SEEK_CUR);
  f.lastWrite = write;
}

// Steps a position that lies before the start one byte on; true when it did.
bool StepBefore(BinaryFile& f) {
  if (f.before >= 0) return false;
  if (++f.before == 0) std::fseek(f.stream, 0, SEEK_SET);
  return true;
}

FILE* OpenStream(const std::string& path, const char* mode) {
  if (path.empty()) return nullptr;
  CreateFileDirectory(path.c_str());
  return std::fopen(path.c_str(), mode);
}

// Opens the record's file in the mode; false when it cannot be opened.
// Writing modes use the save-folder file only: reading and writing a file of
// the game's folder starts from a copy of it in the save folder.
bool OpenInMode(BinaryFile& f, const char* name, int mode) {
  if (mode == BIN_READ) {
    f.name = LoadSave_MakeReadPath(name);
    if (f.name.empty()) f.name = LoadSave_MakeSavePath(name);
    f.buffer = f.name.empty() ? nullptr : LoadSave_fopen(f.name.c_str(), "rb");
    return f.buffer != nullptr;
  }
  f.name = LoadSave_MakeSavePath(name);
  if (mode == BIN_WRITE) {
    f.stream = OpenStream(f.name, "wb");
    return f.stream != nullptr;
  }
  if (!f.name.empty() && !LoadSave_SaveFileExists(name) && LoadSave_BundleFileExists(name)) {
    int64_t length;
    uint8_t* data = LoadSave_ReadBundleFile(name, &length);
    if (data) LoadSave_WriteFile(name, data, length);
    MEM_FREE(data);
  }
  f.stream = OpenStream(f.name, File_Exists(f.name.c_str()) ? "r+b" : "w+b");
  return f.stream != nullptr;
}

// file_bin_open(name, mode): the lowest free id, or -1.
void F_FileBinOpen(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, -1);
  int id = 1;
  while (id < kBinaryFiles && g_Binary[id].open) ++id;
  if (id == kBinaryFiles) {
    Error_Show_Action("Cannot open another file (maximum exceeded).", false);
    return;
  }
  BinaryFile& f = g_Binary[id];
  CloseHandle(f);
  const char* name = RValue_Text(arg[0]);
  int mode = RValue_RoundInt(arg[1]);
  if (mode != BIN_READ && mode != BIN_WRITE) mode = BIN_READ_WRITE;
  f.given = name;
  if (!OpenInMode(f, name, mode)) {
    CloseHandle(f);
    Console_Printf("Error opening binary file %s\n", name);
    return;
  }
  f.mode = mode;
  f.open = true;
  RValue_SetReal(&Result, id);
}

// Sends what other records hold unwritten for the file at path to it, so that
// it cannot land on the file after a rewrite has emptied it.
void FlushOthers(const BinaryFile& self, const std::string& path) {
  for (BinaryFile& f : g_Binary)
    if (&f != &self && f.open && f.stream && f.name == path) std::fflush(f.stream);
}

// file_bin_rewrite(id): the record becomes a writing one on the save-folder
// file of the name it was opened with, emptied and written from its start
// (a file of the game's folder is never changed).
void F_FileBinRewrite(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  BinaryFile* f = OpenRecord(arg[0], "Trying to rewrite unopened file.");
  if (!f) return;
  CloseHandle(*f);
  FlushOthers(*f, LoadSave_MakeSavePath(f->given.c_str()));
  f->mode = BIN_WRITE;
  if (!OpenInMode(*f, f->given.c_str(), BIN_WRITE)) {
    CloseHandle(*f);
    f->open = false;
    Console_Printf("Error opening binary file %s\n", f->given.c_str());
  }
}

void F_FileBinClose(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  BinaryFile* f = OpenRecord(arg[0], "Trying to close unopened file.");
  if (!f) return;
  CloseHandle(*f);
  f->name.clear();
  f->open = false;
}

int64_t Position(const BinaryFile& f) {
  if (f.buffer) return LoadSave_ftell(f.buffer);
  return f.before < 0 ? f.before : static_cast<int64_t>(std::ftell(f.stream));
}

void F_FileBinPosition(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (BinaryFile* f = OpenRecord(arg[0])) RValue_SetReal(&Result, static_cast<double>(Position(*f)));
}

void F_FileBinSize(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  BinaryFile* f = OpenRecord(arg[0]);
  if (!f) return;
  if (f->buffer) {
    RValue_SetReal(&Result, static_cast<double>(f->buffer->size));
    return;
  }
  long at = std::ftell(f->stream);
  std::fseek(f->stream, 0, SEEK_END);
  RValue_SetReal(&Result, static_cast<double>(std::ftell(f->stream)));
  std::fseek(f->stream, at, SEEK_SET);
}

void F_FileBinSeek(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  BinaryFile* f = OpenRecord(arg[0]);
  if (!f) return;
  int64_t to = Convert_RoundInt64(RValue_Real(arg[1]));
  if (f->buffer) {
    LoadSave_fseek(f->buffer, to, SEEK_SET);
    return;
  }
  f->before = to < 0 ? to : 0;
  std::fseek(f->stream, to < 0 ? 0 : static_cast<long>(to), SEEK_SET);
}

void F_FileBinReadByte(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  BinaryFile* f = OpenRecord(arg[0]);
  if (!f) return;
  int c = -1;
  if (f->buffer) {
    c = LoadSave_fgetc(f->buffer);
  } else if (f->mode == BIN_READ_WRITE && !StepBefore(*f)) {
    Turn(*f, false);
    c = std::fgetc(f->stream);
  }
  if (c < 0) {
    Error_Show_Action("Error reading byte.", false);
    c = 0;
  }
  RValue_SetReal(&Result, c);
}

void F_FileBinWriteByte(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  BinaryFile* f = OpenRecord(arg[0]);
  if (!f || !f->stream || StepBefore(*f)) return;
  Turn(*f, true);
  std::fputc(RValue_RoundInt(arg[1]) & 0xFF, f->stream);
}
}  // namespace

void FileTables_Reset() {
  for (BinaryFile& f : g_Binary) f = BinaryFile();
  FileText_Reset();
}

void FileTables_CloseAll() {
  for (BinaryFile& f : g_Binary) {
    CloseHandle(f);
    f.name.clear();
    f.open = false;
  }
  FileText_FlushAll();
}

void Function_File_Init() {
  FileTables_Reset();
  Function_Add("file_bin_open", F_FileBinOpen, 2);
  Function_Add("file_bin_rewrite", F_FileBinRewrite, 1);
  Function_Add("file_bin_close", F_FileBinClose, 1);
  Function_Add("file_bin_position", F_FileBinPosition, 1);
  Function_Add("file_bin_size", F_FileBinSize, 1);
  Function_Add("file_bin_seek", F_FileBinSeek, 2);
  Function_Add("file_bin_read_byte", F_FileBinReadByte, 1);
  Function_Add("file_bin_write_byte", F_FileBinWriteByte, 2);
  Function_File_Text_Register();
  Function_File_System_Register();
  Function_File_Settings_Register();
  Function_FileM_Register();
  Function_File_Http_Register();
}
