// The drawing built-ins: registration and the helpers their files share.
#include "Function/Function_Graphics.h"

#include <algorithm>

#include "Base/Text_Real.h"
#include "Graphics/Graphics_Image.h"
#include "Graphics_API/Window_Main.h"
#include "IO/LoadSave_Main.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"

std::string Graphics_ArgText(const RValue& v) {
  if (RValue_IsString(v)) return RValue_Text(v);
  return Real_ToText(RValue_Real(v));
}

void Graphics_TiledArea(float* width, float* height) {
  if (g_RunRoom) {
    *width = static_cast<float>(g_RunRoom->width);
    *height = static_cast<float>(g_RunRoom->height);
    return;
  }
  int w, h;
  Window_Size(&w, &h);
  *width = static_cast<float>(w);
  *height = static_cast<float>(h);
}

bool Graphics_ClipRect(int areaW, int areaH, int* x, int* y, int* w, int* h) {
  // In 64 bits: script values may lie anywhere in the 32-bit range.
  int64_t x1 = std::max<int64_t>(*x, 0), y1 = std::max<int64_t>(*y, 0);
  int64_t x2 = std::min<int64_t>(int64_t(*x) + *w, areaW), y2 = std::min<int64_t>(int64_t(*y) + *h, areaH);
  if (x2 <= x1 || y2 <= y1) return false;
  *x = int(x1), *y = int(y1), *w = int(x2 - x1), *h = int(y2 - y1);
  return true;
}

void Graphics_WriteBMP(const char* name, const CBitmap32* bitmap) {
  if (!bitmap) return;
  std::vector<uint8_t> bmp = GR_Image_SaveBMP(bitmap->pixels.data(), bitmap->width, bitmap->height);
  LoadSave_WriteFile(name, bmp.data(), static_cast<int64_t>(bmp.size()));
}

void Function_Graphics_Init() {
  Function_Graphics_Display_Init();
  Function_Graphics_Draw_Init();
  Function_Graphics_Text_Init();
  Function_Graphics_Sprite_Init();
  Function_Graphics_Surface_Init();
  Function_Graphics_Tile_Init();
}
