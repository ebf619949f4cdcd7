// Test helpers for the data structures: owned script values, texts taken
// from the memory manager, and calls of the ds_* built-ins through the
// function table as the interpreter makes them.
#pragma once
#include <initializer_list>
#include <string>

#include <gtest/gtest.h>

#include "Base/RValue.h"
#include "Code/Code_Error.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Init.h"
#include "Platform/MemoryManager.h"

void Function_Data_Structures_Init();

// A script value that frees itself.
struct Val {
  RValue v{VALUE_REAL, nullptr, 0.0};
  Val(double d) { v.val = d; }
  Val(const char* s) { RValue_SetString(&v, s); }
  Val(uint32_t kind, double d) {
    v.kind = kind;
    v.val = d;
  }
  Val(const Val& o) { RValue_Copy(&v, &o.v); }
  ~Val() { RValue_Free(&v); }
  const RValue* operator&() const { return &v; }
  RValue* operator&() { return &v; }
};

// The text of a new memory-manager block, which is freed.
inline std::string Take(char* text) {
  std::string s = text ? text : "<none>";
  MEM_FREE(text);
  return s;
}

inline std::string Describe(const RValue* v) {
  if (!v) return "<none>";
  if (v->kind == VALUE_STRING) return "\"" + std::string(RValue_Text(*v)) + "\"";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%g", v->val);
  return v->kind == VALUE_REAL ? buf : std::string(buf) + "#" + std::to_string(v->kind);
}

inline void DS_EnsureRegistered() {
  InitCWLFunctions();
  if (Function_FindBuiltIn("ds_stack_create") < 0) Function_Data_Structures_Init();
}

// Calls a built-in with the given arguments; gives its result value, which
// the caller owns (a Val frees it).
inline Val DS_Call(const char* name, std::initializer_list<Val> args) {
  DS_EnsureRegistered();
  Val result(0.0);
  const RFunction* f = Function_Get(Function_FindBuiltIn(name));
  if (!f) {
    ADD_FAILURE() << name << " is not registered";
    return result;
  }
  int argc = static_cast<int>(args.size());
  if (f->argnumb >= 0 && f->argnumb != argc) ADD_FAILURE() << name << " takes " << f->argnumb << " arguments";
  RValue argv[MAX_ARGUMENTS] = {};
  int i = 0;
  for (const Val& a : args) RValue_Copy(&argv[i++], &a.v);
  f->routine(result.v, nullptr, nullptr, argc, argv);
  for (RValue& v : argv) RValue_Free(&v);
  return result;
}

inline double DS_Real(const char* name, std::initializer_list<Val> args) {
  Val r = DS_Call(name, args);
  EXPECT_NE(r.v.kind, VALUE_STRING) << name;
  return r.v.val;
}

inline std::string DS_Text(const char* name, std::initializer_list<Val> args) {
  Val r = DS_Call(name, args);
  EXPECT_EQ(r.v.kind, VALUE_STRING) << name;
  return RValue_Text(r.v);
}

// Whether the last call reported the index error (and forget it).
inline bool DS_TookIndexError() {
  bool occurred = Error_Occurred() && std::string(Error_Last()) == "Data structure with index does not exist.";
  Error_SetOccurred(false);
  return occurred;
}
