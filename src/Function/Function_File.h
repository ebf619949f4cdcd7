// The file built-ins: binary and text files, the older single file, the file
// system, included files, programs, the command line and environment, the
// registry kept in memory, the INI file, JSON and HTTP. Function_File_Init resets the
// file tables and registers them all; each module registers its own.
#pragma once

void Function_File_Init();

// Both file tables emptied (nothing is closed: used before registration).
void FileTables_Reset();
// Every registry entry freed (at the end of the run).
void RegistryList_Clear();
// Every file the scripts left open closed (at the end of the run).
void FileTables_CloseAll();

// The modules' registrations.
void Function_File_Text_Register();
void Function_File_System_Register();
void Function_File_Settings_Register();
void Function_FileM_Register();
void Function_File_Http_Register();  // JSON and HTTP
// The text table's part of the end of the run: what the open text files
// hold is flushed to disk.
void FileText_FlushAll();
void FileText_Reset();
