// The built-in function table: every built-in is a handler registered by name.
#pragma once
#include <cstddef>

#include "Base/RValue.h"

class CInstance;

// A built-in handler: writes its result in place (preset to the real 0 by the
// caller); the arguments belong to the caller, which frees them afterwards,
// and the handler only reads them.
typedef void (*TRoutine)(RValue& Result, CInstance* self, CInstance* other, int argc, const RValue* arg);

// The form of a built-in that takes its argument 1, a map key, as a text of
// known length: a call that makes that text in a buffer of its own hands it
// over so, and it is not measured again. The other arguments are as the
// handler gets them; the built-in takes a fixed number of arguments.
typedef void (*TTextKeyRoutine)(RValue& Result, const RValue* arg, const char* key, size_t length);

constexpr int MAX_ARGUMENTS = 16;
constexpr int FUNCTION_ID_SCRIPT = 100000;
constexpr int FUNCTION_ID_EXTENSION = 500000;

struct RFunction {
  char name[64];
  TRoutine routine;
  int argnumb;  // -1: any number of arguments
  TTextKeyRoutine textKey;  // the text-key form, or none
};

// Registers a built-in under its script name (a second registration of a
// name is a second entry, an alias).
void Function_Add(const char* name, TRoutine routine, int argc);
// Gives the (first) built-in of that name its text-key form.
void Function_SetTextKeyForm(const char* name, TTextKeyRoutine textKey);
// The function id of a name: a script (100000 + index), then an extension
// function (500000 + id), then a built-in (its table index); -1 when none.
int Function_Find(const char* name);
// The table index of a built-in by name, -1 when none.
int Function_FindBuiltIn(const char* name);
// The argument count of a function id (-1 any; -100 no such extension function).
int Function_ArgCount(int id);
int Function_Count();
// The table entry of a built-in index, null when out of range.
const RFunction* Function_Get(int index);
