// Surfaces: textures that can be drawn into, one target at a time.
#pragma once
#include <cstdint>

int Surface_Create(int w, int h);  // -1 when the texture cannot be made
bool Surface_Exists(int id);
int Surface_GetWidth(int id);    // -1 for a bad id
int Surface_GetHeight(int id);
int Surface_GetTexture(int id);  // -1 for a bad id
void Surface_Free(int id);
bool Surface_SetTarget(int id);
bool Surface_ResetTarget();
int Surface_GetTarget();  // -1 when drawing to the screen
// Empties every slot (freeing the textures), as a texture flush does.
void Surface_DropAll();

// Drawing; colours are script colours.
void Surface_Draw(int id, float x, float y);
void Surface_Draw_Ext(int id, float x, float y, float xscale, float yscale, float angle, uint32_t colour, float alpha);
void Surface_Draw_Part(int id, float left, float top, float w, float h, float x, float y,
                       float xscale, float yscale, uint32_t colour, float alpha);
void Surface_Draw_General(int id, float left, float top, float w, float h, float x, float y,
                          float xscale, float yscale, float angle, uint32_t c1, uint32_t c2,
                          uint32_t c3, uint32_t c4, float alpha);
void Surface_Draw_Stretched(int id, float x, float y, float w, float h, uint32_t colour, float alpha);
void Surface_Draw_Tiled(int id, float x, float y, float xscale, float yscale, bool htiled,
                        bool vtiled, float areaLeft, float areaTop, float areaWidth,
                        float areaHeight, uint32_t colour, float alpha);
// Copies a rectangle of one surface onto another.
bool Surface_Copy(int dest, int x, int y, int src, int xs, int ys, int ws, int hs);
