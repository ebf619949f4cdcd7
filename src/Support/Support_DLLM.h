// The platform half of native calls: shared libraries through dlopen and
// calls of any shape of real and string arguments through libffi.
#pragma once
#include <ffi.h>

#include <string>

#include "Base/RValue.h"
#include "Support/Support_DLL.h"

// A prepared call shape: argument and result kinds fixed at definition.
struct DLLM_Shape {
  ffi_cif cif;
  ffi_type* types[DLL_MAX_ARGUMENTS];
  bool string_result;
};

// The name a ".dll" library has here (".so" in its place); "" for others.
std::string DLLM_NativeName(const std::string& path);
// Loads a library: the path as given (the system's search applies to a bare
// name), then its native name. Null when neither loads.
void* DLLM_LoadLibrary(const char* path);
void DLLM_FreeLibrary(void* module);
void* DLLM_FindFunction(void* module, const char* name);

// Prepares a shape; false when libffi refuses it.
bool DLLM_PrepareShape(DLLM_Shape* shape, int argc, const int* argkinds, int resultkind);
// Calls the function; reals[i] serves a real argument, texts[i] a string one.
// A string result is copied into the result (none for a null pointer).
void DLLM_Invoke(DLLM_Shape* shape, void* function, double* reals, const char** texts, RValue* result);
