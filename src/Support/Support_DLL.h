// Calls into functions of native shared libraries, and starting other
// programs. Everything runs on the game thread, inside the script call.
#pragma once
#include "Base/RValue.h"

constexpr int DLL_MAX_ARGUMENTS = 16;
// A function with more arguments than this takes reals only.
constexpr int DLL_MAX_MIXED_ARGUMENTS = 4;

enum : int {
  DLL_CDECL = 0,
  DLL_STDCALL = 1,  // the same convention as cdecl on this platform
};

enum : int {
  DLL_TYPE_REAL = 0,
  DLL_TYPE_STRING = 1,  // any non-zero kind is a string
};

// Set by the "-ext" option: calls return the real 0 without calling anything
// (definitions still load and resolve).
extern bool g_DLL_NoCalls;

// Loads the library (once per resolved path), resolves the function and
// records its call shape. Returns its handle (0 upwards, never reused) or -1.
int DLL_Define(const char* path, const char* name, int convention, int argc, const int* argkinds, int resultkind);
// Calls a defined function with exactly its argument count; the result is
// always overwritten (the real 0 on any failure).
void DLL_Call(int handle, int argc, const RValue* args, RValue* result);
// Frees the library loaded under that path (the script's text, resolved as a
// definition resolves it); the functions defined over it then return 0.
void DLL_Free(const char* path);

// Opens a file or an address with the desktop's opener; an executable file is
// started with the parameters. True when the request was handed over.
bool Execute_Shell(const char* file, const char* parameters, const char* directory);
// Starts a program (its path taken whole) with the parameter text split as a
// command line, in the directory; with wait set, returns when it has ended.
// True when it was started (and, waiting, has ended).
bool Execute_Program(const char* program, const char* parameters, const char* directory, bool wait);
