// Named constants: the built-ins' (registered at start-up) and the game's own.
#pragma once
#include <string>
#include <vector>

#include "Base/RValue.h"

// Adds a built-in constant (a second definition replaces the first).
void Constant_AddReal(const char* name, double value);
// Defines a user constant whose value text is compiled and evaluated as an
// expression; false with the message in Code_ErrorText when that fails.
bool Constant_Define(const char* name, const char* valueText);
// The constant's value, null when the name is no constant.
const RValue* Constant_Find(const char* name);
// Every constant's name (built-in and the game's), in no particular order.
std::vector<std::string> Constant_Names();
