// The world's broad phase only narrows what the queries test: after any
// change of the instances (moves, teleports, new sprites, masks, scales and
// angles, deactivation, destruction, creation, a change of object) every
// collision, placement and nearest-instance query must give what a walk of
// the lists gives.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Base/Random_Main.h"
#include "Run/Run_Instance.h"
#include "Run/Run_Services.h"
#include "Run/Run_Target.h"
#include "Run_TestWorld.h"

using namespace testworld;

namespace {
class BroadPhase : public ::testing::Test {
 protected:
  void SetUp() override {
    Reset();
    sprites = {AddSprite(16, 16, 8, 8), AddSprite(3, 40), AddSprite(200, 5, 100, 2), AddSprite(1, 1),
               AddSprite(8, 8, -30, -30)};  // the last has its origin far outside its box
    base = Object_Add("base");
    a = Object_Add("a");
    b = Object_Add("b");
    Object_Find(a)->sprite_index = sprites[0];
    Object_Find(b)->sprite_index = sprites[1];
    Object_Find(b)->parent_index = base;
    std::vector<std::pair<int, std::pair<float, float>>> placed;
    for (int i = 0; i < 90; i++) placed.push_back({i % 2 ? a : b, {Coord(400), Coord(300)}});
    AddRoom(placed);
    Object_LinkParents();
    ASSERT_TRUE(StartGame());
  }
  void TearDown() override { Reset(); }

  static float Coord(int range) { return static_cast<float>(Random_Int(range + 80) - 40); }
  CInstance* Any() {
    auto& list = g_RunRoom->active;
    return list.empty() ? nullptr : list[static_cast<size_t>(Random_Int(static_cast<int>(list.size())))];
  }
  int AnyTarget(CInstance* inst) {
    int pick = Random_Int(5);
    if (pick == 0) return a;
    if (pick == 1) return b;
    if (pick == 2) return base;
    if (pick == 3 && inst) return inst->id;
    return TARGET_ALL;
  }

  // One random change of the world.
  void Change() {
    CInstance* inst = Any();
    if (!inst) return;
    switch (Random_Int(11)) {
      case 0: inst->SetPosition(inst->x + Coord(10) / 4, inst->y + Coord(10) / 4); break;
      case 1:
        inst->SetPosition(Random_Int(2) ? 1e7f : Coord(400), Random_Int(2) ? -1e7f : Coord(300));
        if (Random_Int(20) == 0) inst->SetPosition(NAN, 5);
        break;
      case 2: inst->SetSpriteIndex(Random_Int(6) == 0 ? -1 : sprites[static_cast<size_t>(Random_Int(5))]); break;
      case 3: inst->SetMaskIndex(Random_Int(2) ? -1 : sprites[static_cast<size_t>(Random_Int(5))]); break;
      case 4: inst->SetImageXScale(static_cast<float>(Random_Int(9) - 4) / 2); break;
      case 5: inst->SetImageAngle(static_cast<float>(Random_Int(360))); break;
      case 6: {
        inst->deactivated = true;
        if (CInstance* back = g_RunRoom->deactivated.empty() ? nullptr : g_RunRoom->deactivated.front())
          back->deactivated = false;
        g_RunRoom->ApplyActivation();
        break;
      }
      case 7:
        Run_DestroyInstance(inst);
        if (Random_Int(2)) g_RunRoom->DeleteMarked();
        break;
      case 8: g_RunRoom->AddInstance(Coord(400), Coord(300), Random_Int(2) ? a : b); break;
      case 9: Run_ChangeInstance(inst, Random_Int(2) ? a : b, false); break;
      default: inst->SetImageYScale(static_cast<float>(Random_Int(7) - 3)); break;
    }
  }

  // Every query at random places against the walk of the lists.
  void Compare(int round) {
    CInstance* self = Any();
    for (int q = 0; q < 20; q++) {
      SCOPED_TRACE("round " + std::to_string(round) + ", query " + std::to_string(q));
      int target = AnyTarget(Any());
      bool notme = Random_Int(2) != 0, precise = Random_Int(2) != 0;
      float x1 = Coord(400), y1 = Coord(300), x2 = x1 + Coord(60) - 20, y2 = y1 + Coord(60) - 20;
      auto walk = [&](auto test) -> CInstance* {
        if (notme && self && target == self->id) return nullptr;
        return Target_Find(target, [&](CInstance* i) { return !(notme && i == self) && test(i); });
      };
      EXPECT_EQ(Run_CollisionPoint(self, x1, y1, target, precise, notme),
                walk([&](CInstance* i) { return i->Collision_Point(x1, y1, precise); }));
      EXPECT_EQ(Run_CollisionRectangle(self, x1, y1, x2, y2, target, precise, notme),
                walk([&](CInstance* i) { return i->Collision_Rectangle(x1, y1, x2, y2, precise); }));
      EXPECT_EQ(Run_CollisionEllipse(self, x1, y1, x2, y2, target, precise, notme),
                walk([&](CInstance* i) { return i->Collision_Ellipse(x1, y1, x2, y2, precise); }));
      EXPECT_EQ(Run_CollisionLine(self, x1, y1, x2, y2, target, precise, notme),
                walk([&](CInstance* i) { return i->Collision_Line(x1, y1, x2, y2, precise); }));
      for (bool nearest : {true, false}) {
        float best = 0;
        CInstance* found = nullptr;
        Target_ForEach(target, [&](CInstance* i) {
          double dx = static_cast<double>(i->x) - x1, dy = static_cast<double>(i->y) - y1;
          float d = static_cast<float>(dx * dx + dy * dy);
          if (!found || (nearest ? d < best : d > best)) best = d, found = i;
        });
        if (target >= INSTANCE_ID_FIRST) found = nullptr;
        EXPECT_EQ(nearest ? Run_InstanceNearest(x1, y1, target) : Run_InstanceFurthest(x1, y1, target), found);
      }
      if (!self) continue;
      float sx = self->x, sy = self->y;
      self->SetPosition(x1, y1);
      CInstance* meets = Target_Find(target, [&](CInstance* o) { return o != self && self->Collision_Instance(o, true); });
      bool free = !Target_Find(TARGET_ALL, [&](CInstance* o) { return o != self && o->solid && self->Collision_Instance(o, true); });
      self->SetPosition(sx, sy);
      EXPECT_EQ(Run_PlaceMeeting(self, x1, y1, target), meets);
      EXPECT_EQ(Run_PlaceFree(self, x1, y1), free);
    }
  }

