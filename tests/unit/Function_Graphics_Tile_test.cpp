// The tile built-ins on the current room's tiles.
#include <gtest/gtest.h>

#include "Background/Background_Main.h"
#include "Function_Graphics_Call.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"

namespace {
class TileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Graphics_EnsureRegistered();
    saved = g_RunRoom;
    g_RunRoom = &room;
    back = Background_Append(new CBackground, "bg_tiles");
  }
  void TearDown() override {
    g_RunRoom = saved;
    Background_Delete(back);
  }
  CRoom room;
  CRoom* saved = nullptr;
  int back = -1;
};

TEST_F(TileTest, AddedTilesCarryTheirFieldsAndDefaults) {
  double id = GCall("tile_add", {back, 1.5, 2, 16, 8, 10.25, 20, 100});
  ASSERT_GE(id, 0);
  EXPECT_EQ(GCall("tile_exists", {id}), 1);
  EXPECT_EQ(GCall("tile_get_x", {id}), 10.25);
  EXPECT_EQ(GCall("tile_get_y", {id}), 20);
  EXPECT_EQ(GCall("tile_get_left", {id}), 2) << "rounded, halves to even";
  EXPECT_EQ(GCall("tile_get_width", {id}), 16);
  EXPECT_EQ(GCall("tile_get_depth", {id}), 100);
  EXPECT_EQ(GCall("tile_get_xscale", {id}), 1);
  EXPECT_EQ(GCall("tile_get_alpha", {id}), 1);
  EXPECT_EQ(GCall("tile_get_blend", {id}), 16777215);
  EXPECT_EQ(GCall("tile_get_visible", {id}), 1);
  EXPECT_EQ(GCall("tile_get_background", {id}), back);
  double second = GCall("tile_add", {back, 0, 0, 4, 4, 0, 0, 0});
  EXPECT_NE(second, id);

  GCall("tile_set_position", {id, 3, 4});
  GCall("tile_set_region", {id, 1, 2, 3, 4.6});
  GCall("tile_set_scale", {id, 2, -1});
  GCall("tile_set_blend", {id, 255});
  GCall("tile_set_alpha", {id, 0.5});
  GCall("tile_set_visible", {id, 0});
  GCall("tile_set_depth", {id, -5});
  GCall("tile_set_background", {id, 77});  // not checked
  EXPECT_EQ(GCall("tile_get_x", {id}), 3);
  EXPECT_EQ(GCall("tile_get_height", {id}), 5);
  EXPECT_EQ(GCall("tile_get_yscale", {id}), -1);
  EXPECT_EQ(GCall("tile_get_blend", {id}), 255);
  EXPECT_EQ(GCall("tile_get_alpha", {id}), 0.5);
  EXPECT_EQ(GCall("tile_get_visible", {id}), 0);
  EXPECT_EQ(GCall("tile_get_depth", {id}), -5);
  EXPECT_EQ(GCall("tile_get_background", {id}), 77);

  GCall("tile_delete", {id});
  EXPECT_EQ(GCall("tile_exists", {id}), 0);
  EXPECT_EQ(ErrorFrom([&] { EXPECT_EQ(GCall("tile_get_x", {id}), 0); }), "Tile does not exist.");
  EXPECT_EQ(ErrorFrom([&] { GCall("tile_set_alpha", {id, 1}); }), "Tile does not exist.");
  EXPECT_EQ(ErrorFrom([] { EXPECT_EQ(GCall("tile_add", {999, 0, 0, 1, 1, 0, 0, 0}), -1); }),
            "Background does not exist.");
  EXPECT_EQ(ErrorFrom([] { GCall("tile_exists", {12345}); }), "");
}

TEST_F(TileTest, FoundAndChangedByPointAndByLayer) {
  double fore = GCall("tile_add", {back, 0, 0, 10, 10, 0, 0, -10});
  double behind = GCall("tile_add", {back, 0, 0, 10, 10, 0, 0, 50});
  double other = GCall("tile_add", {back, 0, 0, 10, 10, 100, 0, 50});
  EXPECT_EQ(GCall("tile_find", {5, 5, 1}), fore);
  EXPECT_EQ(GCall("tile_find", {5, 5, 0}), behind);
  EXPECT_EQ(GCall("tile_find", {50, 5, 0}), -1);
  EXPECT_EQ(GCall("tile_layer_find", {50, 105, 5}), other);
  EXPECT_EQ(GCall("tile_layer_find", {-10, 105, 5}), -1);

  GCall("tile_layer_hide", {50});
  EXPECT_EQ(GCall("tile_get_visible", {behind}), 0);
  EXPECT_EQ(GCall("tile_get_visible", {other}), 0);
  EXPECT_EQ(GCall("tile_get_visible", {fore}), 1);
  GCall("tile_layer_show", {50});
  EXPECT_EQ(GCall("tile_get_visible", {other}), 1);

  GCall("tile_layer_shift", {50, 10, -2});
  EXPECT_EQ(GCall("tile_get_x", {other}), 110);
  EXPECT_EQ(GCall("tile_get_y", {behind}), -2);
  EXPECT_EQ(GCall("tile_get_x", {fore}), 0);

  GCall("tile_layer_depth", {50, 60});
  EXPECT_EQ(GCall("tile_get_depth", {other}), 60);
  GCall("tile_layer_delete_at", {60, 112, 0});
  EXPECT_EQ(GCall("tile_exists", {other}), 0);
  EXPECT_EQ(GCall("tile_exists", {behind}), 1);
  GCall("tile_delete_at", {5, 5, 1});
  EXPECT_EQ(GCall("tile_exists", {fore}), 0);
  GCall("tile_layer_delete", {60});
  EXPECT_EQ(GCall("tile_exists", {behind}), 0);
  EXPECT_TRUE(room.tiles.empty());
}

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
