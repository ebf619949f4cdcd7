// The engine's helpers that fill the scripts' maps and lists as the ds_*
// built-ins do, reporting a bad index as they report it. The tables
// themselves are in Support/Support_Data_Structures_Table.h.
#pragma once
#include "Support/Support_Data_Structures_Table.h"

// Add under a text key through "ds_map_add", or append to a list; a bad
// index is reported as the built-ins report it.
void DS_Map_AddReal(int index, const char* key, double value);
void DS_Map_AddString(int index, const char* key, const char* value);
void DS_List_AddReal(int index, double value);
void DS_List_AddString(int index, const char* value);
