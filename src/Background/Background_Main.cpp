#include "Background/Background_Main.h"

#include <string>

#include "IO/LoadSave_Main.h"
#include "Platform/Platform_ResourceTable.h"

#include "Graphics_API/Graphics_Texture.h"

static CResourceTable<CBackground> g_Backgrounds;

bool Background_Exists(int index) { return g_Backgrounds.Get(index) != nullptr; }
CBackground* Background_Data(int index) { return g_Backgrounds.Get(index); }
const char* Background_Name(int index) { return g_Backgrounds.Name(index); }
int Background_Count() { return g_Backgrounds.Count(); }
int Background_Append(CBackground* back, const char* name) { return g_Backgrounds.Append(back, name); }
bool Background_Delete(int index) { return g_Backgrounds.Delete(index); }
void Background_FreeAll() { g_Backgrounds.FreeAll(); }
// Backgrounds keep texture ids: they go when the textures do.
static const bool g_OwnsTextures = GR_Texture_AddOwner(Background_FreeAll);

int Background_Create() { return g_Backgrounds.Create("__newbackground"); }

bool Background_Replace(int index, const char* file, bool transparent, bool smooth, bool preload) {
  CBackground* b = Background_Data(index);
  std::string path = LoadSave_MakeReadPath(file);
  return b && !path.empty() && b->LoadFromFile(path.c_str(), transparent, smooth, preload);
}

bool Background_ReplaceAlpha(int index, const char* file, bool preload) {
  return Background_Replace(index, file, true, false, preload);
}

int Background_Add(const char* file, bool transparent, bool smooth, bool preload) {
  int index = Background_Create();
  if (Background_Replace(index, file, transparent, smooth, preload)) return index;
  g_Backgrounds.RemoveLast(index);
  return -1;
}

int Background_AddAlpha(const char* file, bool preload) { return Background_Add(file, true, false, preload); }

int Background_Duplicate(int index) { return g_Backgrounds.Duplicate(index, "__newbackground"); }
int Background_Assign(int dest, int src) { return g_Backgrounds.Assign(dest, src); }
