#include <gtest/gtest.h>

#include "Run_TestWorld.h"

using namespace testworld;

namespace {
class RoomTiles : public ::testing::Test {
 protected:
  CRoom room;
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
};

TEST_F(RoomTiles, IdsOnlyGrowAndLookupsFollowDepth) {
  int front = room.AddTileDef(0, 0, 0, 16, 16, 0, 0, -10);
  int back = room.AddTileDef(0, 0, 0, 16, 16, 0, 0, 100);
  EXPECT_EQ(back, front + 1);
  // A deleted tile's id is not given again, nor one read from the game.
  int gone = room.tiles[room.AddTile(RoomTile{})].id;
  room.DeleteTile(2);
  Tile_ReserveId(gone + 10);
  EXPECT_EQ(room.tiles[room.AddTile(RoomTile{})].id, gone + 11);
  Tile_ReserveId(INT32_MAX);  // a damaged game's id: the counter does not run past it
  EXPECT_EQ(room.tiles[room.AddTile(RoomTile{})].id, gone + 12);
  EXPECT_EQ(room.FindTileAt(5, 5, true), 0);
  EXPECT_EQ(room.FindTileAt(5, 5, false), 1);
  EXPECT_EQ(room.FindTileAt(16, 5, true), -1);  // right edge is outside
  EXPECT_EQ(room.FindTileById(back), 1);
  EXPECT_EQ(room.FindTileInLayer(100, 3, 3), 1);
  room.DeleteTileAt(5, 5, true);
  EXPECT_EQ(room.FindTileById(back), 0);
  room.DeleteTile(99);  // ignored
  EXPECT_EQ(room.tiles.size(), 3u);
}

TEST_F(RoomTiles, LayerOperationsTouchOnlyTheirDepth) {
  for (int i = 0; i < 3; i++) room.AddTileDef(0, 0, 0, 8, 8, i * 8.0f, 0, 5);
  room.AddTileDef(0, 0, 0, 8, 8, 0, 0, 6);
  room.HideTileLayer(5);
  EXPECT_FALSE(room.tiles[0].visible);
  EXPECT_TRUE(room.tiles[3].visible);
  room.ShowTileLayer(5);
  EXPECT_TRUE(room.tiles[2].visible);
  room.ShiftTileLayer(5, 2, 3);
  EXPECT_EQ(room.tiles[1].x, 10);
  EXPECT_EQ(room.tiles[3].x, 0);
  room.DeleteTileLayerAt(5, 11, 4);
  EXPECT_EQ(room.tiles.size(), 3u);
  room.SetTileLayerDepth(5, 6);
  room.DeleteTileLayer(6);
  EXPECT_TRUE(room.tiles.empty());
}

TEST_F(RoomTiles, ActivationMovesInstancesBetweenTheLists) {
  int a = Object_Add("a");
  CInstance* one = room.AddInstance(0, 0, a);
  CInstance* two = room.AddInstance(0, 0, a);
  two->deactivated = true;
  room.ApplyActivation();
  EXPECT_EQ(room.active, std::vector<CInstance*>{one});
  EXPECT_EQ(room.deactivated, std::vector<CInstance*>{two});
  two->deactivated = false;
  one->deactivated = true;
  room.ApplyActivation();
  EXPECT_EQ(room.active, std::vector<CInstance*>{two});
  EXPECT_EQ(room.deactivated, std::vector<CInstance*>{one});
  one->marked = true;
  room.DeleteMarked();
  EXPECT_TRUE(room.deactivated.empty());
  EXPECT_EQ(Object_Find(a)->instances.size(), 1u);
}

// A copy takes its source's flag and so the source's list; one activation
// brings both back.
TEST_F(RoomTiles, ACopyJoinsTheListItsFlagSays) {
  int a = Object_Add("a");
  CInstance* one = room.AddInstance(5, 6, a);
  CInstance* kept = room.AddCopy(one);
  EXPECT_NE(kept->id, one->id);
  EXPECT_EQ(room.active, (std::vector<CInstance*>{one, kept}));
  one->deactivated = true;
  room.ApplyActivation();
  CInstance* two = room.AddCopy(one);
  CInstance* three = room.AddCopy(two);
  EXPECT_TRUE(two->deactivated && three->deactivated);
  EXPECT_EQ(room.active, std::vector<CInstance*>{kept});
  EXPECT_EQ(room.deactivated, (std::vector<CInstance*>{one, two, three}));
  EXPECT_EQ(three->x, 5);
  EXPECT_EQ(Object_Find(a)->instances.size(), 4u);
  for (CInstance* inst : room.deactivated) inst->deactivated = false;
  room.ApplyActivation();
  EXPECT_EQ(room.active, (std::vector<CInstance*>{kept, one, two, three}));
  EXPECT_TRUE(room.deactivated.empty());
}

TEST_F(RoomTiles, RoomsCopyTheirDefinitionAndKeepTheOrder) {
  int r0 = Room_Add("first");
  int r1 = Room_Add("second");
  Room_Data(r0)->width = 123;
  Room_Data(r0)->SetCaption("Hello");
  int def = Room_Data(r0)->AddInstanceDef(1, 2, 0);
  int copy = Room_Duplicate(r0);
  EXPECT_STREQ(Room_Name(copy), "__newroom2");
  EXPECT_EQ(Room_Data(copy)->width, 123);
  EXPECT_STREQ(Room_Data(copy)->caption, "Hello");
  ASSERT_EQ(Room_Data(copy)->instance_defs.size(), 1u);
  EXPECT_NE(Room_Data(copy)->instance_defs[0].id, def);
  EXPECT_EQ(Room_Assign(r1, 77), 0);
  EXPECT_EQ(Room_Duplicate(77), -1);
  EXPECT_EQ(Room_First(), r0);
  EXPECT_EQ(Room_Last(), copy);
  EXPECT_EQ(Room_Next(r0), r1);
  EXPECT_EQ(Room_Previous(r0), -1);
  EXPECT_EQ(Room_Next(copy), -1);
  int only[] = {r1};
  Room_SetOrder(only, 1);
  EXPECT_EQ(Room_Next(r1), -1);
  EXPECT_STREQ(Room_Name(99), "<undefined>");
}
}  // namespace

namespace {
TEST(RoomViews, AFollowingViewKeepsItsObjectInsideTheBorders) {
  Reset();
  int a = Object_Add("a");
  int r = AddRoom({{a, {100, 100}}});
  CRoom* room = Room_Data(r);
  room->width = 1000, room->height = 300;
  room->views_enabled = true;
  RoomView& v = room->views[0];
  v.visible = true, v.object = a, v.wview = 200, v.hview = 200, v.hborder = 50, v.vborder = 50, v.hspeed = 20;
  ASSERT_TRUE(StartGame());
  CInstance* inst = g_RunRoom->active[0];
  inst->SetPosition(400, 280);
  room->UpdateViews();
  EXPECT_EQ(v.xview, 20);   // wants 250, moves at most 20
  EXPECT_EQ(v.yview, 100);  // wants 130, kept inside the room
  v.hspeed = -1;
  room->UpdateViews();
  EXPECT_EQ(v.xview, 250);
  inst->SetPosition(990, 0);
  room->UpdateViews();
  EXPECT_EQ(v.xview, 800);
  EXPECT_EQ(v.yview, 0);
  Reset();
}
}  // namespace
