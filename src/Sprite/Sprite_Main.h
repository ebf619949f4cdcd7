// The sprite table: resources by index with their names.
#pragma once
#include "Sprite/Sprite_Class.h"

struct GamePackage;

bool Sprite_Exists(int index);
CSprite* Sprite_Data(int index);  // null for a bad index
const char* Sprite_Name(int index);  // "<undefined>" for a bad index
int Sprite_Count();
// Appends a sprite (the table takes it); returns its index.
int Sprite_Append(CSprite* sprite, const char* name);
int Sprite_Create();  // an empty sprite named "__newsprite"
bool Sprite_Delete(int index);
void Sprite_FreeAll();
