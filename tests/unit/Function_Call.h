// Test helper: calls a built-in through the function table
// as the interpreter does (result preset to the real 0, arguments owned and
// freed by the caller) and checks that the call leaks no memory blocks.
#pragma once
#include <cstring>
#include <initializer_list>
#include <string>

#include <gtest/gtest.h>

#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Init.h"
#include "Platform/MemoryManager.h"

void Function_Math_Init();

class CInstance;

struct TestArg {
  TestArg(double d) : isString(false), real(d), text(nullptr) {}
  TestArg(int i) : TestArg(double(i)) {}
  TestArg(uint32_t u) : TestArg(double(u)) {}
  TestArg(const char* s) : isString(true), real(0), text(s) {}
  bool isString;
  double real;
  const char* text;
};

struct TestResult {
  uint32_t kind;
  bool hasBlock;  // the result owns a text block
  std::string text;
  double real;
};

// The registration list adds the maths built-ins once it lists them; until
// then the tests register them themselves.
inline void Math_EnsureRegistered() {
  InitCWLFunctions();
  if (Function_FindBuiltIn("string_count") < 0) Function_Math_Init();
}

// Calls a registered built-in as the interpreter does, with self as the
// calling instance; false (and a failure) when the name is not registered.
// The result is the caller's to free.
inline bool CallBuiltIn(CInstance* self, const char* name, std::initializer_list<TestArg> args, RValue* result) {
  *result = {VALUE_REAL, nullptr, 0.0};
  const RFunction* f = Function_Get(Function_FindBuiltIn(name));
  if (!f) {
    ADD_FAILURE() << name << " is not registered";
    return false;
  }
  int argc = static_cast<int>(args.size());
  if (f->argnumb >= 0 && f->argnumb != argc) ADD_FAILURE() << name << " takes " << f->argnumb << " arguments";
  RValue argv[MAX_ARGUMENTS] = {};
  int i = 0;
  for (const TestArg& a : args) {
    if (a.isString) RValue_SetString(&argv[i], a.text);
    else RValue_SetReal(&argv[i], a.real);
    ++i;
  }
  f->routine(*result, self, nullptr, argc, argv);
  for (RValue& v : argv) RValue_Free(&v);
  return true;
}

inline TestResult Call(const char* name, std::initializer_list<TestArg> args) {
  Math_EnsureRegistered();
  int64_t before = MemoryManager::LiveBlocks();
  TestResult out{VALUE_REAL, false, "", 0.0};
  RValue result;
  if (!CallBuiltIn(nullptr, name, args, &result)) return out;
  out.kind = result.kind;
  out.hasBlock = result.str != nullptr;
  out.text = RValue_Text(result);
  out.real = result.val;
  RValue_Free(&result);
  EXPECT_EQ(MemoryManager::LiveBlocks(), before) << name << " leaked";
  return out;
}

// The real result of a call (and a failure when it is not a real).
inline double CallReal(const char* name, std::initializer_list<TestArg> args) {
  TestResult r = Call(name, args);
  EXPECT_EQ(r.kind, VALUE_REAL) << name;
  return r.real;
}

// The text result of a call (and a failure when it is not a string).
inline std::string CallText(const char* name, std::initializer_list<TestArg> args) {
  TestResult r = Call(name, args);
  EXPECT_EQ(r.kind, VALUE_STRING) << name;
  return r.text;
}
