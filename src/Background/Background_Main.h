// The background table: resources by index with their names.
#pragma once
#include "Background/Background_Class.h"

bool Background_Exists(int index);
CBackground* Background_Data(int index);  // null for a bad index
const char* Background_Name(int index);   // "<undefined>" for a bad index
int Background_Count();
int Background_Append(CBackground* back, const char* name);
int Background_Create();  // an empty background named "__newbackground"
bool Background_Delete(int index);
void Background_FreeAll();
