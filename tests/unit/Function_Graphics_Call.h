// Test helper: calls a drawing built-in through the function table as the
// interpreter does (result preset to the real 0, arguments cleared first and
// freed afterwards), with an optional calling instance, on the headless
// device; and the error text a call reported.
#pragma once
#include <initializer_list>
#include <string>

#include "Code/Code_Error.h"
#include "Code/Function_Main.h"
#include "Graphics_TestDevice.h"

void Function_Graphics_Init();

struct GArg {
  GArg(double d) : isString(false), real(d), text(nullptr) {}
  GArg(int i) : GArg(double(i)) {}
  GArg(uint32_t u) : GArg(double(u)) {}
  GArg(const char* s) : isString(true), real(0), text(s) {}
  bool isString;
  double real;
  const char* text;
};

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
  const RFunction* f = Function_Get(Function_FindBuiltIn(name));
  if (!f) {
    ADD_FAILURE() << name << " is not registered";
    return out;
  }
  int argc = static_cast<int>(args.size());
  if (f->argnumb >= 0 && f->argnumb != argc) ADD_FAILURE() << name << " takes " << f->argnumb << " arguments";
  RValue argv[MAX_ARGUMENTS] = {};
  int i = 0;
  for (const GArg& a : args) {
    if (a.isString) RValue_SetString(&argv[i], a.text);
    else RValue_SetReal(&argv[i], a.real);
    ++i;
  }
  RValue result = {VALUE_REAL, nullptr, 0.0};
  f->routine(result, self, nullptr, argc, argv);
  out.isString = RValue_IsString(result);
  out.real = result.val;
  out.text = RValue_Text(result);
  RValue_Free(&result);
  for (RValue& v : argv) RValue_Free(&v);
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
