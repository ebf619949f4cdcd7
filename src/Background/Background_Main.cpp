#include "Background/Background_Main.h"

#include "Graphics/Graphics_ResourceTable.h"

static CResourceTable<CBackground> g_Backgrounds;

bool Background_Exists(int index) { return g_Backgrounds.Get(index) != nullptr; }
CBackground* Background_Data(int index) { return g_Backgrounds.Get(index); }
const char* Background_Name(int index) { return g_Backgrounds.Name(index); }
int Background_Count() { return g_Backgrounds.Count(); }
int Background_Append(CBackground* back, const char* name) { return g_Backgrounds.Append(back, name); }
int Background_Create() { return g_Backgrounds.Append(new CBackground(), "__newbackground"); }
bool Background_Delete(int index) { return g_Backgrounds.Delete(index); }
void Background_FreeAll() { g_Backgrounds.FreeAll(); }
