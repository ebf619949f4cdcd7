// Text files: the numbered ones (ids 1 to 31), read whole into memory or
// written through a stream, and the older single current file (record 0),
// named relative to the current folder. Written LFs land as CR LF
// (Support_TextFile), as the Windows build writes them.
#include <cstdio>
#include <string>

#include "Base/Console.h"
#include "Base/Convert.h"
#include "Base/Text_Real.h"
#include "Code/Code_Error.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_File.h"
#include "IO/LoadSave_Main.h"
#include "Support/Support_File.h"
#include "Support/Support_TextFile.h"

namespace {
constexpr int kTextFiles = 32;  // ids 1 to 31; record 0 is the older single file

enum TextState { TEXT_CLOSED = 0, TEXT_READ = 1, TEXT_WRITE = 2 };

struct TextFile {
  int state = TEXT_CLOSED;
  std::string name;
  LoadSaveFile* buffer = nullptr;  // numbered files open for reading
  FILE* stream = nullptr;          // writing, and the older file's reading
};

TextFile g_Text[kTextFiles];

void Close(TextFile& f) {
  if (f.buffer) LoadSave_fclose(f.buffer);
  if (f.stream) std::fclose(f.stream);
  f = TextFile();
}

void GiveText(RValue& result, const std::string& text) { RValue_SetStringLen(&result, text.data(), static_cast<int64_t>(text.size())); }

// ---- The numbered files ----

// The record of an id argument in that state, or none after the report.
TextFile* Numbered(const RValue& id, int state) {
  int i = RValue_RoundInt(id);
  if (i >= 1 && i < kTextFiles && g_Text[i].state == state) return &g_Text[i];
  Error_Show_Action(state == TEXT_READ ? "File is not opened for reading." : "File not opened for writing.", false);
  return nullptr;
}

int FreeId() {
  for (int i = 1; i < kTextFiles; ++i)
    if (g_Text[i].state == TEXT_CLOSED) return i;
  return -1;
}

void F_FileTextOpenRead(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&Result, -1);
  if (!RValue_IsString(arg[0])) {
    Console_Printf("ERROR!!! :: wrong type for filename\n");
    return;
  }
  const char* name = RValue_Text(arg[0]);
  int id = FreeId();
  if (id < 0) return;
  std::string path = LoadSave_MakeReadPath(name);
  if (path.empty()) {
    Console_Printf("ERROR!!! :: Failed to open file: %s\n", name);
    return;
  }
  LoadSaveFile* buffer = LoadSave_fopen(path.c_str(), "rb");
  if (!buffer) {
    Console_Printf("ERROR!!! :: Failed to open file: %s\n", path.c_str());
    return;
  }
  g_Text[id].buffer = buffer;
  g_Text[id].name = path;
  g_Text[id].state = TEXT_READ;
  RValue_SetReal(&Result, id);
}

// Opens the save-folder file of the name for writing ("wb" empties it,
// "ab" appends); the id or -1.
void OpenForWriting(RValue& Result, const RValue& name, const char* mode) {
  RValue_SetReal(&Result, -1);
  int id = FreeId();
  if (id < 0) return;
  std::string path = LoadSave_MakeSavePath(RValue_Text(name));
  if (path.empty()) return;
  CreateFileDirectory(path.c_str());
  FILE* stream = std::fopen(path.c_str(), mode);
  if (!stream) return;
  g_Text[id].stream = stream;
  g_Text[id].name = path;
  g_Text[id].state = TEXT_WRITE;
  RValue_SetReal(&Result, id);
}

void F_FileTextOpenWrite(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) { OpenForWriting(Result, arg[0], "wb"); }
void F_FileTextOpenAppend(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) { OpenForWriting(Result, arg[0], "ab"); }

void F_FileTextClose(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  int i = RValue_RoundInt(arg[0]);
  if (i < 1 || i >= kTextFiles) {
    Error_Show_Action("Trying to close unexisting text file.", false);
    return;
  }
  Close(g_Text[i]);
}

void F_FileTextEof(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (TextFile* f = Numbered(arg[0], TEXT_READ)) RValue_SetReal(&Result, LoadSave_feof(f->buffer) ? 1 : 0);
}

void F_FileTextReadString(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (TextFile* f = Numbered(arg[0], TEXT_READ)) GiveText(Result, LoadSave_ReadLine(f->buffer));
}

void F_FileTextReadln(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (TextFile* f = Numbered(arg[0], TEXT_READ)) GiveText(Result, LoadSave_ReadLineWithEnd(f->buffer));
}

void F_FileTextReadReal(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  TextFile* f = Numbered(arg[0], TEXT_READ);
  if (!f) return;
  double d;
  LoadSave_ReadReal(f->buffer, &d);
  RValue_SetReal(&Result, d);
}

void F_FileTextWriteString(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (TextFile* f = Numbered(arg[0], TEXT_WRITE)) TextFile_Write(f->stream, RValue_Text(arg[1]));
}

