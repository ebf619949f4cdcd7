// The background table: resources by index with their names.
#pragma once
#include "Background/Background_Class.h"

bool Background_Exists(int index);
CBackground* Background_Data(int index);  // null for a bad index
const char* Background_Name(int index);   // "<undefined>" for a bad index
int Background_Count();
int Background_Append(CBackground* back, const char* name);
int Background_Create();  // an empty background named "__newbackground" and its index
bool Background_Delete(int index);
// A background loaded from a file (the save folder first, then the game's
// folder); -1, with no slot left behind, when it cannot be loaded.
int Background_Add(const char* file, bool transparent, bool smooth, bool preload);
int Background_AddAlpha(const char* file, bool preload);
bool Background_Replace(int index, const char* file, bool transparent, bool smooth, bool preload);
bool Background_ReplaceAlpha(int index, const char* file, bool preload);
int Background_Duplicate(int index);   // the new index, -1 on failure
int Background_Assign(int dest, int src);  // 1 on success, 0 on failure
void Background_FreeAll();
