// Drawing a path as lines between its inner points in the current colour.
#include <cstddef>

#include "Graphics/Graphics_Draw.h"
#include "Path/Path_Class.h"

void CPath::Draw(float x, float y, bool absolute) const {
  if (m_inner.size() < 2) return;
  // Relative: the path's first point lies at (x, y).
  float dx = absolute ? 0 : x - m_inner[0].x, dy = absolute ? 0 : y - m_inner[0].y;
  for (size_t i = 1; i < m_inner.size(); i++)
    GR_Draw_Line(m_inner[i - 1].x + dx, m_inner[i - 1].y + dy, m_inner[i].x + dx, m_inner[i].y + dy);
}
