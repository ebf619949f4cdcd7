// The tile operations of a room, and the tile ids.
#include <algorithm>
#include <cstdint>

#include "Room/Room_Class.h"

bool Tile_Contains(const RoomTile& t, float x, float y) {
  float x1 = t.x, x2 = t.x + t.width * t.xscale;
  float y1 = t.y, y2 = t.y + t.height * t.yscale;
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  return x >= x1 && x < x2 && y >= y1 && y < y2;
}

namespace {
int g_lastTileId = 10000000 - 1;  // tile ids start at 10000000
}  // namespace

int Tile_NextId() { return ++g_lastTileId; }
// The largest id is never given: the counter cannot pass it.
void Tile_ReserveId(int id) {
  if (id < INT32_MAX) g_lastTileId = std::max(g_lastTileId, id);
}

int CRoom::AddTile(const RoomTile& tile) {
  RoomTile t = tile;
  t.id = Tile_NextId();
  tiles.push_back(t);
  return static_cast<int>(tiles.size()) - 1;
}

int CRoom::AddTileDef(int background, int left, int top, int w, int h, float x, float y, float depth,
                      float xscale, float yscale, uint32_t blend) {
  RoomTile t;
  t.background = background, t.left = left, t.top = top, t.width = w, t.height = h;
  t.x = x, t.y = y, t.depth = depth, t.xscale = xscale, t.yscale = yscale, t.blend = blend;
  return tiles[AddTile(t)].id;
}

int CRoom::FindTileById(int id) const {
  for (size_t i = 0; i < tiles.size(); i++)
    if (tiles[i].id == id) return static_cast<int>(i);
  return -1;
}

void CRoom::DeleteTile(int index) {
  if (index >= 0 && index < static_cast<int>(tiles.size())) tiles.erase(tiles.begin() + index);
}

// Foreground tiles are those with a depth below 0, background ones the rest.
int CRoom::FindTileAt(float x, float y, bool foreground) const {
  for (size_t i = 0; i < tiles.size(); i++) {
    const RoomTile& t = tiles[i];
    if ((t.depth < 0) == foreground && Tile_Contains(t, x, y)) return static_cast<int>(i);
  }
  return -1;
}

void CRoom::DeleteTileAt(float x, float y, bool foreground) { DeleteTile(FindTileAt(x, y, foreground)); }

int CRoom::FindTileInLayer(float depth, float x, float y) const {
  for (size_t i = 0; i < tiles.size(); i++)
    if (tiles[i].depth == depth && Tile_Contains(tiles[i], x, y)) return static_cast<int>(i);
  return -1;
}

void CRoom::HideTileLayer(float depth) {
  for (RoomTile& t : tiles)
    if (t.depth == depth) t.visible = false;
}

void CRoom::ShowTileLayer(float depth) {
  for (RoomTile& t : tiles)
    if (t.depth == depth) t.visible = true;
}

void CRoom::DeleteTileLayer(float depth) {
  tiles.erase(std::remove_if(tiles.begin(), tiles.end(), [depth](const RoomTile& t) { return t.depth == depth; }),
              tiles.end());
}

void CRoom::ShiftTileLayer(float depth, float dx, float dy) {
  for (RoomTile& t : tiles)
    if (t.depth == depth) t.x += dx, t.y += dy;
}

void CRoom::DeleteTileLayerAt(float depth, float x, float y) {
  tiles.erase(std::remove_if(tiles.begin(), tiles.end(),
                             [&](const RoomTile& t) { return t.depth == depth && Tile_Contains(t, x, y); }),
              tiles.end());
}

void CRoom::SetTileLayerDepth(float depth, float newDepth) {
  for (RoomTile& t : tiles)
    if (t.depth == depth) t.depth = newDepth;
}
