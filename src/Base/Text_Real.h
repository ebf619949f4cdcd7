// The text of a real as `string` writes it: the decimal integer when the real
// equals its rounded 32-bit value, else two decimals; always with a full stop.
#pragma once
#include <string>

std::string Real_ToText(double d);
