// The sprite table: resources by index with their names.
#pragma once
#include <cstddef>

#include "Sprite/Sprite_Class.h"

struct GamePackage;

bool Sprite_Exists(int index);
CSprite* Sprite_Data(int index);  // null for a bad index
const char* Sprite_Name(int index);  // "<undefined>" for a bad index
int Sprite_Count();
// Appends a sprite (the table takes it); returns its index.
int Sprite_Append(CSprite* sprite, const char* name);
int Sprite_Create();  // an empty sprite named "__newsprite" and its index
bool Sprite_Delete(int index);
// A sprite loaded from a file (the save folder first, then the game's
// folder); -1, with no slot left behind, when it cannot be loaded. A name
// beginning "http://" or "https://" is downloaded through the hook below
// and the index returned at once; the sprite stays empty until
// Sprite_AsyncLoaded fills it.
int Sprite_Add(const char* file, int imageCount, bool precise, bool transparent, bool smooth, bool preload,
               int xorig, int yorig);
int Sprite_AddAlpha(const char* file, int imageCount, bool precise, bool preload, int xorig, int yorig);
bool Sprite_Replace(int index, const char* file, int imageCount, bool precise, bool transparent, bool smooth,
                    bool preload, int xorig, int yorig);
bool Sprite_ReplaceAlpha(int index, const char* file, int imageCount, bool precise, bool preload, int xorig,
                         int yorig);
// What starts the download of a sprite's image, installed by the HTTP layer
// at start-up (none: no downloads, and such a sprite_add fails).
void Sprite_SetDownloader(bool (*startDownload)(int index, const char* url));
// Completion of a download: fills the sprite with the data (none when the
// download failed) as the sprite_add call asked. Returns the status for the
// image-loaded event: 0 when the data made the images, else -1.
int Sprite_AsyncLoaded(int index, const void* data, size_t size);
int Sprite_Duplicate(int index);  // the new index, -1 on failure
int Sprite_Assign(int dest, int src);  // 1 on success, 0 on failure
void Sprite_FreeAll();
