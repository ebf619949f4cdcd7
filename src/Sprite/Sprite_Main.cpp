#include "Sprite/Sprite_Main.h"

#include <cstring>
#include <map>
#include <string>

#include "IO/LoadSave_Main.h"
#include "Platform/Platform_ResourceTable.h"

#include "Graphics_API/Graphics_Texture.h"

static CResourceTable<CSprite> g_Sprites;

namespace {

bool (*g_StartDownload)(int index, const char* url) = nullptr;

// What a sprite_add of an address asked for, kept until its data arrives.
struct PendingLoad {
  int imageCount;
  bool precise, transparent, smooth, preload;
  int xorig, yorig;
};
std::map<int, PendingLoad> g_Pending;

bool IsAddress(const char* name) {
  return name && (strncmp(name, "http://", 7) == 0 || strncmp(name, "https://", 8) == 0);
}

}  // namespace

bool Sprite_Exists(int index) { return g_Sprites.Get(index) != nullptr; }
CSprite* Sprite_Data(int index) { return g_Sprites.Get(index); }
const char* Sprite_Name(int index) { return g_Sprites.Name(index); }
int Sprite_Count() { return g_Sprites.Count(); }
int Sprite_Append(CSprite* sprite, const char* name) { return g_Sprites.Append(sprite, name); }
bool Sprite_Delete(int index) { return g_Sprites.Delete(index); }
void Sprite_FreeAll() { g_Sprites.FreeAll(); }
// Sprites keep texture ids: they go when the textures do.
static const bool g_OwnsTextures = GR_Texture_AddOwner(Sprite_FreeAll);

void Sprite_SetDownloader(bool (*startDownload)(int, const char*)) { g_StartDownload = startDownload; }

int Sprite_Create() { return g_Sprites.Create("__newsprite"); }

bool Sprite_Replace(int index, const char* file, int imageCount, bool precise, bool transparent, bool smooth,
                    bool preload, int xorig, int yorig) {
  CSprite* s = Sprite_Data(index);
  std::string path = LoadSave_MakeReadPath(file);
  return s && !path.empty() &&
         s->LoadFromFile(path.c_str(), imageCount, precise, transparent, smooth, preload, xorig, yorig);
}

bool Sprite_ReplaceAlpha(int index, const char* file, int imageCount, bool precise, bool preload, int xorig,
                         int yorig) {
  return Sprite_Replace(index, file, imageCount, precise, true, false, preload, xorig, yorig);
}

int Sprite_Add(const char* file, int imageCount, bool precise, bool transparent, bool smooth, bool preload,
               int xorig, int yorig) {
  int index = Sprite_Create();
  if (IsAddress(file)) {
    g_Pending[index] = {imageCount, precise, transparent, smooth, preload, xorig, yorig};
    if (g_StartDownload && g_StartDownload(index, file)) return index;
    g_Pending.erase(index);
  } else if (Sprite_Replace(index, file, imageCount, precise, transparent, smooth, preload, xorig, yorig)) {
    return index;
  }
  g_Sprites.RemoveLast(index);
  return -1;
}

int Sprite_AddAlpha(const char* file, int imageCount, bool precise, bool preload, int xorig, int yorig) {
  return Sprite_Add(file, imageCount, precise, true, false, preload, xorig, yorig);
}

int Sprite_Duplicate(int index) { return g_Sprites.Duplicate(index, "__newsprite"); }
int Sprite_Assign(int dest, int src) { return g_Sprites.Assign(dest, src); }

int Sprite_AsyncLoaded(int index, const void* data, size_t size) {
  auto it = g_Pending.find(index);
  if (it == g_Pending.end()) return -1;
  PendingLoad p = it->second;
  g_Pending.erase(it);
  CSprite* s = Sprite_Data(index);
  bool ok = s && data && size > 0 &&
            s->LoadFromMemory(data, size, p.imageCount, p.precise, p.transparent, p.smooth, p.preload, p.xorig, p.yorig);
  return ok ? 0 : -1;
}
