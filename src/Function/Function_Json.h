// JSON text to script data structures and back. An object becomes a ds_map
// and an array a ds_list; a nested one is stored as its index carrying the
// map or list mark (Base/RValue.h). Numbers are written as "%f" writes them.
#pragma once
#include <cstddef>
#include <string>

#include "Base/RValue.h"

// json_decode: a real is decoded as { "default" : "<real, two decimals>" };
// a text that is not an object, or does not parse, as the object
// { "default" : <the text as a JSON string> }. Gives the new map's index, or
// -1 when nothing parses.
int JSON_Decode(const RValue& value);

// json_encode: the JSON text of the map at the index, walked in the map's
// order; "" for an index that holds no map. Nesting deeper than
// JSON_MAX_DEPTH levels, and marks naming no structure, are written as null.
constexpr int JSON_MAX_DEPTH = 32;
std::string JSON_Encode(int mapIndex);

// The bytes [*begin, *end) of a text that remain without its leading and
// trailing white space (isspace); *begin == *end when none remain.
void JSON_SkipBlanks(const char* text, size_t length, size_t* begin, size_t* end);

// Destroys the map at the index with every map and list its marks name, and
// theirs in turn. For tools that decode many texts.
void JSON_DestroyTree(int mapIndex);
