#include "Sprite/Sprite_Main.h"

#include "Graphics/Graphics_ResourceTable.h"

static CResourceTable<CSprite> g_Sprites;

bool Sprite_Exists(int index) { return g_Sprites.Get(index) != nullptr; }
CSprite* Sprite_Data(int index) { return g_Sprites.Get(index); }
const char* Sprite_Name(int index) { return g_Sprites.Name(index); }
int Sprite_Count() { return g_Sprites.Count(); }
int Sprite_Append(CSprite* sprite, const char* name) { return g_Sprites.Append(sprite, name); }
int Sprite_Create() { return g_Sprites.Append(new CSprite(), "__newsprite"); }
bool Sprite_Delete(int index) { return g_Sprites.Delete(index); }
void Sprite_FreeAll() { g_Sprites.FreeAll(); }