  std::vector<int> sprites;
  int base = -1, a = -1, b = -1;
};

TEST_F(BroadPhase, QueriesAgreeWithTheListsAfterEveryChange) {
  Random_Seed(11);
  for (int round = 0; round < 400; round++) {
    Change();
    if (CInstance* inst = Any(); inst && round % 3 == 0) inst->solid = !inst->solid;
    Compare(round);
    if (HasFailure()) break;
  }
}

TEST_F(BroadPhase, ResultsComeInListOrderNotGridOrder) {
  // Three instances on one spot; the list order changes by deactivation.
  for (CInstance* inst : g_RunRoom->active) inst->marked = true;
  g_RunRoom->DeleteMarked();
  CInstance* first = g_RunRoom->AddInstance(100, 100, a);
  CInstance* second = g_RunRoom->AddInstance(100, 100, b);
  CInstance* third = g_RunRoom->AddInstance(100, 100, a);
  EXPECT_EQ(Run_CollisionPoint(nullptr, 100, 100, TARGET_ALL, false, false), first);
  first->deactivated = true;
  g_RunRoom->ApplyActivation();
  EXPECT_EQ(Run_CollisionPoint(nullptr, 100, 100, TARGET_ALL, false, false), second);
  first->deactivated = false;
  g_RunRoom->ApplyActivation();  // back at the end of the active list
  EXPECT_EQ(Run_CollisionPoint(nullptr, 100, 100, TARGET_ALL, false, false), second);
  EXPECT_EQ(Run_CollisionPoint(nullptr, 100, 100, a, false, false), first);  // the object's own list order
  Run_ChangeInstance(first, b, false);
  EXPECT_EQ(Run_CollisionPoint(nullptr, 100, 100, a, false, false), third);
  EXPECT_EQ(Run_CollisionPoint(nullptr, 100, 100, base, false, false), second);
  // Gone from the room: found no more, not even by a query right after.
  Run_DestroyInstance(second);
  EXPECT_EQ(Run_CollisionPoint(nullptr, 100, 100, base, false, false), first);
  g_RunRoom->DeleteMarked();
  EXPECT_EQ(Run_CollisionPoint(nullptr, 100, 100, b, false, false), first);
}

TEST_F(BroadPhase, InstancesThatComeAndGoUnaskedLeaveNothingBehind) {
  CInstance* kept = g_RunRoom->AddInstance(1000, 1000, a);
  for (int k = 0; k < 3000; k++) {
    CInstance* passing = g_RunRoom->AddInstance(1000, 1000, a);
    kept->SetPosition(1000 + k % 7, 1000);
    passing->marked = true;
    g_RunRoom->DeleteMarked();
  }
  EXPECT_EQ(Run_CollisionPoint(nullptr, 1000, 1000, a, false, false), kept);
  EXPECT_EQ(Run_CollisionPoint(nullptr, 1020, 1000, a, false, false), nullptr);
}
}  // namespace

namespace {
TEST(BroadPhaseEvents, CollisionEventsFollowTheListAsInstancesMove) {
  Reset();
  int sprite = AddSprite(10, 10);
  int s = Object_Add("s"), o = Object_Add("o");
  Object_Find(s)->sprite_index = Object_Find(o)->sprite_index = sprite;
  AddRoom({{s, {100, 100}}, {o, {500, 500}}, {o, {100, 100}}, {o, {900, 900}}, {o, {-3000, 100}}});
  Object_LinkParents();
  // Meeting the second other brings the first (already passed) and the
  // third (still ahead) onto the instance, and sends the fourth far away.
  On(s, EV_COLLISION, o, [](CInstance*, CInstance* other) {
    auto& list = g_RunRoom->active;
    Log().push_back(std::to_string(other->id - list[1]->id));
    if (other == list[2]) {
      list[1]->SetPosition(100, 100);
      list[3]->SetPosition(105, 105);
      list[4]->SetPosition(1e9f, 100);
    }
    if (other == list[3]) list[4]->SetPosition(95, 95);
  });
  Object_BuildEventLists();
  ASSERT_TRUE(StartGame());
  Run_Step();
  EXPECT_EQ(Log(), (std::vector<std::string>{"1", "2", "3"}));
  Log().clear();
  Run_Step();
  EXPECT_EQ(Log(), (std::vector<std::string>{"0", "1", "2", "3"}));
  Reset();
}
}  // namespace
