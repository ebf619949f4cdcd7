// The tile built-ins before there is a current room (the game tests cover
// the tiles of a room).
#include <gtest/gtest.h>

#include "Function_Graphics_Call.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"

namespace {
TEST(TileNoRoom, NothingToFindOrChange) {
  Graphics_EnsureRegistered();
  CRoom* saved = g_RunRoom;
  g_RunRoom = nullptr;
  EXPECT_EQ(GCall("tile_find", {0, 0, 0}), -1);
  EXPECT_EQ(GCall("tile_exists", {10000000}), 0);
  EXPECT_EQ(ErrorFrom([] { GCall("tile_get_x", {10000000}); }), "Tile does not exist.");
  GCall("tile_layer_delete", {0});
  g_RunRoom = saved;
}
}  // namespace
