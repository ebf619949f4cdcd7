#include "Object/Object_Shape.h"

#include <cstddef>
#include <map>

namespace {
struct Entry {
  SpriteShape shape;
  std::vector<std::vector<uint8_t>> masks;
};
std::map<int, Entry> g_shapes;
}  // namespace

bool Shape_Get(int sprite, SpriteShape* out) {
  auto it = g_shapes.find(sprite);
  if (it == g_shapes.end()) return false;
  *out = it->second.shape;
  return true;
}

bool Shape_Pixel(int sprite, int frame, int px, int py) {
  auto it = g_shapes.find(sprite);
  if (it == g_shapes.end()) return false;
  const Entry& e = it->second;
  if (px < 0 || py < 0 || px >= e.shape.width || py >= e.shape.height) return false;
  if (px < e.shape.left || px > e.shape.right || py < e.shape.top || py > e.shape.bottom) return false;
  if (e.masks.empty()) return true;
  const auto& mask = e.masks[static_cast<size_t>(frame) % e.masks.size()];
  size_t at = static_cast<size_t>(py) * e.shape.width + px;
  return at < mask.size() && mask[at] != 0;
}

void Shape_Set(int sprite, const SpriteShape& shape, std::vector<std::vector<uint8_t>> masks) {
  g_shapes[sprite] = Entry{shape, std::move(masks)};
}

void Shape_ClearAll() { g_shapes.clear(); }
