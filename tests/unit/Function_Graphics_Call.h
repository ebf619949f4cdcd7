// Test helper: calls a drawing built-in through the function table as the
// interpreter does (result preset to the real 0, arguments cleared first and
// freed afterwards), with an optional calling instance, on the headless
// device; and the error text a call reported.
#pragma once
#include <initializer_list>
#include <string>

#include "Code/Code_Error.h"
#include "Code/Code_BuiltinTable.h"
#include "Function_Call.h"
#include "Graphics_TestDevice.h"

void Function_Graphics_Init();

using GArg = TestArg;

inline void Graphics_EnsureRegistered() {
  if (Function_FindBuiltIn("draw_sprite") < 0) Function_Graphics_Init();
}

// The result of a call: its real, or its text when it is a string.
struct GResult {
  bool isString = false;
  double real = 0;
  std::string text;
};

inline GResult GCallWith(CInstance* self, const char* name, std::initializer_list<GArg> args) {
  Graphics_EnsureRegistered();
  GResult out;
  RValue result;
  if (!CallBuiltIn(self, name, args, &result)) return out;
  out.isString = RValue_IsString(result);
  out.real = result.val;
  out.text = RValue_Text(result);
  RValue_Free(&result);
  return out;
}

inline double GCall(const char* name, std::initializer_list<GArg> args = {}) {
  return GCallWith(nullptr, name, args).real;
}

// The error a call reported ("" for none).
template <typename F>
std::string ErrorFrom(F&& call) {
  Error_SetOccurred(false);
  call();
  return Error_Occurred() ? std::string(Error_Last()) : std::string();
}