void F_FileTextWriteReal(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (TextFile* f = Numbered(arg[0], TEXT_WRITE)) TextFile_Write(f->stream, Text_Format("%g ", RValue_Real(arg[1])));
}

void F_FileTextWriteln(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (TextFile* f = Numbered(arg[0], TEXT_WRITE)) TextFile_Write(f->stream, "\n");
}

// ---- The older single file ----

TextFile& g_Current = g_Text[0];

// Opens the current file anew: the name as given, relative to the current
// folder (an existing entry matching it ignoring case is taken).
void OpenCurrent(const RValue& name, const char* mode, int state) {
  Close(g_Current);
  std::string path = File_MatchCase("", File_NativePath(RValue_Text(name)));
  if (path.empty() || (state == TEXT_READ && !File_Exists(path.c_str()))) return;
  FILE* stream = std::fopen(path.c_str(), mode);
  if (!stream) return;
  g_Current.stream = stream;
  g_Current.name = path;
  g_Current.state = state;
}

void F_FileOpenRead(RValue&, CInstance*, CInstance*, int, const RValue* arg) { OpenCurrent(arg[0], "rb", TEXT_READ); }
void F_FileOpenWrite(RValue&, CInstance*, CInstance*, int, const RValue* arg) { OpenCurrent(arg[0], "w+b", TEXT_WRITE); }
void F_FileOpenAppend(RValue&, CInstance*, CInstance*, int, const RValue* arg) { OpenCurrent(arg[0], "a+b", TEXT_WRITE); }
void F_FileClose(RValue&, CInstance*, CInstance*, int, const RValue*) { Close(g_Current); }

// The current file's stream in that state, or none after the report.
FILE* Current(int state) {
  if (g_Current.state == state) return g_Current.stream;
  Error_Show_Action(state == TEXT_READ ? "File not opened for reading." : "File not opened for writing.", false);
  return nullptr;
}

void F_FileEof(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  if (FILE* f = Current(TEXT_READ)) RValue_SetReal(&Result, std::feof(f) ? 1 : 0);
}

void F_FileReadString(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  if (FILE* f = Current(TEXT_READ)) GiveText(Result, TextFile_ReadLine(f, false));
}

void F_FileReadln(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  if (FILE* f = Current(TEXT_READ)) GiveText(Result, TextFile_ReadLine(f, true));
}

void F_FileReadReal(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  FILE* f = Current(TEXT_READ);
  if (!f) return;
  double d = 0;
  if (std::fscanf(f, "%lf", &d) != 1) d = 0;
  RValue_SetReal(&Result, d);
}

void F_FileWriteString(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (FILE* f = Current(TEXT_WRITE)) TextFile_Write(f, RValue_Text(arg[0]));
}

void F_FileWriteReal(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (FILE* f = Current(TEXT_WRITE)) TextFile_Write(f, Text_Format("%10.4f", RValue_Real(arg[0])));
}

void F_FileWriteln(RValue&, CInstance*, CInstance*, int, const RValue*) {
  if (FILE* f = Current(TEXT_WRITE)) TextFile_Write(f, "\n");
}
}  // namespace

void FileText_Reset() {
  for (TextFile& f : g_Text) f = TextFile();
}

void FileText_FlushAll() {
  for (TextFile& f : g_Text)
    if (f.state == TEXT_WRITE) std::fflush(f.stream);
}

void Function_File_Text_Register() {
  Function_Add("file_text_open_read", F_FileTextOpenRead, 1);
  Function_Add("file_text_open_write", F_FileTextOpenWrite, 1);
  Function_Add("file_text_open_append", F_FileTextOpenAppend, 1);
  Function_Add("file_text_close", F_FileTextClose, 1);
  Function_Add("file_text_eof", F_FileTextEof, 1);
  Function_Add("file_text_read_string", F_FileTextReadString, 1);
  Function_Add("file_text_read_real", F_FileTextReadReal, 1);
  Function_Add("file_text_readln", F_FileTextReadln, 1);
  Function_Add("file_text_write_string", F_FileTextWriteString, 2);
  Function_Add("file_text_write_real", F_FileTextWriteReal, 2);
  Function_Add("file_text_writeln", F_FileTextWriteln, 1);
  Function_Add("file_open_read", F_FileOpenRead, 1);
  Function_Add("file_open_write", F_FileOpenWrite, 1);
  Function_Add("file_open_append", F_FileOpenAppend, 1);
  Function_Add("file_close", F_FileClose, 0);
  Function_Add("file_eof", F_FileEof, 0);
  Function_Add("file_read_string", F_FileReadString, 0);
  Function_Add("file_read_real", F_FileReadReal, 0);
  Function_Add("file_readln", F_FileReadln, 0);
  Function_Add("file_write_string", F_FileWriteString, 1);
  Function_Add("file_write_real", F_FileWriteReal, 1);
  Function_Add("file_writeln", F_FileWriteln, 0);
}
