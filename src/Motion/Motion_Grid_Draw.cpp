#include <cstddef>

#include "Graphics/Graphics_Draw.h"
#include "Motion/Motion_Grid.h"

void MotionGrid_Draw(int id) {
  const CGrid* g = MotionGrid_Get(id);
  if (!g) return;
  constexpr uint32_t FREE_COLOUR = 0x00FF00, FORBIDDEN_COLOUR = 0x0000FF;  // green, red (BGR)
  for (int v = 0; v < g->vcells; v++) {
    for (int h = 0; h < g->hcells; h++) {
      uint32_t c = g->cells[static_cast<size_t>(v) * g->hcells + h] == GRID_FREE ? FREE_COLOUR : FORBIDDEN_COLOUR;
      float x = static_cast<float>(g->left + static_cast<double>(h) * g->cellwidth);
      float y = static_cast<float>(g->top + static_cast<double>(v) * g->cellheight);
      GR_Draw_Rectangle_Color(x, y, x + g->cellwidth - 1, y + g->cellheight - 1, c, c, c, c, false);
    }
  }
}
