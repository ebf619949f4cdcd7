// Extension packages: the model read from the package, prepared before the
// game starts (native functions bound, code compiled, constants defined),
// looked up by the compiler and called by running code. Function ids of
// scripts are 500000 + the extension id.
#pragma once
#include <string>

#include "Extension/Extension_Class.h"

struct GamePackage;
struct RValue;
class CInstance;
class CCode;

// Builds the model from the package's extensions (and their constants and
// code), replacing any earlier one. Each package draws one random number.
void Extension_LoadFromChunk(const GamePackage& pkg);
// The model, for inspection.
const ExtensionList& Extension_Packages();

// The name of the first function with that id (none: "").
std::string Extension_FunctionName(int id);
// Whether the id is bound to compiled code, and that code (null when none).
bool Extension_IsCWL(int id);
CCode* Extension_GetCode(int id);
// A call for a machine that runs only native functions: false, touching
// nothing, for an id out of range or bound to code.
bool Extension_CallDLL(int id, int argc, const RValue* args, RValue* result);

// Prepared with the game, initialised when it starts, finalised when it
// ends; false when one fails.
bool Extension_Prepare();
bool Extension_Initialize();
bool Extension_Finalize();

// The engine's lookups and call.
int Extension_FindFunction(const char* name);  // id or -1
int Extension_FunctionArgCount(int id);        // -100 when no such function
// Calls extension function id (function id - 500000); false when the call
// failed, with the message in Code_ErrorText.
bool Extension_Call(int id, CInstance* self, CInstance* other, int argc, RValue* args, RValue* result);
