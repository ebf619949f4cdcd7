// Base64 (RFC 4648 alphabet, "=" padding).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

std::string Base64_Encode(const uint8_t* bytes, size_t length);
// Decodes groups of four characters up to the first "=" or the first
// character outside the alphabet (a blank, say); a last group of two or
// three characters gives one or two bytes, a lone character nothing.
std::string Base64_Decode(const char* text);
