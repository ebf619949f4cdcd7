// Calls a registered built-in by name as running code would: the result
// preset to the real 0, the arguments owned by the caller.
#pragma once
#include <initializer_list>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Base/RValue.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Init.h"

class CInstance;

struct MiscResult {
  RValue v{};
  MiscResult() = default;
  MiscResult(const MiscResult&) = delete;
  MiscResult(MiscResult&& o) : v(o.v) { o.v = RValue{}; }
  ~MiscResult() { RValue_Free(&v); }
  double real() const { return v.val; }
  std::string text() const { return RValue_Text(v); }
};

inline RValue Misc_Real(double d) { return RValue{VALUE_REAL, nullptr, d}; }
inline RValue Misc_Text(const char* t) {
  RValue v{};
  RValue_SetString(&v, t);
  return v;
}

inline MiscResult Misc_Call(const char* name, std::vector<RValue> args = {}, CInstance* self = nullptr,
                            CInstance* other = nullptr) {
  InitCWLFunctions();
  MiscResult r;
  int index = Function_FindBuiltIn(name);
  EXPECT_GE(index, 0) << name;
  if (index >= 0) Function_Get(index)->routine(r.v, self, other, (int)args.size(), args.data());
  for (RValue& a : args) RValue_Free(&a);
  return r;
}
