// The drawing built-ins: registration and the helpers their files share.
#include "Function/Function_Graphics.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "Base/Text_Real.h"
#include "Code/Code_Constant.h"
#include "Graphics/Graphics_Image.h"
#include "Graphics_API/Window_Main.h"
#include "IO/LoadSave_Main.h"
#include "Object/Instance_Class.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"

int Graphics_SelfImage(const CInstance* self) {
  return self ? Convert_TruncInt(std::floor(double(self->image_index))) : 0;
}

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

namespace {
// The names scripts use for alignments, primitive kinds, blend modes and
// factors, and cursors.
void Function_Graphics_Constants() {
  static const struct {
    const char* name;
    double value;
  } constants[] = {
      {"fa_left", 0}, {"fa_center", 1}, {"fa_right", 2}, {"fa_top", 0}, {"fa_middle", 1}, {"fa_bottom", 2},
      {"pr_pointlist", 1}, {"pr_linelist", 2}, {"pr_linestrip", 3}, {"pr_trianglelist", 4},
      {"pr_trianglestrip", 5}, {"pr_trianglefan", 6},
      {"bm_normal", 0}, {"bm_add", 1}, {"bm_max", 2}, {"bm_subtract", 3},
      {"bm_zero", 1}, {"bm_one", 2}, {"bm_src_color", 3}, {"bm_inv_src_color", 4}, {"bm_src_alpha", 5},
      {"bm_inv_src_alpha", 6}, {"bm_dest_alpha", 7}, {"bm_inv_dest_alpha", 8}, {"bm_dest_color", 9},
      {"bm_inv_dest_color", 10}, {"bm_src_alpha_sat", 11},
      {"cr_default", 0}, {"cr_none", -1}, {"cr_arrow", -2}, {"cr_size_all", -22},
  };
  for (const auto& c : constants) Constant_AddReal(c.name, c.value);
}
}  // namespace

void Function_Graphics_Init() {
  Function_Graphics_Constants();
  Function_Graphics_Display_Init();
  Function_Graphics_Draw_Init();
  Function_Graphics_Text_Init();
  Function_Graphics_Sprite_Init();
  Function_Graphics_Surface_Init();
  Function_Graphics_Tile_Init();
}
