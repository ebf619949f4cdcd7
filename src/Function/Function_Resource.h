// What the resource built-ins share: each kind's registration and templates
// that make the plain queries one line each. Flags follow one of the two
// truth rules of Base/Convert.h (RValue_IsTrue, RValue_IsTrueAbove), as each
// built-in keeps it.
// Common rules: indices and whole numbers are rounded, halves to even;
// numeric getters give -1 for a missing resource, tests 1 or 0, name getters
// the name or "<undefined>"; errors are non-fatal script errors, after which
// nothing changes and the result is the real 0.
#pragma once
#include <functional>

#include "Base/Convert.h"
#include "Base/RValue.h"
#include "Function/Function_Args.h"

class CInstance;

// Each kind's built-ins; `v800` is true for packages of version 800 or more,
// which register some names with other argument counts, or not at all.
void Function_Resource_Sprite_Init(bool v800);
void Function_Resource_Background_Init(bool v800);
void Function_Resource_Sound_Init();
void Function_Resource_Font_Init();
void Function_Resource_Path_Init();
void Function_Resource_Script_Init();  // scripts and time lines
void Function_Resource_Object_Init();
void Function_Resource_Room_Init();

// Starts the download of a sprite's image from an address; the sprite table
// calls it through Sprite_StartDownload. The reply comes as other event 60
// with a map of "filename", "id" and "status".
bool Resource_StartSpriteDownload(int index, const char* url);

// An argument past the count the handler was called with counts as 0.
inline const RValue& Arg_Or0(int argc, const RValue* arg, int n) {
  static const RValue zero{VALUE_REAL, nullptr, 0.0};
  return n < argc ? arg[n] : zero;
}

class CBitmap32;
// Writes the pixels as a PNG file (a relative name into the save folder,
// whose missing folders are made).
void Resource_SavePNG(const char* file, const CBitmap32& image);

// Logged to the debug console by the built-ins that do nothing: result -1.
void Resource_Unsupported(RValue& Result, CInstance*, CInstance*, int, const RValue*);

// "NAME_exists": 1 or 0.
template <bool (*Exists)(int)>
void Resource_Exists(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  Give(Result, Exists(RValue_RoundInt(arg[0])) ? 1 : 0);
}
// "NAME_get_name": the name, "<undefined>" for a missing resource.
template <const char* (*Name)(int)>
void Resource_Name(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetString(&Result, Name(RValue_RoundInt(arg[0])));
}
// A field of the resource (a data member, or a getter without arguments),
// or -1.
template <auto Lookup, auto Member>
void Resource_Field(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  const auto* r = Lookup(RValue_RoundInt(arg[0]));
  Give(Result, r ? double(std::invoke(Member, *r)) : -1.0);
}
